#include "CDlgMobileInputScreen.h"

#include "DragFuncKind.h"
#include "NumberText.h"
#include "PressureUnit.h"
#include "TextCodec.h"

using namespace mobile;

namespace {
struct Row {
    const char* key;
    const char* label;
};
// The fields of each page, top to bottom (the pressure's own row is added where its key stands).
std::vector<Row> rowsOf(CDlgMobileInputScreen::Page page, bool mil) {
    switch (page) {
        case CDlgMobileInputScreen::Rifle:
            return {{"sight-height", "Высота прицела над стволом, см"},
                    {"zero-distance", "Дистанция пристрелки, метры"},
                    {"click-vertical", mil ? "Цена вертикального клика, MIL" : "Цена вертикального клика, MOA"},
                    {"click-horizontal", mil ? "Цена горизонтального клика, MIL" : "Цена горизонтального клика, MOA"}};
        case CDlgMobileInputScreen::Cartridge:
            return {{"muzzle-velocity", "Нач. скорость , м/сек"},
                    {"bc", "Бал. коэффициент"},
                    {"mv-temperature", "Темп-ра при замере, гр."},
                    {"mv-change", "Изм., %"}};
        case CDlgMobileInputScreen::Atmosphere:
            return {{"temperature", "Температура, град. Цельсия"},
                    {"pressure", "Атм.давление"},
                    {"humidity", "Влажность, проценты"}};
        case CDlgMobileInputScreen::ZeroAtmosphere:
            return {{"zero-temperature", "Температура, град. Цельсия"},
                    {"zero-humidity", "Влажность, проценты"},
                    {"zero-pressure", "Атм.давление"}};
    }
    return {};
}
bool isPressure(const char* key) { return std::string_view(key).ends_with("pressure"); }
const char* titleOf(CDlgMobileInputScreen::Page page) {
    switch (page) {
        case CDlgMobileInputScreen::Rifle: return "Винтовка";
        case CDlgMobileInputScreen::Cartridge: return "Патрон";
        case CDlgMobileInputScreen::Atmosphere: return "Атмосфера";
        case CDlgMobileInputScreen::ZeroAtmosphere: return "Атмосфера пристрелки";
    }
    return "";
}
}  // namespace

ui::DialogTemplate CDlgMobileInputScreen::makeTemplate(Page page, bool clicksInMil) {
    ui::DialogTemplate t = frame(IDD + static_cast<int>(page), titleOf(page));
    ui::TemplateBuilder b(t);
    int y = kMargin;
    if (page == ZeroAtmosphere) {
        b.add(ui::kStaticId, ui::Kind::Label, "Атмосферные условия, при которых винтовка пристреливалась",
              {kMargin, y, kInner, 2 * kLabel}, ui::kMultiline);
        y += 2 * kLabel + 4;
        b.add(kZeroHere, ui::Kind::CheckBox, "Пристрелка на месте", {kMargin, y, kInner, kRow}, ui::kNoStyle);
        y += kRow;
        b.add(ui::kStaticId, ui::Kind::Label,
              "Отмечено: винтовка пристреляна в нынешней атмосфере, значения ниже не учитываются.",
              {kMargin, y, kInner, 3 * kLabel}, ui::kMultiline);
        y += 3 * kLabel + 8;
    }
    int id = kField1;
    for (const Row& row : rowsOf(page, clicksInMil)) {
        const NumberField f{id++, row.key};
        if (isPressure(row.key)) {
            b.label(row.label, kMargin, y - ui::kLabelOffset + 8, 140, ui::kStaticId, ui::kNoStyle, kLabel)
                .add(kMmHg, ui::Kind::CheckBox, "мм.рт.столба", {kMargin + 144, y, kInner - 144, kRow}, ui::kNoStyle);
            y += kRow;
            b.add(f.id, ui::Kind::Edit, "", {kMargin, y, kInner, kRow}, ui::kNumeric);
            y += kRow + 6;
        } else {
            y = addFieldRow(b, y, row.label, f);
        }
    }
    if (page == Cartridge) {
        b.label("Драг-функция", kMargin, y - ui::kLabelOffset, kInner, ui::kStaticId, ui::kNoStyle, kLabel);
        y += kLabel;
        b.add(kDragName, ui::Kind::Edit, "", {kMargin, y, kInner, kRow}, ui::kReadOnly);
        y += kRow + 6;
        b.button(kChooseDrag, "Выбрать драг-функцию", kMargin, y, kInner, 0, kRow);
    }
    softKeys(t, {ui::kIdOk, kOkText}, {ui::kIdCancel, kCancelText});
    return t;
}

CDlgMobileInputScreen::CDlgMobileInputScreen(Page page, const ShotInputs& inputs, const HandheldSettingsRecord& settings,
                                             const DragFunc& dragFunction, ui::Dialog* parent,
                                             ChooseDragFunction choose)
    : MobileScreen(makeTemplate(page, settings.clicksInMil != 0), parent),
      page_(page),
      inputs_(inputs),
      pressureInHpa_(settings.pressureInHpa != 0),
      clicksInMil_(settings.clicksInMil != 0),
      dragFunction_(dragFunction),
      choose_(std::move(choose)) {
    int id = kField1;
    for (const Row& row : rowsOf(page, clicksInMil_)) {
        ShownUnit unit = ShownUnit::AsIs;
        if (isPressure(row.key) && pressureInHpa_) unit = ShownUnit::Hpa;
        if (std::string_view(row.key).starts_with("click-")) unit = clicksInMil_ ? ShownUnit::ClickMil : ShownUnit::ClickMoa;
        NumberField f{id++, row.key, unit};
        if (isPressure(row.key)) f.conversion = NumberField::FromKpa;
        if (std::string_view(row.key) == "muzzle-velocity") f.conversion = NumberField::FromFeetPerSecond;
        addField(f);
    }
}

int CDlgMobileInputScreen::pressureField() const {
    int id = kField1;
    for (const Row& row : rowsOf(page_, clicksInMil_)) {
        if (isPressure(row.key)) return id;
        ++id;
    }
    return 0;
}

bool CDlgMobileInputScreen::onInitDialog() {
    MobileScreen::onInitDialog();
    showFields(inputs_);
    setChecked(kMmHg, !pressureInHpa_);
    setChecked(kZeroHere, inputs_.sameAtmosphere);
    showDragFunction();
    enable(kChooseDrag, static_cast<bool>(choose_));
    return true;
}

void CDlgMobileInputScreen::showDragFunction() {
    setText(kDragName, inputs_.dragFunctionName);
    // A function of its own drag (kind Special) needs no BC.
    if (page_ == Cartridge) enable(kField2, dragFunction_.kind != DragFuncKind::Special);
}

void CDlgMobileInputScreen::switchPressureUnit() {
    const int id = pressureField();
    const bool mmHg = isChecked(kMmHg);
    const std::optional<double> typed = ui::parseNumber(text(id));
    if (!typed) {
        // Nothing to convert: the box keeps its unit, the field what was typed.
        setChecked(kMmHg, !mmHg);
        refuseField(id, ui::enterNumberMessage(shownIn(*findInputField(field(id)->key), mmHg ? ShownUnit::Hpa : ShownUnit::AsIs).label()));
        return;
    }
    setText(id, ui::formatNumber(mmHg ? mmHgFromHpa(*typed) : hpaFromMmHg(*typed)));
    setUnit(id, mmHg ? ShownUnit::AsIs : ShownUnit::Hpa);
}

void CDlgMobileInputScreen::onCommand(int id, ui::Notify n) {
    if (id == kMmHg && n == ui::Notify::Clicked) return switchPressureUnit();
    if (id == kChooseDrag && n == ui::Notify::Clicked && choose_) {
        dragFunction_ = choose_(this);
        inputs_.dragFunctionName = cp1251ToUtf8(dragFunction_.nameText());
        inputs_.dragFunctionNumber = dragFunction_.uniqueNumber;
        return showDragFunction();
    }
    MobileScreen::onCommand(id, n);
}

void CDlgMobileInputScreen::onOK() {
    ShotInputs taken = inputs_;
    if (!takeFields(taken)) return;
    if (page_ == ZeroAtmosphere) taken.sameAtmosphere = isChecked(kZeroHere);
    inputs_ = taken;
    if (pressureField()) pressureInHpa_ = !isChecked(kMmHg);
    endDialog(ui::kIdOk);
}
