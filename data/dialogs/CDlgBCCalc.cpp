#include "CDlgBCCalc.h"

#include <algorithm>
#include <cmath>
#include <system_error>

#include "CDlgBullets.h"
#include "CDlgDrugPlot.h"
#include "NumberText.h"
#include "ResultText.h"
#include "RoundTo.h"
#include "TemplateBuilder.h"
#include "TextCodec.h"

namespace fs = std::filesystem;

namespace {
constexpr const char* kBallisticCoefficientText = "Баллистический коэффициент (для %s и заданной скорости)";

std::string quoted(const fs::path& p) { return "«" + p.string() + "»"; }

// The nose shape as the radio buttons show it: anything but Secant and Conical is a tangent ogive.
int noseIndex(NoseShape shape) {
    if (shape == NoseShape::Secant) return 1;
    if (shape == NoseShape::Conical) return 2;
    return 0;
}

NoseShape noseOfIndex(int index) {
    if (index == 1) return NoseShape::Secant;
    if (index == 2) return NoseShape::Conical;
    return NoseShape::Tangent;
}

std::string ballisticCoefficientLabel(ReferenceModel model) {
    std::string text = kBallisticCoefficientText;
    text.replace(text.find("%s"), 2, referenceModelName(model));
    return text;
}

// What a load that took over an older file left for the user to know.
void noteTakeover(std::vector<std::string>& notes, BulletFiles::Source source, bool saved, bool removed,
                  const fs::path& oldFile, const fs::path& newFile) {
    if (source != BulletFiles::Source::LegacyFile && source != BulletFiles::Source::RootCopy) return;
    if (!saved)
        notes.push_back("Не могу записать файл " + quoted(newFile) + ": данные из " + quoted(oldFile) +
                        " взяты, но не сохранены.");
    else if (!removed)
        notes.push_back("Данные из " + quoted(oldFile) + " перенесены в " + quoted(newFile) +
                        ", но старый файл удалить не удалось; его можно удалить.");
}
// The bullet's side view, tip to the right, from its measures in mm: the outline's upper half from
// the base to the tip, as radii at lengths from the base. Nothing when the measures make no bullet.
std::vector<std::pair<double, double>> upperOutline(const CBulletDimensions& b) {
    const double l = b.length, d = b.diameter, l1 = b.noseLength, d1 = b.meplatDiameter;
    const double l2 = b.boatTailLength, d2 = b.baseDiameter;
    for (double v : {l, d, l1, d1, l2, d2})
        if (!std::isfinite(v) || v < 0) return {};
    if (!(l > 0) || !(d > 0) || !(l1 > 0) || d1 >= d || d2 > d || l1 + l2 > l) return {};
    std::vector<std::pair<double, double>> out;
    out.emplace_back(0.0, d2 / 2);
    out.emplace_back(l2, d / 2);
    out.emplace_back(l - l1, d / 2);
    // The nose: straight for a cone; otherwise the tangent ogive from the shoulder to the meplat
    // (a secant ogive looks the same at this size).
    const double h = (d - d1) / 2;
    const double rho = (h * h + l1 * l1) / (2 * h);
    const int steps = b.noseShape == NoseShape::Conical ? 1 : 12;
    for (int k = 1; k <= steps; ++k) {
        const double x = l1 * k / steps;  // from the shoulder towards the tip
        const double r = b.noseShape == NoseShape::Conical ? d / 2 - h * x / l1
                                                           : std::sqrt(std::max(0.0, rho * rho - x * x)) + d / 2 - rho;
        out.emplace_back(l - l1 + x, r);
    }
    return out;
}
}  // namespace

CDlgBCCalc::CDlgBCCalc(fs::path dataFolder, ui::Dialog* parent)
    : ui::Dialog(makeTemplate(), parent), folders_{std::move(dataFolder), BulletFiles::CurrentDriveRoot()} {}

ui::DialogTemplate CDlgBCCalc::makeTemplate() {
    ui::DialogTemplate t;
    t.id = IDD;
    t.title = "Калькулятор драг-функции по форме пули";
    t.width = 720;
    t.height = 578;
    ui::TemplateBuilder b(t);
    b.label("Вычисленная по размерам пули драг-функция является приблизительной и нуждается в уточнении для "
            "конкретной винтовки и патрона",
            12, 4, 696, ui::kStaticId, ui::kMultiline, 34);
    b.label("Название пули", 12, 44, 150).edit(kName, 170, 44, 538);
    b.label("Начальная скорость пули, м/сек", 12, 74, 250).edit(kVelocity, 270, 74, 90, ui::kAlignRight);
    b.label("Шаг нарезов в дюймах", 12, 100, 250).edit(kTwist, 270, 100, 90, ui::kAlignRight);
    b.label("Вес пули в граммах ", 12, 126, 250).edit(kWeight, 270, 126, 90, ui::kAlignRight);
    b.group("Модель для вычисления бал.коэффициента", 380, 72, 328, 76);
    b.radio(kModelG1, "G1", 396, 102, 80, ui::kGroupStart).radio(kModelG7, "G7", 496, 102, 80);

    // The three radio buttons one after another, so that the toolkit keeps them in one group.
    b.group("Форма носика", 12, 158, 400, 104);
    b.radio(kTangent, "Тангенциальная", 24, 176, 200, ui::kGroupStart)
        .radio(kSecant, "Секантная, ", 24, 202, 120)
        .radio(kConical, "Коническая", 24, 228, 200)
        .edit(kOgiveRadius, 150, 202, 56, ui::kAlignRight)
        .label("введите радиус в калибрах", 212, 202, 196);
    // The bullet to scale, with the lengths marked.
    b.add(kPicture, ui::Kind::Canvas, "", {424, 164, 284, 98}, ui::kSunken);

    // L = overall, L1/D1 the nose, L2/D2 the boat-tail.
    struct Part {
        const char* title;
        const char* lengthName;
        const char* lengthText;
        int lengthId;
        const char* diameterName;
        const char* diameterText;
        int diameterId;
    };
    const Part parts[] = {{"Общие", "L =", "Общая длина в мм", kLength, "D =", "Диаметр в мм", kDiameter},
                          {"Носик пули", "L1 =", "Длина в мм", kNoseLength, "D1 =", "Диаметр в мм", kMeplat},
                          {"Донце пули", "L2 =", "Длина в мм", kBoatTail, "D2 =", "Диаметр в мм", kBaseDiameter}};
    for (int i = 0; i < 3; ++i) {
        const Part& p = parts[i];
        const int x = 12 + i * 234;
        b.group(p.title, x, 272, 228, i == 2 ? 116 : 90);
        b.label(p.lengthName, x + 10, 294, 34).edit(p.lengthId, x + 46, 294, 54, ui::kAlignRight);
        b.label(p.lengthText, x + 106, 294, 118);
        b.label(p.diameterName, x + 10, 322, 34).edit(p.diameterId, x + 46, 322, 54, ui::kAlignRight);
        b.label(p.diameterText, x + 106, 322, 118);
    }
    b.label("L2=0 и D2=D, если конуса нет", 490, 350, 214);

    const struct {
        int id;
        const char* text;
    } results[] = {
        {kBallisticCoefficient, nullptr},
        {kSectionalDensity, "Поперечная нагрузка (справочно)"},
        {kTwistForStability, "Оптимальный шаг нарезов для данной пули и заданной скорости, дюймы"},
        {kStabilityFactor, "Фактор гироскопической стабильности"},
    };
    int y = 398;
    for (const auto& r : results) {
        if (r.text)
            b.label(r.text, 12, y, 540);
        else
            b.label(ballisticCoefficientLabel(ReferenceModel::G1), 12, y, 540, kBallisticCoefficientLabel);
        b.edit(r.id, 560, y, 148, ui::kReadOnly | ui::kAlignRight);
        y += 26;
    }

    b.button(kShowCurve, "Показать кривую", 12, 510, 226)
        .button(kFromDatabase, "Взять из базы", 244, 510, 226)
        .button(kToDatabase, "Сохранить в базу", 476, 510, 232)
        .button(kCalculate, "Вычислить драг-функцию", 12, 544, 226, ui::kDefault)
        .button(ui::kIdOk, "Сохранить в драг-функцию и закрыть", 244, 544, 300)
        .button(ui::kIdCancel, "Отставить!", 550, 544, 158);
    return t;
}

bool CDlgBCCalc::onInitDialog() {
    loadFiles();
    fillFromCurrent();
    fields_.model = 0;  // G1 each time the dialog opens
    updateData(false);
    showModelLabel();
    enable(kOgiveRadius, fields_.nose == 1);
    window().setFocus(kName);
    return false;
}

void CDlgBCCalc::loadFiles() {
    std::vector<std::string> notes;
    const fs::path currentFile = folders_.data / BulletFiles::kCurrentFileName;
    const BulletFiles::CurrentLoad current = BulletFiles::OpenCurrent(folders_);
    current_ = current.bullet;
    noteTakeover(notes, current.source, current.saved, current.oldFileRemoved,
                 current.source == BulletFiles::Source::LegacyFile
                     ? folders_.data / BulletFiles::kLegacyCurrentFileName
                     : folders_.root / BulletFiles::kCurrentFileName,
                 currentFile);

    const fs::path databaseFile = folders_.data / BulletFiles::kDatabaseFileName;
    BulletFiles::DatabaseLoad db = BulletFiles::OpenDatabase(folders_);
    database_ = std::move(db.bullets);
    const fs::path oldDatabase = db.source == BulletFiles::Source::LegacyFile
                                     ? folders_.data / BulletFiles::kLegacyDatabaseFileName
                                     : folders_.root / BulletFiles::kDatabaseFileName;
    // An older file not read whole is kept on purpose, not for want of removing it.
    noteTakeover(notes, db.source, db.saved, db.oldFileRemoved || !db.complete, oldDatabase, databaseFile);
    // The data folder's database was there but not all of it could be read: it is copied aside before
    // the first save writes over it, so that the bullets it could not give are not lost.
    std::error_code ec;
    const bool unreadable = db.source == BulletFiles::Source::BuiltIn && fs::exists(databaseFile, ec);
    if (db.source == BulletFiles::Source::DataFolder && !db.complete) {
        keptDatabase_.keep(databaseFile);
        notes.push_back("Файл базы пуль " + quoted(databaseFile) + " прочитан не целиком: в списке только пули, прочитанные до места повреждения (" +
                        std::to_string(database_.GetSize()) + ").");
    } else if (unreadable) {
        keptDatabase_.keep(databaseFile);
        notes.push_back("Файл базы пуль " + quoted(databaseFile) + " не читается: в списке начальный набор пуль.");
    } else if (!db.complete) {
        notes.push_back("Файл базы пуль " + quoted(oldDatabase) + " прочитан не целиком и оставлен на месте.");
    }
    if (keptDatabase_.keeps(databaseFile))
        notes.back() += "\nПрежний файл будет сохранён как " + quoted(KeptFiles::copyPath(databaseFile).filename()) +
                        " перед первой записью базы.";

    if (notes.empty()) return;
    std::string text;
    for (const std::string& n : notes) text += (text.empty() ? "" : "\n\n") + n;
    messageBox(text, {}, ui::Buttons::Ok, ui::Icon::Warning);
}

void CDlgBCCalc::doDataExchange(ui::DataExchange& dx) {
    CBulletDimensions& b = fields_.bullet;
    dx.text(kName, fields_.name);
    dx.number(kVelocity, b.velocity, "Начальная скорость пули, м/сек");
    dx.number(kTwist, b.twist, "Шаг нарезов в дюймах");
    dx.number(kWeight, b.weight, "Вес пули в граммах");
    dx.radio({kTangent, kSecant, kConical}, fields_.nose);
    dx.number(kOgiveRadius, b.ogiveRadius, "Радиус секантного оживала в калибрах");
    dx.number(kLength, b.length, "L, общая длина в мм");
    dx.number(kDiameter, b.diameter, "D, диаметр в мм");
    dx.number(kNoseLength, b.noseLength, "L1, длина носика в мм");
    dx.number(kMeplat, b.meplatDiameter, "D1, диаметр носика в мм");
    dx.number(kBoatTail, b.boatTailLength, "L2, длина донца в мм");
    dx.number(kBaseDiameter, b.baseDiameter, "D2, диаметр донца в мм");
    dx.radio({kModelG1, kModelG7}, fields_.model);
}

void CDlgBCCalc::fillFromCurrent() {
    fields_.bullet = current_;
    fields_.name = cp1251ToUtf8(current_.nameText());
    fields_.nose = noseIndex(current_.noseShape);
    updateData(false);
    enable(kOgiveRadius, fields_.nose == 1);
    window().refresh(kPicture);
}

bool CDlgBCCalc::takeIntoCurrent() {
    const Fields before = fields_;
    if (!updateData(true)) {
        fields_ = before;
        return false;
    }
    // The bullet files keep names in Windows-1251: what it has no letter for would come back as "?".
    bool lossless = true;
    const std::string name = utf8ToCp1251(fields_.name, &lossless);
    if (!lossless) {
        fields_ = before;
        refuseField(kName, "Название пули: есть знаки, которых нет в кодировке Windows-1251 (они стали бы «?»); "
                           "замените их.");
        return false;
    }
    CBulletDimensions b = fields_.bullet;
    b.setName(name);
    b.noseShape = noseOfIndex(fields_.nose);  // stored back as Tangent when it was no known shape
    b.uniqueNumber = current_.uniqueNumber;
    current_ = b;
    fields_.bullet = b;
    return true;
}

void CDlgBCCalc::saveCurrentFile() {
    if (BulletFiles::SaveCurrent(folders_.data, current_) || currentSaveFailed_) return;
    currentSaveFailed_ = true;
    messageBox("Не могу записать файл " + quoted(folders_.data / BulletFiles::kCurrentFileName) +
                   ": размеры пули не сохранятся до следующего запуска.",
               {}, ui::Buttons::Ok, ui::Icon::Warning);
}

bool CDlgBCCalc::calculate() {
    unusable_.clear();
    if (!takeIntoCurrent()) return false;
    saveCurrentFile();

    estimate_ = BCdrag{};
    estimate_.takeBullet(current_);
    estimate_.referenceModel = fields_.model == 1 ? 1 : 0;
    const BCdragWarnings warnings = estimate_.Calculate();
    table_ = estimate_.estimatedDragTable();
    const BCdragCheck check = estimate_.check(table_);

    // A result that is no number reads "не определено".
    setText(kBallisticCoefficient, resultText(estimate_.ballisticCoefficient));
    setText(kStabilityFactor, resultText(estimate_.stabilityFactor));
    setText(kTwistForStability, resultText(estimate_.twistForStability));
    setText(kSectionalDensity, resultText(RoundTo(estimate_.sectionalDensity, 3)));
    showModelLabel();
    for (BCdragWarning w : warnings.inOrder())
        messageBox(std::string(bcDragWarningText(w)), {}, ui::Buttons::Ok, ui::Icon::Warning);

    if (!check.usable()) {
        unusable_ = bcDragUnusableText(check);
        return false;
    }
    // Only results that can be used reach the function the opener takes.
    estimate_.fillDragFunc(dragFunc_, current_.nameText(), table_);
    return true;
}

void CDlgBCCalc::refuseUnusable(const std::string& what) {
    messageBox(what + ": не определено или не больше 0 - " + unusable_ + ".\nПроверьте размеры пули.", {},
               ui::Buttons::Ok, ui::Icon::Warning);
}

void CDlgBCCalc::onOK() {
    if (!calculate()) {
        if (!unusable_.empty()) refuseUnusable("Драг-функцию нельзя сохранить");
        return;
    }
    saveCurrentFile();
    endDialog(ui::kIdOk);
}

void CDlgBCCalc::showCurve() {
    if (!calculate()) {
        if (!unusable_.empty()) refuseUnusable("Кривую нельзя показать");
        return;
    }
    CDlgDrugPlot plot(dragFunc_, this);  // it works on its own copy
    plot.doModal();
}

CBulletDimensions CDlgBCCalc::shownShape() const {
    CBulletDimensions b = fields_.bullet;
    const struct {
        int id;
        double CBulletDimensions::*value;
    } measures[] = {{kLength, &CBulletDimensions::length},           {kDiameter, &CBulletDimensions::diameter},
                    {kNoseLength, &CBulletDimensions::noseLength},   {kMeplat, &CBulletDimensions::meplatDiameter},
                    {kBoatTail, &CBulletDimensions::boatTailLength}, {kBaseDiameter, &CBulletDimensions::baseDiameter}};
    for (const auto& m : measures)
        if (const std::optional<double> v = ui::parseNumber(text(m.id))) b.*m.value = *v;
    b.noseShape = isChecked(kConical) ? NoseShape::Conical : isChecked(kTangent) ? NoseShape::Tangent : NoseShape::Secant;
    return b;
}

void CDlgBCCalc::onPaint(int id, ui::Canvas& canvas) {
    if (id != kPicture) return;
    const ui::Size size = canvas.size();
    const ui::Colour background = canvas.windowColour();
    const ui::Colour ink = ui::isDark(background) ? ui::kWhite : ui::kBlack;
    canvas.fillRect({0, 0, size.width, size.height}, background);
    const CBulletDimensions b = shownShape();
    const std::vector<std::pair<double, double>> upper = upperOutline(b);
    if (upper.empty()) return;
    // To scale, with room for the letters above and below.
    const double scale = std::min((size.width - 16) / b.length, (size.height - 34) / b.diameter);
    const int x0 = static_cast<int>((size.width - b.length * scale) / 2);
    const int axis = size.height / 2;
    auto at = [&](double x, double r) {
        return ui::Point{x0 + static_cast<int>(std::lround(x * scale)), axis - static_cast<int>(std::lround(r * scale))};
    };
    std::vector<ui::Point> outline;
    for (const auto& [x, r] : upper) outline.push_back(at(x, r));
    for (auto it = upper.rbegin(); it != upper.rend(); ++it) outline.push_back(at(it->first, -it->second));
    canvas.drawPolygon(outline, ink, ui::Colour{192, 160, 96});

    // Where each measure is taken.
    ui::Font font;
    font.pixelHeight = 11;
    const int top = at(0, b.diameter / 2).y;
    const int bottom = at(0, -b.diameter / 2).y;
    auto mark = [&](const std::string& name, double from, double to, int y) {
        const int a = at(from, 0).x, e = at(to, 0).x;
        canvas.drawLine(a, y, e, y, ink);
        const ui::Size t = canvas.textExtent(name, font);
        canvas.drawText((a + e - t.width) / 2, y < axis ? y - t.height - 1 : y + 1, name, ink, font);
    };
    if (b.boatTailLength > 0) mark("L2", 0, b.boatTailLength, top - 4);
    mark("L1", b.length - b.noseLength, b.length, top - 4);
    mark("L", 0, b.length, bottom + 4);
}

void CDlgBCCalc::showModelLabel() {
    const ReferenceModel model = fields_.model == 1 ? ReferenceModel::G7 : ReferenceModel::G1;
    setText(kBallisticCoefficientLabel, ballisticCoefficientLabel(model));
}

bool CDlgBCCalc::writeDatabase(std::string& note) {
    const fs::path file = folders_.data / BulletFiles::kDatabaseFileName;
    const bool kept = keptDatabase_.keeps(file);
    if (!keptDatabase_.beforeOverwrite(file)) {
        messageBox("Не могу сохранить копию файла " + quoted(file) + " в " + quoted(KeptFiles::copyPath(file)) +
                       ": база пуль не записана, файл оставлен как был.",
                   {}, ui::Buttons::Ok, ui::Icon::Warning);
        return false;
    }
    if (!BulletFiles::SaveDatabase(folders_.data, database_)) {
        messageBox("Не могу записать файл " + quoted(file) + ": база пуль не сохранена.", {}, ui::Buttons::Ok,
                   ui::Icon::Warning);
        return false;
    }
    if (kept && !keptDatabase_.keeps(file)) {
        std::error_code ec;
        if (fs::exists(KeptFiles::copyPath(file), ec))
            note = "Прежний файл базы, прочитанный не целиком, сохранён как " + quoted(KeptFiles::copyPath(file)) + ".";
    }
    return true;
}

void CDlgBCCalc::saveToDatabase() {
    if (!takeIntoCurrent()) return;
    CBulletDimensions record = current_;
    record.uniqueNumber = database_.NextUniqueNumber();
    database_.Add(record);
    std::string note;
    if (!writeDatabase(note)) {
        database_.RemoveAt(database_.GetSize() - 1);
        return;
    }
    current_.uniqueNumber = record.uniqueNumber;
    messageBox(note.empty() ? "Сохранено" : "Сохранено\n\n" + note, {}, ui::Buttons::Ok, ui::Icon::Information);
}

void CDlgBCCalc::takeFromDatabase() {
    CDlgBullets browser(database_, current_, this);
    if (browser.doModal() != ui::kIdOk) return;  // "Отставить!": the database stays as it was
    database_ = browser.bullets();
    std::string note;
    // When it cannot be written, what the browser did stays here for the next save to try again.
    if (writeDatabase(note) && !note.empty()) messageBox(note, {}, ui::Buttons::Ok, ui::Icon::Information);
    current_ = browser.selection();
    fillFromCurrent();
}

void CDlgBCCalc::onCommand(int id, ui::Notify n) {
    if (n == ui::Notify::Clicked) {
        switch (id) {
            case kCalculate: calculate(); return;
            case kShowCurve: showCurve(); return;
            case kFromDatabase: takeFromDatabase(); return;
            case kToDatabase: saveToDatabase(); return;
            case kTangent:
            case kSecant:
            case kConical:
                enable(kOgiveRadius, id == kSecant);
                window().refresh(kPicture);
                return;
            case kModelG1:
            case kModelG7: {
                fields_.model = id == kModelG7 ? 1 : 0;
                showModelLabel();
                // A BC of the other law is not shown under this one's label.
                const ReferenceModel chosen = fields_.model == 1 ? ReferenceModel::G7 : ReferenceModel::G1;
                if (!table_.empty())
                    setText(kBallisticCoefficient, chosen == estimate_.ballisticCoefficientModel
                                                       ? resultText(estimate_.ballisticCoefficient)
                                                       : "");
                return;
            }
            default: break;
        }
    }
    // The picture follows the measures as they are typed.
    if (n == ui::Notify::Changed) window().refresh(kPicture);
    ui::Dialog::onCommand(id, n);
}
