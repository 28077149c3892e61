#include "CDlgTableResults.h"

#include "FixedText.h"
#include "RoundTo.h"
#include "TableColumns.h"
#include "Shot.h"
#include "TableReport.h"
#include "TemplateBuilder.h"

namespace {

constexpr int kStepIds[5] = {CDlgTableResults::kStep100, CDlgTableResults::kStep50, CDlgTableResults::kStep25,
                             CDlgTableResults::kStep10, CDlgTableResults::kStep5};

}  // namespace

// The check box of each of tableColumns(), in its order.
const int CDlgTableResults::kColumnFlagIds[10] = {kVelocity,       kTime,         kVerticalCm,   kVerticalMoa,
                                                  kVerticalMil,    kVerticalClicks, kHorizontalCm, kHorizontalMoa,
                                                  kHorizontalMil,  kHorizontalClicks};

CDlgTableResults::CDlgTableResults(BallisticSolver& main, ShotInputs& inputs, const DragFunc& dragFunction,
                                   TableSettingsRecord& table, MessageCollector* messages, ui::Dialog* parent)
    : ui::Dialog(makeTemplate(), parent),
      main_(main),
      inputs_(inputs),
      dragFunction_(dragFunction),
      summary_(summaryOf(main)),
      table_(table),
      messages_(messages) {}

ui::DialogTemplate CDlgTableResults::makeTemplate() {
    ui::DialogTemplate t;
    t.id = IDD;
    t.title = "Таблица поправок";
    t.width = 876;
    t.height = 560;
    t.resizable = true;
    t.minWidth = 876;
    t.minHeight = 300;
    ui::TemplateBuilder b(t);
    // The groups leave a quarter of their captions' width to spare: a desktop font larger than ours
    // still fits.
    b.group("Шаг дистанции", 8, 8, 130, 156);
    const char* stepTexts[5] = {"100 метров", "50 метров", "25 метров", "10 метров", "5 метров"};
    for (int i = 0; i < 5; ++i) b.radio(kStepIds[i], stepTexts[i], 20, 28 + i * 26, 110, i == 0 ? unsigned{ui::kGroupStart} : 0u);

    b.label("Начало", 146, 14, 78).edit(kFirst, 226, 14, 70, ui::kAlignRight);
    b.label("Окончание", 146, 40, 78).edit(kLast, 226, 40, 70, ui::kAlignRight);
    b.check(kVelocity, "Скорость", 146, 80, 150).check(kTime, "Время", 146, 106, 150);

    b.group("Вертикальная поправка, ", 304, 8, 208, 130);
    b.check(kVerticalCm, "см", 316, 28, 184)
        .check(kVerticalMoa, "MOA", 316, 54, 184)
        .check(kVerticalMil, "MIL", 316, 80, 184)
        .check(kVerticalClicks, "клики", 316, 106, 184);
    b.group("Горизонтальная поправка", 520, 8, 208, 130);
    b.check(kHorizontalCm, "см", 532, 28, 184)
        .check(kHorizontalMoa, "MOA", 532, 54, 184)
        .check(kHorizontalMil, "MIL", 532, 80, 184)
        .check(kHorizontalClicks, "клики", 532, 106, 184);

    b.button(kFill, "Вычислить", 736, 12, 132, ui::kDefault)
        .button(kExport, "Экспорт...", 736, 44, 132)
        .button(kClose, "Закрыть", 736, 76, 132);
    b.add(kProgress, ui::Kind::Progress, "", {736, 116, 132, 16}, ui::kHidden);

    b.check(kAddDerivation, "Добавлять деривацию в результирующие поправки", 8, 170, 596)
        .check(kAddVerticalDrift, "Добавлять вертикальный ветровой снос в результирующие поправки", 8, 194, 596);
    b.add(kList, ui::Kind::ListView, "", {8, 224, 860, 328}, ui::kGridLines | ui::kFullRowSelect | ui::kSingleSelection);
    return t;
}

bool CDlgTableResults::onInitDialog() {
    resizer_.clear();
    resizer_.add(window(), kList,
                 CDlgItemResizer::kLeft | CDlgItemResizer::kRight | CDlgItemResizer::kTop | CDlgItemResizer::kBottom);
    addDerivation_ = inputs_.addDerivation;
    addVerticalDrift_ = inputs_.addVerticalDrift;
    first_ = table_.firstDistance;
    last_ = table_.lastDistance;
    stepIndex_ = 0;
    for (int i = 0; i < 5; ++i)
        if (table_.distanceStep == kTableSteps[i]) stepIndex_ = i;
    for (size_t i = 0; i < tableColumns().size(); ++i) flags_[i] = table_.*tableColumns()[i].shown != 0;
    updateData(false);
    return true;
}

void CDlgTableResults::doDataExchange(ui::DataExchange& dx) {
    dx.radio({kStep100, kStep50, kStep25, kStep10, kStep5}, stepIndex_);
    dx.number(kFirst, first_);
    dx.number(kLast, last_);
    for (int i = 0; i < 10; ++i) dx.check(kColumnFlagIds[i], flags_[i]);
    dx.check(kAddDerivation, addDerivation_);
    dx.check(kAddVerticalDrift, addVerticalDrift_);
}

double CDlgTableResults::stepMetres() const { return kTableSteps[stepIndex_ >= 0 && stepIndex_ < 5 ? stepIndex_ : 0]; }

void CDlgTableResults::fill() {
    const auto started = std::chrono::steady_clock::now();
    ui::DialogWindow& w = window();
    w.deleteAllRows(kList);
    w.deleteAllColumns(kList);
    updateData(true);  // a field that does not parse keeps its previous value

    w.addColumn(kList, ui::ListColumn{kDistanceColumn.title, kDistanceColumn.width, kDistanceColumn.align});
    std::vector<int> present;
    for (int i = 0; i < 10; ++i)
        if (flags_[i]) {
            const TableColumn& c = tableColumns()[static_cast<size_t>(i)];
            w.addColumn(kList, ui::ListColumn{c.title, c.width, c.align});
            present.push_back(i);
        }

    const TableRange range = TableRange{first_, last_, stepMetres()}.clamped();
    first_ = range.first;
    last_ = range.last;
    updateData(false);

    const DriftOptions options{addDerivation_, addVerticalDrift_, inputs_.manualDrift, inputs_.manualDriftPercent};
    bool progressShown = false;
    const auto progress = [&](size_t done, size_t total) {
        if (!progressShown && std::chrono::steady_clock::now() - started < progressDelay_) return true;
        if (!progressShown) {
            w.setRange(kProgress, static_cast<int>(total));
            w.show(kProgress, true);
            progressShown = true;
        }
        w.setPosition(kProgress, static_cast<int>(done));
        w.processPendingEvents();
        return true;
    };
    const TableFill table = fillCorrectionTable(main_, range, options, progress);
    summary_ = table.summary;

    w.batchUpdate(kList, true);
    int row = 0;
    for (const DistanceCorrections& c : table.rows) {
        const std::array<std::string, 10> cells = tableCells(c);
        w.insertRow(kList, row, distanceCell(c));
        int column = 1;
        for (int i : present) w.setCell(kList, row, column++, cells[i]);
        ++row;
    }
    w.batchUpdate(kList, false);
    if (progressShown) w.show(kProgress, false);
    lastFillTime_ = std::chrono::steady_clock::now() - started;

    if (messages_)
        for (const EngineMessage m : messages_->take()) messageBox(std::string(engineMessageText(m)));
}

void CDlgTableResults::close() {
    if (!updateData(true)) return;
    table_.firstDistance = first_;
    table_.lastDistance = last_;
    table_.distanceStep = stepMetres();
    for (size_t i = 0; i < tableColumns().size(); ++i) table_.*tableColumns()[i].shown = flags_[i] ? 1 : 0;
    endDialog(ui::kIdOk);
}

void CDlgTableResults::exportReport(bool xml) {
    // A list never filled has no columns, and nothing solved yet for the report lines to describe:
    // the export writes the table the dialog stands for, as "Вычислить" would show it.
    if (window().columnCount(kList) == 0) fill();

    ui::FileDialogOptions o;
    o.save = true;
    o.overwritePrompt = true;
    if (xml) {
        o.filters = {{"Файлы xml (*.xml)", "*.xml"}, {"Все файлы (*.*)", "*.*"}};
        o.defaultExtension = "xml";
    } else {
        o.filters = {{"Файлы csv (*.csv)", "*.csv"}, {"Все файлы (*.*)", "*.*"}};
        o.defaultExtension = "csv";
    }
    const auto chosen = ui::backend().fileDialog(&window(), o);
    if (!chosen || chosen->empty()) return;

    ReportTable table;
    const ui::DialogWindow& w = window();
    const int columnCount = w.columnCount(kList);
    for (int c = 0; c < columnCount; ++c) table.headers.push_back(w.columnTitle(kList, c));
    for (int r = 0; r < w.rowCount(kList); ++r) {
        std::vector<std::string> cells;
        for (int c = 0; c < columnCount; ++c) cells.push_back(w.cell(kList, r, c));
        table.rows.push_back(std::move(cells));
    }
    const ReportShot shot = reportShotFrom(inputs_, dragFunction_, summary_);
    const bool written = xml ? writeXmlReport(chosen->front(), shot, table) : writeCsvReport(chosen->front(), shot, table);
    messageBox(written ? "Готово" : "Возникла ошибка при записи в файл!");
}

void CDlgTableResults::onCommand(int id, ui::Notify n) {
    if (n != ui::Notify::Clicked) return;
    switch (id) {
        case kFill: fill(); break;
        case kAddDerivation:
            inputs_.addDerivation = isChecked(kAddDerivation);
            fill();
            break;
        case kAddVerticalDrift:
            inputs_.addVerticalDrift = isChecked(kAddVerticalDrift);
            fill();
            break;
        case kClose: close(); break;
        case kExport: {
            const ui::Rect r = window().controlRect(kExport);
            const int item = ui::backend().popupMenu(&window(), kExport, ui::Point{0, r.height},
                                                     {{kExportXml, "Экспортировать в Excel xml"},
                                                      {kExportCsv, "Экспортировать в cvs"}});
            if (item == kExportXml) exportReport(true);
            if (item == kExportCsv) exportReport(false);
            break;
        }
        case kExportXml: exportReport(true); break;
        case kExportCsv: exportReport(false); break;
        case ui::kIdCancel: onCancel(); break;
        default: break;
    }
}

void CDlgTableResults::onSize(int width, int height) { resizer_.resize(window(), width, height); }
