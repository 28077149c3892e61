#include "CDlgConvertBC.h"

#include <cmath>

#include "Calculators.h"
#include "ResultText.h"
#include "TemplateBuilder.h"
#include "TextCodec.h"

CDlgConvertBC::CDlgConvertBC(const DragLibrary& library, double ballisticCoefficient, double velocity,
                             ui::Dialog* parent)
    : ui::Dialog(makeTemplate(), parent),
      library_(library),
      ballisticCoefficient_(ballisticCoefficient),
      velocity_(velocity),
      chosen_(ballisticCoefficient) {}

ui::DialogTemplate CDlgConvertBC::makeTemplate() {
    ui::DialogTemplate t;
    t.id = IDD;
    t.title = "Конвертация баллистического коэффициента";
    t.width = 560;
    t.height = 262;
    ui::TemplateBuilder b(t);
    b.label("Бал.коэффициент (БК)", 12, 10, 300).edit(kBallisticCoefficient, 320, 10, 228, ui::kAlignRight);
    b.label("Конвертация для скорости", 12, 36, 300).edit(kVelocity, 320, 36, 228, ui::kAlignRight);
    b.label("Исходная драг-функция", 12, 62, 300)
        .add(kSourceFunction, ui::Kind::DropList, "", {320, 62, 228, 200}, ui::kNoStyle);
    b.label("Результирующая драг-функция", 12, 88, 300)
        .add(kTargetFunction, ui::Kind::DropList, "", {320, 88, 228, 200}, ui::kNoStyle);
    b.label("Сконвертированный бал.коэффициент (БК)", 12, 122, 300)
        .edit(kResult, 320, 122, 228, ui::kReadOnly | ui::kAlignRight);
    b.label("Сконвертированный таким образом коэффициент не является точным и нуждается в подгонке по "
            "результатам стрельбы. Гораздо лучше - для своей пули разработать собственную драг-функцию",
            12, 154, 536, ui::kStaticId, ui::kMultiline, 48);
    b.button(kConvert, "Конвертировать", 22, 224, 120, ui::kDefault)
        .button(ui::kIdOk, "Закрыть и изменить БК и драг-функцию", 150, 224, 290)
        .button(ui::kIdCancel, "Отставить!", 448, 224, 100);
    return t;
}

bool CDlgConvertBC::onInitDialog() {
    for (size_t i = 0; i < library_.size(); ++i) {
        const DragFunc& f = library_[i];
        if (f.kind != DragFuncKind::Standard) continue;
        standardEntries_.push_back(i);
        window().addItem(kSourceFunction, cp1251ToUtf8(f.nameText()));
        window().addItem(kTargetFunction, cp1251ToUtf8(f.nameText()));
    }
    source_ = library_.findStandardByName("G1");
    target_ = library_.findStandardByName("G7");
    selectInList(kSourceFunction, source_);
    selectInList(kTargetFunction, target_);
    updateData(false);
    return true;
}

void CDlgConvertBC::selectInList(int listId, const DragFunc& f) {
    for (size_t i = 0; i < standardEntries_.size(); ++i)
        if (library_[standardEntries_[i]].nameText() == f.nameText()) {
            window().setSelection(listId, static_cast<int>(i));
            return;
        }
    window().setSelection(listId, -1);
}

void CDlgConvertBC::takeChoice(int listId, DragFunc& into) {
    const int index = window().selection(listId);
    if (index < 0 || static_cast<size_t>(index) >= standardEntries_.size()) return;
    into.copyFrom(library_[standardEntries_[static_cast<size_t>(index)]]);
}

void CDlgConvertBC::doDataExchange(ui::DataExchange& dx) {
    dx.number(kBallisticCoefficient, ballisticCoefficient_);
    dx.number(kVelocity, velocity_);
}

bool CDlgConvertBC::convert() {
    if (!updateData(true)) return false;
    converted_ = convertBallisticCoefficient(ballisticCoefficient_, velocity_, source_, target_);
    convertedOnce_ = true;
    setText(kResult, resultText(converted_));
    return true;
}

void CDlgConvertBC::onCommand(int id, ui::Notify n) {
    if (n == ui::Notify::SelChange && id == kSourceFunction) return takeChoice(id, source_);
    if (n == ui::Notify::SelChange && id == kTargetFunction) return takeChoice(id, target_);
    if (n == ui::Notify::Clicked && id == kConvert) {
        convert();
        return;
    }
    ui::Dialog::onCommand(id, n);
}

void CDlgConvertBC::onOK() {
    // Once converted, the BC handed back is the conversion of what the dialog shows now: a BC
    // converted for one function must not go back with another function chosen after it.
    if (convertedOnce_ ? !convert() : !updateData(true)) return;
    const double chosen = convertedOnce_ ? converted_ : ballisticCoefficient_;
    if (!std::isfinite(chosen)) {
        messageBox(kUndefinedMessage, {}, ui::Buttons::Ok, ui::Icon::Warning);
        return;
    }
    chosen_ = chosen;
    endDialog(ui::kIdOk);
}

std::string CDlgConvertBC::targetFunctionName() const { return std::string(target_.nameText()); }
