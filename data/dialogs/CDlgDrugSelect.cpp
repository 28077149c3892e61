#include "CDlgDrugSelect.h"

#include "CDlgBCCalc.h"
#include "CDlgDrugFuncEdit.h"
#include "CDlgDrugPlot.h"
#include "CDlgDrugPlotStandart.h"
#include "CDlgExport.h"
#include "CDlgImport.h"
#include "CDlgPDA.h"
#include "CDlgPDASync.h"
#include "DeviceTransfer.h"
#include "DialogMessages.h"
#include "LibraryRules.h"
#include "TemplateBuilder.h"

namespace {
constexpr const char* kChooseMessage = "Выберите функцию";
constexpr const char* kChooseToCopyMessage = "Выберите функцию\nдля копирования";
constexpr const char* kChooseToDeleteMessage = "Выберите функцию\nдля удаления";
constexpr const char* kStandardEditMessage =
    "Нельзя редактировать\nстандартную функцию\nСделайте копию и ее редактируйте";
constexpr const char* kAdviceText =
    "Большинство производителей баллистический коэффициент дают в драг-функции G1. Если Вы меняете "
    "драг-функцию, необходимо сменить и баллистический коэффициент.";
constexpr const char* kG1 = "G1";
}  // namespace

CDlgDrugSelect::CDlgDrugSelect(DragLibrary& library, const DataFolder& folder, std::string name, int32_t number,
                               const BallisticSolver& solver, double& curveStep, ui::Dialog* parent)
    : ui::Dialog(makeTemplate(), parent),
      library_(library),
      folder_(folder),
      name_(std::move(name)),
      number_(number),
      solver_(solver),
      curveStep_(curveStep) {}

ui::DialogTemplate CDlgDrugSelect::makeTemplate() {
    ui::DialogTemplate t;
    t.id = IDD;
    t.title = "Драг-функции";
    t.width = 1000;
    t.height = 472;
    ui::TemplateBuilder b(t);
    b.add(kList, ui::Kind::ListView, "", {8, 8, 676, 456}, ui::kSingleSelection | ui::kFullRowSelect);
    constexpr int x = 696, w = 296, step = 30;
    b.label(kAdviceText, x, 4, w, kAdvice, ui::kMultiline, 88);
    int y = 100;
    b.button(ui::kIdOk, "Выбрать", x, y, w, ui::kDefault);
    b.button(kShow, "Показать", x, y += step, w);
    b.button(kCopy, "Сделать копию", x, y += step, w);
    b.button(kDelete, "Удалить", x, y += step, w);
    b.button(kEdit, "Редактировать", x, y += step, w);
    b.button(kCreateNew, "Создать новую", x, y += step, w);
    b.button(kFromShape, "Создание драг-функции по форме пули", x, y += step, w);
    b.button(kImport, "Импорт драг-функции", x, y += step, w);
    b.button(kExport, "Экспорт драг-функции", x, y += step, w);
    b.button(kSendToPda, "Послать функцию на PDA", x, y += step, w);
    b.button(kSyncPda, "Синхронизировать с PDA", x, y += step, w);
    b.button(ui::kIdCancel, "Закрыть", x, y += step, w);
    return t;
}

bool CDlgDrugSelect::onInitDialog() {
    list_.attach(*this, kList,
                 {{ui::kIdOk, "Выбрать"},
                  {kShow, "Показать"},
                  {kCopy, "Копировать"},
                  {kDelete, "Удалить"},
                  {kEdit, "Редактировать"},
                  {kSendToPda, "Послать функцию на PDA"},
                  {kExport, "Экспорт драг-функции"}});
    refill();
    window().setFocus(kList);
    return false;
}

void CDlgDrugSelect::refill() { refillSelecting(name_, number_); }

void CDlgDrugSelect::refillSelecting(std::string_view name, int32_t number) {
    list_.select(list_.fill(library_, name, number));
}

bool CDlgDrugSelect::selectedEntry(std::string& name, int32_t& number) const { return list_.selected(name, number); }

DragFunc CDlgDrugSelect::selectedOrG1() const {
    std::string name = kG1;
    int32_t number = 1;
    selectedEntry(name, number);
    return library_.findByNameAndNumber(name, number);
}

void CDlgDrugSelect::onCommand(int id, ui::Notify n) {
    if (id == kList && n == ui::Notify::DoubleClick) return onCommand(kShow, ui::Notify::Clicked);
    if (n != ui::Notify::Clicked) return;
    switch (id) {
        case kShow: return show();
        case kCopy: return copy();
        case kEdit: return edit();
        case kCreateNew: return createNew();
        case kFromShape: return createFromShape();
        case kDelete: return remove();
        case kExport: return exportFunction();
        case kImport: return importFunctions();
        case kSendToPda: return sendToDevice();
        case kSyncPda: return syncDevice();
        default: return ui::Dialog::onCommand(id, n);
    }
}

void CDlgDrugSelect::onOK() {
    std::string name;
    int32_t number = 0;
    if (selectedEntry(name, number)) {
        name_ = std::move(name);
        number_ = number;
    } else {
        messageBox(kChooseMessage);
    }
    endDialog(ui::kIdOk);
}

void CDlgDrugSelect::saveLibrary() {
    folder_.prepare();
    if (library_.saveLibrary(folder_.library())) return;
    std::string text = "Не удалось сохранить библиотеку драг-функций:\n" + folder_.library().string();
    if (!folder_.ready()) {
        text += '\n';
        text += folder_.problemText();
    }
    text += "\nОна будет сохранена ещё раз при выходе из программы.";
    messageBox(text, {}, ui::Buttons::Ok, ui::Icon::Warning);
}

void CDlgDrugSelect::copy() {
    std::string name;
    int32_t number = 0;
    if (!selectedEntry(name, number)) {
        messageBox(kChooseToCopyMessage);
        return;
    }
    const DragFunc made = addCopy(library_, library_.findByNameAndNumber(name, number));
    refillSelecting(made.nameText(), made.uniqueNumber);
    saveLibrary();
}

void CDlgDrugSelect::remove() {
    std::string name;
    int32_t number = 0;
    if (!selectedEntry(name, number)) {
        messageBox(kChooseToDeleteMessage);
        return;
    }
    if (messageBox(deleteQuestion(name), {}, ui::Buttons::YesNo, ui::Icon::Error) != ui::kIdYes) return;
    DialogMessages messages(*this);
    if (library_.deleteByNameAndNumber(name, number, &messages) == DeleteResult::Deleted) refill();
}

void CDlgDrugSelect::show() {
    const DragFunc f = selectedOrG1();
    if (f.kind == DragFuncKind::Standard)
        CDlgDrugPlotStandart(f, this).doModal();
    else
        CDlgDrugPlot(f, this).doModal();
}

void CDlgDrugSelect::edit() {
    const DragFunc f = selectedOrG1();
    if (f.kind == DragFuncKind::Standard) {
        messageBox(kStandardEditMessage);
        return;
    }
    CDlgDrugFuncEdit dlg(f, solver_, curveStep_, this);
    if (dlg.doModal() != ui::kIdOk) return;
    // In the entry's place, under its number.
    DragFunc edited = dlg.function();
    edited.uniqueNumber = f.uniqueNumber;
    library_.replaceByNameAndNumber(f.nameText(), f.uniqueNumber, edited);
    name_ = edited.nameText();
    number_ = edited.uniqueNumber;
    refill();
}

void CDlgDrugSelect::createNew() {
    CDlgDrugFuncEdit dlg(newDragFunction(), solver_, curveStep_, this);
    if (dlg.doModal() != ui::kIdOk) return;
    const DragFunc made = addCreated(library_, dlg.function());
    name_ = made.nameText();
    number_ = made.uniqueNumber;
    refill();
}

void CDlgDrugSelect::createFromShape() {
    CDlgBCCalc dlg(folder_.folder(), this);
    if (dlg.doModal() != ui::kIdOk) return;
    const DragFunc made = addCreated(library_, dlg.dragFunc());
    name_ = made.nameText();
    number_ = made.uniqueNumber;
    refill();
    saveLibrary();
}

void CDlgDrugSelect::exportFunction() {
    CDlgExport(selectedOrG1(), folder_.folder(), this).doModal();
}

void CDlgDrugSelect::importFunctions() {
    if (CDlgImport(library_, folder_.folder(), this).doModal() == ui::kIdOk) refill();
}

void CDlgDrugSelect::sendToDevice() {
    const DragFunc f = selectedOrG1();
    std::string error;
    std::optional<TransferSource> source = functionForDevice(f, folder_, error);
    if (!source) {
        messageBox(error, {}, ui::Buttons::Ok, ui::Icon::Warning);
        return;
    }
    CDlgPDA(std::move(*source), folder_.folder(), std::string(f.nameText()), device_, this).doModal();
}

void CDlgDrugSelect::syncDevice() {
    std::string error;
    std::optional<TransferSource> source = libraryForDevice(library_, folder_, error);
    if (!source) {
        messageBox(error, {}, ui::Buttons::Ok, ui::Icon::Warning);
        return;
    }
    CDlgPDASync(std::move(*source), folder_.folder(), device_, this).doModal();
}
