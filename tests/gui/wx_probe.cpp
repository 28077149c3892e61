// A dialog with one control of each kind on the wx backend, for the GUI tests: it prints what the
// ui::Dialog hooks receive, one line an event, and its fields when it ends with OK. With --plot its
// canvas, made as high as the page, shows the curve plot control with the standard G7 table instead.
// With --drag-plot NAME it shows the drag function windows instead: the standard plot window for a
// standard function's name, the plain one for "sample" (the sample special function) or "empty".
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "CDlgDrugPlot.h"
#include "CDlgDrugPlotStandart.h"
#include "COScopeCtrl.h"
#include "Dialog.h"
#include "StandardDragSet.h"
#include "WxApplication.h"

namespace {

enum Id {
    kName = 1001,
    kNumber = 1002,
    kReadOnly = 1003,
    kDerivation = 1004,
    kMetres = 1005,
    kYards = 1006,
    kFeet = 1007,
    kDrag = 1008,
    kDistanceLabel = 1009,
    kFrame = 1010,
    kPlot = 1020,
    kTable = 1030,
    kCellEditor = 1031,
    kProgress = 1040,
    kStep = 1041,
    kMessage = 1050,
    kChild = 1051,
    kFile = 1052,
    kMenu = 1053,
    kClipboard = 1054,
    kSite = 1055,
    kImport = 1056,
    kChildText = 2001,
};

void say(const std::string& line) {
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

const char* notifyName(ui::Notify n) {
    switch (n) {
        case ui::Notify::Clicked: return "Clicked";
        case ui::Notify::Changed: return "Changed";
        case ui::Notify::SelChange: return "SelChange";
        case ui::Notify::SetFocus: return "SetFocus";
        case ui::Notify::KillFocus: return "KillFocus";
        case ui::Notify::DropDownClosed: return "DropDownClosed";
        case ui::Notify::ItemChanged: return "ItemChanged";
        case ui::Notify::DoubleClick: return "DoubleClick";
    }
    return "?";
}

const char* mouseName(ui::MouseEvent::Type t) {
    switch (t) {
        case ui::MouseEvent::LeftDown: return "LeftDown";
        case ui::MouseEvent::LeftUp: return "LeftUp";
        case ui::MouseEvent::LeftDoubleClick: return "LeftDoubleClick";
        case ui::MouseEvent::RightDown: return "RightDown";
        case ui::MouseEvent::RightUp: return "RightUp";
        case ui::MouseEvent::Move: return "Move";
        case ui::MouseEvent::Leave: return "Leave";
        case ui::MouseEvent::Wheel: return "Wheel";
    }
    return "?";
}

std::string rect(const ui::Rect& r) {
    return std::to_string(r.x) + " " + std::to_string(r.y) + " " + std::to_string(r.width) + " " +
           std::to_string(r.height);
}

ui::DialogTemplate childTemplate() {
    ui::DialogTemplate t;
    t.title = "Вложенный диалог";
    t.width = 260;
    t.height = 90;
    t.controls = {
        {ui::kStaticId, ui::Kind::Label, "Комментарий:", {10, 13, 90, 16}, 0},
        {kChildText, ui::Kind::Edit, "", {100, 10, 150, 22}, 0},
        {ui::kIdOk, ui::Kind::Button, "OK", {90, 54, 75, 26}, ui::kDefault},
        {ui::kIdCancel, ui::Kind::Button, "Отмена", {175, 54, 75, 26}, 0},
    };
    return t;
}

class ChildDialog : public ui::Dialog {
public:
    explicit ChildDialog(ui::Dialog* parent) : ui::Dialog(childTemplate(), parent) {}
    std::string comment;

protected:
    void doDataExchange(ui::DataExchange& dx) override { dx.text(kChildText, comment); }
    void onCommand(int id, ui::Notify n) override {
        say("child command " + std::to_string(id) + " " + notifyName(n));
        ui::Dialog::onCommand(id, n);
    }
};

ui::DialogTemplate probeTemplate() {
    using ui::Kind;
    ui::DialogTemplate t;
    t.title = "Проба окон";
    t.width = 640;
    t.height = 420;
    t.resizable = true;
    t.controls = {
        {kFrame, Kind::GroupBox, "Параметры", {8, 4, 300, 236}, 0},
        {ui::kStaticId, Kind::Label, "Название:", {16, 27, 96, 16}, 0},
        {kName, Kind::Edit, "Привет, мир", {116, 24, 184, 22}, 0},
        {kDistanceLabel, Kind::Label, "Дистанция, м:", {16, 53, 96, 16}, 0},
        {kNumber, Kind::Edit, "300", {116, 50, 80, 22}, ui::kAlignRight},
        {ui::kStaticId, Kind::Label, "Только чтение:", {16, 79, 96, 16}, 0},
        {kReadOnly, Kind::Edit, "123.45", {116, 76, 80, 22}, ui::kReadOnly | ui::kAlignRight},
        {kDerivation, Kind::CheckBox, "Учитывать деривацию", {16, 102, 220, 22}, 0},
        {kMetres, Kind::Radio, "Метры", {16, 128, 90, 22}, ui::kGroupStart},
        {kYards, Kind::Radio, "Ярды", {110, 128, 90, 22}, 0},
        {kFeet, Kind::Radio, "Футы", {204, 128, 90, 22}, 0},
        {ui::kStaticId, Kind::Label, "Функция:", {16, 157, 96, 16}, 0},
        {kDrag, Kind::DropList, "", {116, 154, 184, 120}, 0},
        {kProgress, Kind::Progress, "", {16, 184, 200, 18}, 0},
        {kStep, Kind::Button, "Шаг", {224, 180, 76, 26}, 0},
        {kPlot, Kind::Canvas, "", {320, 10, 310, 150}, ui::kSunken},
        {kTable,
         Kind::ListView,
         "",
         {320, 170, 310, 150},
         ui::kSingleSelection | ui::kGridLines | ui::kEditLabels | ui::kFullRowSelect},
        {kMessage, Kind::Button, "Сообщение", {8, 250, 100, 26}, 0},
        {kChild, Kind::Button, "Диалог", {112, 250, 100, 26}, 0},
        {kFile, Kind::Button, "Файл", {216, 250, 92, 26}, 0},
        {kMenu, Kind::Button, "Меню", {8, 282, 100, 26}, 0},
        {kClipboard, Kind::Button, "Буфер", {112, 282, 100, 26}, 0},
        {kSite, Kind::Button, "Сайт", {216, 282, 92, 26}, 0},
        {kImport, Kind::Button, "Импорт", {8, 314, 100, 26}, 0},
        {ui::kIdOk, Kind::Button, "OK", {470, 384, 76, 26}, ui::kDefault},
        {ui::kIdCancel, Kind::Button, "Отмена", {554, 384, 76, 26}, 0},
    };
    return t;
}

// Types into the number field: digits, point, comma and minus; anything else is refused, as is a
// paste with anything else in it.
class NumberFilter : public ui::ControlHandler {
public:
    explicit NumberFilter(int id) : id_(id) {}
    bool onChar(char32_t c) override {
        const bool allowed = c < 32 || std::strchr("0123456789.,-", static_cast<int>(c)) != nullptr;
        say("char " + std::to_string(id_) + " " + std::to_string(static_cast<unsigned>(c)) +
            (allowed ? " accepted" : " refused"));
        return !allowed;
    }
    bool onPaste() override {
        const std::string text = ui::backend().clipboardText();
        const bool allowed = text.find_first_not_of("0123456789.,-") == std::string::npos;
        say("paste " + std::to_string(id_) + " " + text + (allowed ? " accepted" : " refused"));
        return !allowed;
    }

private:
    int id_;
};

class ProbeDialog;

// The editor of a table cell: over the cell, Enter keeps the text, Escape drops it, either way the
// list gets the focus back and the editor goes when it loses it.
class CellEditor : public ui::ControlHandler {
public:
    explicit CellEditor(ProbeDialog& d) : dialog_(d) {}
    int row = -1;
    int column = -1;
    bool escape = false;
    bool onKeyDown(const ui::KeyEvent& k) override;
    bool onNotify(ui::Notify n) override;

private:
    ProbeDialog& dialog_;
};

class TableClicks : public ui::ControlHandler {
public:
    explicit TableClicks(ProbeDialog& d) : dialog_(d) {}
    bool onListClick(const ui::MouseEvent& m) override;
    bool onListContextMenu(int row, ui::Point at) override;

private:
    ProbeDialog& dialog_;
};

class ProbeDialog : public ui::Dialog {
public:
    ProbeDialog() : ui::Dialog(probeTemplate()), number_(kNumber), editor_(*this), clicks_(*this) {}
    std::string folder;
    bool plot = false;

    ui::DialogWindow& win() { return window(); }
    // The last column edits through a drop-down list, the others through a text box.
    void openEditor(int row, int column) {
        ui::DialogWindow& w = window();
        editor_.row = row;
        editor_.column = column;
        editor_.escape = false;
        const ui::Rect r = w.cellRect(kTable, row, column);
        say("editor " + std::to_string(row) + " " + std::to_string(column) + " " + rect(r));
        const std::string text = w.cell(kTable, row, column);
        if (column == 2) {
            // As a Windows combo box: the rectangle holds the dropped list as well.
            ui::Rect dropped = r;
            dropped.height += w.rowHeight(kTable) * 10;
            w.createControl(ui::ControlTemplate{kCellEditor, ui::Kind::DropList, "", dropped, 0});
            for (int i = 1; i <= 9; ++i) w.addItem(kCellEditor, "0." + std::to_string(i));
            w.setText(kCellEditor, text);
            say("editor list " + std::to_string(w.itemCount(kCellEditor)) + " selected " +
                std::to_string(w.selection(kCellEditor)) + " height " +
                std::to_string(w.controlRect(kCellEditor).height));
        } else {
            w.createControl(ui::ControlTemplate{kCellEditor, ui::Kind::Edit, text, r, 0});
            w.selectAllText(kCellEditor);
        }
        attach(kCellEditor, &editor_);
        w.setFocus(kCellEditor);
    }
    void closeEditor() {
        ui::DialogWindow& w = window();
        const std::string text =
            editor_.column == 2 ? w.itemText(kCellEditor, w.selection(kCellEditor)) : w.text(kCellEditor);
        if (editor_.escape) {
            say("edit cancelled");
        } else {
            w.setCell(kTable, editor_.row, editor_.column, text);
            say("edited " + std::to_string(editor_.row) + " " + std::to_string(editor_.column) + " " + text);
        }
        attach(kCellEditor, nullptr);
        w.destroyControl(kCellEditor);
        say("editor closed " + std::to_string(w.hasControl(kCellEditor)));
    }
    bool editing() { return window().hasControl(kCellEditor); }

protected:
    bool onInitDialog() override {
        ui::DialogWindow& w = window();
        for (const char* item : {"G1", "G7", "Своя функция"}) w.addItem(kDrag, item);
        w.setSelection(kDrag, 1);
        w.setChecked(kMetres, true);
        w.addColumn(kTable, {"Дальность", 90, ui::Align::Left});
        w.addColumn(kTable, {"Поправка", 110, ui::Align::Right});
        w.addColumn(kTable, {"Время", 40, ui::Align::Right});  // narrower than its title: widened
        for (int i = 0; i < 5; ++i) {
            w.insertRow(kTable, i, std::to_string(100 * (i + 1)));
            w.setCell(kTable, i, 1, std::to_string(i * 2) + ".5");
            w.setCell(kTable, i, 2, "0." + std::to_string(i + 1));
        }
        w.setRowColours(kTable, 4, ui::Colour{128, 0, 0}, ui::Colour{255, 255, 200});
        w.setRange(kProgress, 10);
        w.setPosition(kProgress, 3);
        if (!plot) w.setTooltip(kPlot, "График");
        attach(kNumber, &number_);
        attach(kTable, &clicks_);
        if (plot) {
            w.show(kTable, false);
            w.moveControl(kPlot, {320, 10, 310, 310});
            DragFunc g7;
            standardFunction("G7", g7);
            scope_.attach(*this, kPlot);
            scope_.showDragCurve(g7.points, false);
            scope_.setCaption("G7");
        }
        w.setFocus(kName);
        say("init list rows " + std::to_string(w.rowCount(kTable)) + " columns " +
            std::to_string(w.columnCount(kTable)) + " row height " + std::to_string(w.rowHeight(kTable)) + " widths " +
            std::to_string(w.columnWidth(kTable, 0)) + " " + std::to_string(w.columnWidth(kTable, 1)) + " " +
            std::to_string(w.columnWidth(kTable, 2)));
        return false;
    }

    void onCommand(int id, ui::Notify n) override {
        say("command " + std::to_string(id) + " " + notifyName(n));
        ui::DialogWindow& w = window();
        if (id == kTable && n == ui::Notify::ItemChanged) {
            std::string rows;
            for (int r : w.selectedRows(kTable)) {
                rows += ' ';
                rows += std::to_string(r);
            }
            say("selected" + rows);
        }
        if (n != ui::Notify::Clicked) return ui::Dialog::onCommand(id, n);
        switch (id) {
            case kStep:
                w.setPosition(kProgress, w.position(kProgress) + 1);
                w.processPendingEvents();
                say("progress " + std::to_string(w.position(kProgress)));
                break;
            case kMessage: {
                const int answer =
                    messageBox("Сохранить изменения?", "Проба", ui::Buttons::YesNoCancel, ui::Icon::Question);
                say("message " + std::to_string(answer));
                break;
            }
            case kChild: {
                ChildDialog child(this);
                const int code = child.doModal();
                say("child " + std::to_string(code) + " " + child.comment);
                break;
            }
            case kFile: {
                ui::FileDialogOptions o;
                o.save = true;
                o.title = "Экспорт";
                o.filters = {{"Файлы драг-функций (*.snr)", "*.snr"}, {"Все файлы (*.*)", "*.*"}};
                o.defaultExtension = "snr";
                o.folder = folder;
                o.fileName = "функция";
                o.okLabel = "Сохранить!";
                const auto files = ui::backend().fileDialog(&w, o);
                std::string line = "file ";
                line += files ? files->front().string() : std::string("cancelled");
                say(line);
                break;
            }
            case kMenu: {
                const int chosen = ui::backend().popupMenu(
                    &w, kMenu, {0, 26},
                    {{101, "Копировать"}, {0, ""}, {102, "Вставить", false}, {103, "Метки", true, true}});
                say("menu " + std::to_string(chosen));
                break;
            }
            case kImport: {
                ui::FileDialogOptions o;
                o.filters = {{"Файлы драг-функций (*.snr)", "*.snr"}};
                o.folder = folder;
                o.multipleSelection = true;
                o.okLabel = "Импорт!";
                const auto files = ui::backend().fileDialog(&w, o);
                if (!files) say("import cancelled");
                if (files)
                    for (const auto& f : *files) say("import " + f.string());
                break;
            }
            case kSite:
                // Nowhere to go: the failure is reported here and nowhere else.
                say("url " + std::to_string(ui::backend().openUrl("https://trajekton.invalid/")));
                break;
            case kClipboard:
                ui::backend().setClipboardText("12a");
                say("clipboard " + ui::backend().clipboardText());
                break;
            default: ui::Dialog::onCommand(id, n); break;
        }
    }

    bool preTranslateKey(int id, const ui::KeyEvent& k) override {
        say("key " + std::to_string(id) + " " + std::to_string(k.key) + (k.shift ? " shift" : "") +
            (k.control ? " control" : "") + (k.alt ? " alt" : ""));
        return false;
    }

    void onMouse(int id, const ui::MouseEvent& m) override {
        if (m.type == ui::MouseEvent::Move && !m.leftButton) return;
        say("mouse " + std::to_string(id) + " " + mouseName(m.type) + " " + std::to_string(m.x) + " " +
            std::to_string(m.y) + (m.type == ui::MouseEvent::Wheel ? " " + std::to_string(m.wheelDelta) : ""));
        if (id == kPlot && m.type == ui::MouseEvent::LeftDown) window().captureMouse(kPlot);
        if (id == kPlot && m.type == ui::MouseEvent::LeftUp) {
            say("captor " + std::to_string(window().mouseCaptor()));
            window().releaseMouse();
        }
    }

    void onPaint(int id, ui::Canvas& c) override {
        const ui::Size s = c.size();
        c.fillRect({0, 0, s.width, s.height}, ui::kWhite);
        c.fillRect({10, 10, 40, 20}, ui::kRed);
        c.drawRect({60, 10, 40, 20}, ui::Colour{0, 0, 255}, 2);
        c.drawEllipse({110, 10, 40, 30}, ui::Colour{0, 128, 0}, ui::Colour{160, 220, 160}, 1);
        c.drawPolygon({{160, 40}, {180, 10}, {200, 40}}, ui::kBlack, ui::Colour{255, 220, 0});
        c.drawLine(0, s.height - 1, s.width, s.height - 1, ui::kBlack, 1);
        std::vector<ui::Point> curve;
        for (int x = 0; x < s.width; x += 10) curve.push_back({x, 130 - (x * (s.width - x)) / 400});
        c.drawPolyline(curve, ui::Colour{200, 0, 200}, 2);
        c.drawText(10, 60, "Траектория пули", ui::kBlack, {});
        const ui::Size e = c.textExtent("Траектория пули", {});
        c.drawText(10, 60 + e.height, "Жирный шрифт", ui::Colour{0, 0, 160}, ui::Font{0, true, false, false, ""});
        say("paint " + std::to_string(id) + " " + std::to_string(s.width) + " " + std::to_string(s.height) + " text " +
            std::to_string(e.width) + " " + std::to_string(e.height));
    }

    void onSize(int w, int h) override { say("size " + std::to_string(w) + " " + std::to_string(h)); }

    void onOK() override {
        ui::DialogWindow& w = window();
        for (int id : {kName, kNumber, kReadOnly}) say("field " + std::to_string(id) + "=" + w.text(id));
        say("check " + std::string(w.isChecked(kDerivation) ? "1" : "0"));
        for (int id : {kMetres, kYards, kFeet})
            if (w.isChecked(id)) say("radio " + std::to_string(id));
        say("drop " + std::to_string(w.selection(kDrag)) + " " + w.text(kDrag));
        for (int r = 0; r < w.rowCount(kTable); ++r)
            say("row " + std::to_string(r) + " " + w.cell(kTable, r, 0) + "|" + w.cell(kTable, r, 1) + "|" +
                w.cell(kTable, r, 2));
        say("progress " + std::to_string(w.position(kProgress)));
        ui::Dialog::onOK();
    }

private:
    NumberFilter number_;
    COScopeCtrl scope_;
    CellEditor editor_;
    TableClicks clicks_;
    friend class CellEditor;
};

bool CellEditor::onKeyDown(const ui::KeyEvent& k) {
    if (k.key != ui::kKeyReturn && k.key != ui::kKeyEscape) return false;
    escape = k.key == ui::kKeyEscape;
    dialog_.win().setFocus(kTable);
    return true;
}

bool CellEditor::onNotify(ui::Notify n) {
    say(std::string("editor ") + notifyName(n));
    if (n == ui::Notify::DropDownClosed) dialog_.win().setFocus(kTable);
    if (n == ui::Notify::KillFocus) dialog_.closeEditor();
    return true;
}

bool TableClicks::onListClick(const ui::MouseEvent& m) {
    ui::DialogWindow& w = dialog_.win();
    const ui::ListHit hit = w.hitTest(kTable, m.x, m.y);
    bool wasSelected = false;
    for (int r : w.selectedRows(kTable)) wasSelected = wasSelected || r == hit.row;
    say("listclick " + std::to_string(m.x) + " " + std::to_string(m.y) + " row " + std::to_string(hit.row) +
        " column " + std::to_string(hit.column) + (wasSelected ? " selected" : ""));
    if (hit.row >= 0 && hit.column >= 0 && wasSelected && !m.shift && !m.control && !dialog_.editing()) {
        dialog_.openEditor(hit.row, hit.column);
        // The text box keeps the click to itself in the first column; the others leave it to the
        // list, which must not take the focus back from the editor.
        return hit.column == 0;
    }
    return false;
}

bool TableClicks::onListContextMenu(int row, ui::Point at) {
    std::string rows;
    for (int r : dialog_.win().selectedRows(kTable)) {
        rows += ' ';
        rows += std::to_string(r);
    }
    say("context row " + std::to_string(row) + " at " + std::to_string(at.x) + " " + std::to_string(at.y) +
        " selected" + rows);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::string folder;
    bool plot = false;
    const char* dragPlot = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--folder" && i + 1 < argc) folder = argv[i + 1];
        if (std::string(argv[i]) == "--plot") plot = true;
        if (std::string(argv[i]) == "--drag-plot" && i + 1 < argc) dragPlot = argv[i + 1];
    }
    if (dragPlot) {
        return ui::runWxApplication(argc, argv, [&] {
            DragFunc f;
            if (standardFunction(dragPlot, f)) {
                CDlgDrugPlotStandart dialog(f);
                return dialog.doModal() == ui::kIdOk ? 0 : 3;
            }
            if (std::string(dragPlot) == "sample") f = sampleFunction();
            CDlgDrugPlot dialog(f);
            return dialog.doModal() == ui::kIdOk ? 0 : 3;
        });
    }
    return ui::runWxApplication(argc, argv, [&] {
        ProbeDialog dialog;
        dialog.folder = folder;
        dialog.plot = plot;
        const int code = dialog.doModal();
        say("result " + std::to_string(code));
        return code == ui::kIdOk ? 0 : 3;
    });
}
