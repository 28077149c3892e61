#include "HeadlessBackend.h"

#include <algorithm>

namespace ui {

// ---------------------------------------------------------------- RecordingCanvas

void RecordingCanvas::fillRect(const Rect& r, Colour fill) {
    PaintOp op;
    op.type = PaintOp::FillRect;
    op.rect = r;
    op.colour = fill;
    op.fill = fill;
    ops.push_back(op);
}

void RecordingCanvas::drawRect(const Rect& r, Colour pen, int penWidth) {
    PaintOp op;
    op.type = PaintOp::DrawRect;
    op.rect = r;
    op.colour = pen;
    op.penWidth = penWidth;
    ops.push_back(op);
}

void RecordingCanvas::drawLine(int x1, int y1, int x2, int y2, Colour pen, int penWidth) {
    PaintOp op;
    op.type = PaintOp::Line;
    op.points = {{x1, y1}, {x2, y2}};
    op.colour = pen;
    op.penWidth = penWidth;
    ops.push_back(op);
}

void RecordingCanvas::drawPolyline(const std::vector<Point>& points, Colour pen, int penWidth) {
    PaintOp op;
    op.type = PaintOp::Polyline;
    op.points = points;
    op.colour = pen;
    op.penWidth = penWidth;
    ops.push_back(op);
}

void RecordingCanvas::drawDots(int x1, int y1, int x2, int y2, Colour pen, int step) {
    PaintOp op;
    op.type = PaintOp::Dots;
    op.points = {{x1, y1}, {x2, y2}};
    op.colour = pen;
    op.step = step;
    ops.push_back(op);
}

void RecordingCanvas::drawPolygon(const std::vector<Point>& points, Colour pen, std::optional<Colour> fill) {
    PaintOp op;
    op.type = PaintOp::Polygon;
    op.points = points;
    op.colour = pen;
    op.fill = fill;
    ops.push_back(op);
}

void RecordingCanvas::drawEllipse(const Rect& r, Colour pen, std::optional<Colour> fill, int penWidth) {
    PaintOp op;
    op.type = PaintOp::Ellipse;
    op.rect = r;
    op.colour = pen;
    op.fill = fill;
    op.penWidth = penWidth;
    ops.push_back(op);
}

void RecordingCanvas::drawText(int x, int y, const std::string& utf8, Colour colour, const Font& font) {
    PaintOp op;
    op.type = PaintOp::Text;
    op.rect = Rect{x, y, textExtent(utf8, font).width, textExtent(utf8, font).height};
    op.colour = colour;
    op.text = utf8;
    op.font = font;
    ops.push_back(op);
}

Size RecordingCanvas::textExtent(const std::string& utf8, const Font& font) const {
    int chars = 0;
    for (unsigned char c : utf8)
        if ((c & 0xC0) != 0x80) ++chars;
    return Size{chars * 7, font.pixelHeight > 0 ? font.pixelHeight : 13};
}

std::vector<std::string> RecordingCanvas::texts() const {
    std::vector<std::string> out;
    for (const auto& op : ops)
        if (op.type == PaintOp::Text) out.push_back(op.text);
    return out;
}

// ---------------------------------------------------------------- HeadlessWindow

HeadlessWindow::HeadlessWindow(HeadlessBackend& backend, Dialog& owner, const DialogTemplate& t)
    : backend_(backend), owner_(owner), template_(t), title_(t.title), client_{t.width, t.height} {
    for (const auto& c : t.controls) createControl(c);
    // The first control that takes the focus has it.
    for (const auto& c : controls_) {
        const Kind k = c.t.kind;
        if (c.t.id != kStaticId && c.enabled && c.visible && k != Kind::Label && k != Kind::GroupBox &&
            !(c.t.style & kNoTabStop)) {
            focus_ = c.t.id;
            break;
        }
    }
    backend_.openWindows.push_back(this);
}

HeadlessWindow::~HeadlessWindow() {
    auto& w = backend_.openWindows;
    w.erase(std::remove(w.begin(), w.end(), this), w.end());
}

HeadlessWindow::Control* HeadlessWindow::find(int id) {
    if (id == kStaticId) return nullptr;
    for (auto& c : controls_)
        if (c.t.id == id) return &c;
    return nullptr;
}

const HeadlessWindow::Control* HeadlessWindow::find(int id) const {
    return const_cast<HeadlessWindow*>(this)->find(id);
}

bool HeadlessWindow::acting() const { return !ended_; }

std::vector<int> HeadlessWindow::controlIds() const {
    std::vector<int> ids;
    for (const auto& c : controls_)
        if (c.t.id != kStaticId) ids.push_back(c.t.id);
    return ids;
}

// --- user actions

void HeadlessWindow::type(int id, const std::string& utf8) {
    if (!acting()) return;
    focus(id);
    Control* c = find(id);
    if (!c || !c->enabled || !c->visible || (c->t.style & kReadOnly)) return;
    c->text = utf8;
    c->allSelected = false;
    owner_.handleCommand(id, Notify::Changed);
}

namespace {
// The code points of a UTF-8 string with their byte spans.
std::vector<std::pair<char32_t, std::string>> codePoints(const std::string& s) {
    std::vector<std::pair<char32_t, std::string>> out;
    for (size_t i = 0; i < s.size();) {
        const unsigned char b = static_cast<unsigned char>(s[i]);
        size_t n = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : 4;
        n = std::min(n, s.size() - i);
        char32_t cp = n == 1 ? b : n == 2 ? (b & 0x1F) : n == 3 ? (b & 0x0F) : (b & 0x07);
        for (size_t k = 1; k < n; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        out.emplace_back(cp, s.substr(i, n));
        i += n;
    }
    return out;
}
}  // namespace

void HeadlessWindow::typeChars(int id, const std::string& utf8) {
    if (!acting()) return;
    focus(id);
    for (const auto& [cp, bytes] : codePoints(utf8)) {
        Control* c = find(id);
        if (!c || !c->enabled || (c->t.style & kReadOnly) || !acting()) return;
        if (owner_.handleChar(id, cp)) continue;
        c = find(id);
        if (!c) return;
        if (c->allSelected) c->text.clear();
        c->allSelected = false;
        c->text += bytes;
        owner_.handleCommand(id, Notify::Changed);
    }
}

void HeadlessWindow::click(int id) {
    if (!acting()) return;
    Control* c = find(id);
    if (!c || !c->enabled || !c->visible) return;
    if (c->t.kind == Kind::Edit || c->t.kind == Kind::ListView || c->t.kind == Kind::DropList) {
        focus(id);
        return;
    }
    if (c->t.kind == Kind::CheckBox) c->checked = !c->checked;
    if (c->t.kind == Kind::Radio) {
        // Uncheck the other radios of the group: from the group start to the next group start.
        size_t idx = static_cast<size_t>(c - controls_.data());
        size_t first = idx;
        while (first > 0 && !(controls_[first].t.style & kGroupStart) && controls_[first - 1].t.kind == Kind::Radio)
            --first;
        for (size_t i = first; i < controls_.size() && controls_[i].t.kind == Kind::Radio; ++i) {
            if (i != first && (controls_[i].t.style & kGroupStart)) break;
            controls_[i].checked = false;
        }
        controls_[idx].checked = true;
    }
    if (c->t.kind != Kind::Label && c->t.kind != Kind::GroupBox) focus(id);
    owner_.handleCommand(id, Notify::Clicked);
}

void HeadlessWindow::pressKey(int id, const KeyEvent& k) {
    if (!acting()) return;
    if (id == kStaticId) id = focus_;
    owner_.handleKeyDown(id, k);
}

void HeadlessWindow::paste(int id) {
    if (!acting()) return;
    focus(id);
    if (owner_.handlePaste(id)) return;
    Control* c = find(id);
    if (!c || (c->t.style & kReadOnly)) return;
    if (c->allSelected) c->text.clear();
    c->allSelected = false;
    c->text += backend_.clipboard;
    owner_.handleCommand(id, Notify::Changed);
}

void HeadlessWindow::chooseItem(int id, int index) {
    if (!acting()) return;
    Control* c = find(id);
    if (!c || !c->enabled || index < 0 || index >= static_cast<int>(c->items.size())) return;
    focus(id);
    c = find(id);
    c->selection = index;
    c->text = c->items[static_cast<size_t>(index)];
    owner_.handleCommand(id, Notify::SelChange);
}

void HeadlessWindow::closeDropDown(int id) {
    if (!acting()) return;
    if (Control* c = find(id)) c->droppedDown = false;
    owner_.handleCommand(id, Notify::DropDownClosed);
}

void HeadlessWindow::focus(int id) {
    if (!acting() || id == focus_) return;
    const int old = focus_;
    focus_ = id;
    if (old != kStaticId && find(old)) owner_.handleCommand(old, Notify::KillFocus);
    if (acting() && find(id) && focus_ == id) owner_.handleCommand(id, Notify::SetFocus);
}

void HeadlessWindow::mouse(int id, const MouseEvent& m) {
    if (!acting()) return;
    // A captured mouse sends everything to its captor, in the captor's coordinates.
    if (captor_ != kStaticId && captor_ != id && find(captor_) && find(id)) {
        const Rect from = controlRect(id);
        const Rect to = controlRect(captor_);
        MouseEvent moved = m;
        moved.x += from.x - to.x;
        moved.y += from.y - to.y;
        owner_.handleMouse(captor_, moved);
        return;
    }
    owner_.handleMouse(id, m);
}

void HeadlessWindow::clickCell(int id, int row, int column, bool shift, bool control) {
    if (!acting()) return;
    Control* c = find(id);
    if (!c || !c->enabled) return;
    focus(id);
    const Rect r = cellRect(id, row, column);
    const Rect list = controlRect(id);
    MouseEvent m;
    m.type = MouseEvent::LeftDown;
    m.x = r.x - list.x + 2;
    m.y = r.y - list.y + 2;
    m.shift = shift;
    m.control = control;
    if (owner_.handleListClick(id, m)) return;
    c = find(id);
    if (!c || row < 0 || row >= static_cast<int>(c->rows.size())) return;
    if (!control)
        std::fill(c->selected.begin(), c->selected.end(), false);
    c->selected[static_cast<size_t>(row)] = control ? !c->selected[static_cast<size_t>(row)] : true;
    owner_.handleCommand(id, Notify::ItemChanged);
}

void HeadlessWindow::doubleClickRow(int id, int row) {
    if (!acting()) return;
    Control* c = find(id);
    if (!c || row < 0 || row >= static_cast<int>(c->rows.size())) return;
    std::fill(c->selected.begin(), c->selected.end(), false);
    c->selected[static_cast<size_t>(row)] = true;
    owner_.handleCommand(id, Notify::DoubleClick);
}

void HeadlessWindow::pressAndHold(int id) {
    if (!acting()) return;
    const Control* c = find(id);
    if (!c || !c->enabled || !c->visible) return;
    focus(id);
    owner_.handleContextMenu(id, Point{4, 4});
}

void HeadlessWindow::rightClickRow(int id, int row) {
    if (!acting()) return;
    Control* c = find(id);
    if (!c || !c->enabled || c->t.kind != Kind::ListView) return;
    focus(id);
    c = find(id);
    if (!c) return;
    const int rows = static_cast<int>(c->rows.size());
    if (row < 0 || row >= rows) row = -1;
    const Rect list = controlRect(id);
    Point at{4, kHeaderHeight + rows * kRowHeight + 4};
    if (row >= 0) {
        const Rect r = cellRect(id, row, 0);
        at = Point{r.x - list.x + 2, r.y - list.y + 2};
        if (!c->selected[static_cast<size_t>(row)]) {
            std::fill(c->selected.begin(), c->selected.end(), false);
            c->selected[static_cast<size_t>(row)] = true;
            owner_.handleCommand(id, Notify::ItemChanged);
        }
    }
    owner_.handleListContextMenu(id, row, at);
}

void HeadlessWindow::resize(int width, int height) {
    if (!acting()) return;
    const int minW = template_.minWidth > 0 ? template_.minWidth : template_.width;
    const int minH = template_.minHeight > 0 ? template_.minHeight : template_.height;
    if (!template_.resizable) return;
    client_ = Size{std::max(width, minW), std::max(height, minH)};
    owner_.handleSize(client_.width, client_.height);
}

void HeadlessWindow::minimize(bool on) {
    if (!acting()) return;
    minimized_ = on;
    if (on) owner_.handleSize(0, 0);
}

void HeadlessWindow::closeBox() {
    if (!acting()) return;
    owner_.handleClose();
}

void HeadlessWindow::help() {
    if (!acting()) return;
    owner_.handleHelp();
}

RecordingCanvas HeadlessWindow::paint(int id) {
    const Rect r = controlRect(id);
    RecordingCanvas canvas(Size{r.width, r.height});
    canvas.face = backend_.faceColour;
    canvas.window = backend_.windowColour;
    if (find(id)) owner_.handlePaint(id, canvas);
    return canvas;
}

// --- DialogWindow

int HeadlessWindow::runModal() {
    backend_.modalTitles.push_back(title_);
    if (!ended_) {
        if (auto script = backend_.takeScript()) script(*this);
    }
    if (!ended_) closeBox();
    if (!ended_) end(kIdCancel);
    return endCode_;
}

void HeadlessWindow::end(int code) {
    ended_ = true;
    endCode_ = code;
}

bool HeadlessWindow::hasControl(int id) const { return find(id) != nullptr; }

void HeadlessWindow::setText(int id, const std::string& utf8) {
    if (Control* c = find(id)) {
        c->text = utf8;
        c->allSelected = false;
        if (c->t.kind == Kind::DropList) {
            const auto it = std::find(c->items.begin(), c->items.end(), utf8);
            c->selection = it == c->items.end() ? -1 : static_cast<int>(it - c->items.begin());
        }
    }
}

std::string HeadlessWindow::text(int id) const {
    const Control* c = find(id);
    return c ? c->text : std::string();
}

void HeadlessWindow::enable(int id, bool on) {
    if (Control* c = find(id)) c->enabled = on;
}

bool HeadlessWindow::isEnabled(int id) const {
    const Control* c = find(id);
    return c && c->enabled;
}

void HeadlessWindow::show(int id, bool on) {
    if (Control* c = find(id)) c->visible = on;
}

bool HeadlessWindow::isVisible(int id) const {
    const Control* c = find(id);
    return c && c->visible;
}

void HeadlessWindow::setTextColour(int id, Colour col) {
    if (Control* c = find(id)) c->colour = col;
}

Colour HeadlessWindow::textColour(int id) const {
    const Control* c = find(id);
    return c ? c->colour : kBlack;
}

void HeadlessWindow::setFont(int id, const Font& f) {
    if (Control* c = find(id)) c->font = f;
}

Font HeadlessWindow::font(int id) const {
    const Control* c = find(id);
    return c ? c->font : Font{};
}

void HeadlessWindow::setFocus(int id) {
    if (find(id)) focus(id);
}

Rect HeadlessWindow::controlRect(int id) const {
    const Control* c = find(id);
    return c ? c->t.rect : Rect{};
}

void HeadlessWindow::moveControl(int id, const Rect& r) {
    if (Control* c = find(id)) c->t.rect = r;
}

void HeadlessWindow::refresh(int id) {
    if (Control* c = find(id)) ++c->refreshes;
}

int HeadlessWindow::refreshCount(int id) const {
    const Control* c = find(id);
    return c ? c->refreshes : 0;
}

void HeadlessWindow::setTooltip(int id, const std::string& utf8) {
    if (Control* c = find(id)) c->tooltip = utf8;
}

std::string HeadlessWindow::tooltip(int id) const {
    const Control* c = find(id);
    return c ? c->tooltip : std::string();
}

void HeadlessWindow::setCursor(int id, Cursor cur) {
    if (Control* c = find(id)) c->cursor = cur;
}

Cursor HeadlessWindow::cursor(int id) const {
    const Control* c = find(id);
    return c ? c->cursor : Cursor::Arrow;
}

void HeadlessWindow::createControl(const ControlTemplate& t) {
    if (t.id != kStaticId && find(t.id)) destroyControl(t.id);
    Control c;
    c.t = t;
    c.text = t.text;
    c.enabled = !(t.style & kDisabled);
    c.visible = !(t.style & kHidden);
    controls_.push_back(std::move(c));
}

void HeadlessWindow::destroyControl(int id) {
    if (id == kStaticId) return;
    controls_.erase(std::remove_if(controls_.begin(), controls_.end(), [id](const Control& c) { return c.t.id == id; }),
                    controls_.end());
    if (focus_ == id) focus_ = kStaticId;
    if (captor_ == id) captor_ = kStaticId;
}

void HeadlessWindow::setChecked(int id, bool on) {
    if (Control* c = find(id)) c->checked = on;
}

bool HeadlessWindow::isChecked(int id) const {
    const Control* c = find(id);
    return c && c->checked;
}

void HeadlessWindow::selectAllText(int id) {
    if (Control* c = find(id)) c->allSelected = true;
}

bool HeadlessWindow::allTextSelected(int id) const {
    const Control* c = find(id);
    return c && c->allSelected;
}

void HeadlessWindow::clearItems(int id) {
    if (Control* c = find(id)) {
        c->items.clear();
        c->selection = -1;
    }
}

void HeadlessWindow::addItem(int id, const std::string& utf8) {
    if (Control* c = find(id)) c->items.push_back(utf8);
}

int HeadlessWindow::itemCount(int id) const {
    const Control* c = find(id);
    return c ? static_cast<int>(c->items.size()) : 0;
}

std::string HeadlessWindow::itemText(int id, int index) const {
    const Control* c = find(id);
    if (!c || index < 0 || index >= static_cast<int>(c->items.size())) return {};
    return c->items[static_cast<size_t>(index)];
}

void HeadlessWindow::setSelection(int id, int index) {
    Control* c = find(id);
    if (!c) return;
    if (index < 0 || index >= static_cast<int>(c->items.size())) {
        c->selection = -1;
        c->text.clear();
        return;
    }
    c->selection = index;
    c->text = c->items[static_cast<size_t>(index)];
}

int HeadlessWindow::selection(int id) const {
    const Control* c = find(id);
    return c ? c->selection : -1;
}

void HeadlessWindow::showDropDown(int id) {
    if (Control* c = find(id)) c->droppedDown = true;
}

bool HeadlessWindow::droppedDown(int id) const {
    const Control* c = find(id);
    return c && c->droppedDown;
}

void HeadlessWindow::addColumn(int id, const ListColumn& column) {
    if (Control* c = find(id)) {
        c->columns.push_back(column);
        for (auto& r : c->rows) r.resize(c->columns.size());
    }
}

void HeadlessWindow::deleteAllColumns(int id) {
    if (Control* c = find(id)) {
        c->columns.clear();
        for (auto& r : c->rows) r.clear();
    }
}

int HeadlessWindow::columnCount(int id) const {
    const Control* c = find(id);
    return c ? static_cast<int>(c->columns.size()) : 0;
}

ListColumn HeadlessWindow::column(int id, int col) const {
    const Control* c = find(id);
    if (!c || col < 0 || col >= static_cast<int>(c->columns.size())) return {};
    return c->columns[static_cast<size_t>(col)];
}

int HeadlessWindow::columnWidth(int id, int col) const { return column(id, col).width; }

void HeadlessWindow::setColumnWidth(int id, int col, int width) {
    Control* c = find(id);
    if (c && col >= 0 && col < static_cast<int>(c->columns.size())) c->columns[static_cast<size_t>(col)].width = width;
}

void HeadlessWindow::insertRow(int id, int row, const std::string& firstCell) {
    Control* c = find(id);
    if (!c) return;
    row = std::clamp(row, 0, static_cast<int>(c->rows.size()));
    std::vector<std::string> cells(std::max<size_t>(c->columns.size(), 1));
    cells[0] = firstCell;
    c->rows.insert(c->rows.begin() + row, std::move(cells));
    c->selected.insert(c->selected.begin() + row, false);
    c->rowColours.insert(c->rowColours.begin() + row, {kBlack, kWhite});
}

void HeadlessWindow::setCell(int id, int row, int col, const std::string& utf8) {
    Control* c = find(id);
    if (!c || row < 0 || row >= static_cast<int>(c->rows.size()) || col < 0) return;
    auto& cells = c->rows[static_cast<size_t>(row)];
    if (col >= static_cast<int>(cells.size())) return;
    cells[static_cast<size_t>(col)] = utf8;
}

std::string HeadlessWindow::cell(int id, int row, int col) const {
    const Control* c = find(id);
    if (!c || row < 0 || row >= static_cast<int>(c->rows.size()) || col < 0) return {};
    const auto& cells = c->rows[static_cast<size_t>(row)];
    return col < static_cast<int>(cells.size()) ? cells[static_cast<size_t>(col)] : std::string();
}

int HeadlessWindow::rowCount(int id) const {
    const Control* c = find(id);
    return c ? static_cast<int>(c->rows.size()) : 0;
}

void HeadlessWindow::deleteRow(int id, int row) {
    Control* c = find(id);
    if (!c || row < 0 || row >= static_cast<int>(c->rows.size())) return;
    c->rows.erase(c->rows.begin() + row);
    c->selected.erase(c->selected.begin() + row);
    c->rowColours.erase(c->rowColours.begin() + row);
}

void HeadlessWindow::deleteAllRows(int id) {
    if (Control* c = find(id)) {
        c->rows.clear();
        c->selected.clear();
        c->rowColours.clear();
        c->topRow = 0;
    }
}

void HeadlessWindow::setRowColours(int id, int row, Colour text, Colour background) {
    Control* c = find(id);
    if (!c || row < 0 || row >= static_cast<int>(c->rows.size())) return;
    c->rowColours[static_cast<size_t>(row)] = {text, background};
}

std::pair<Colour, Colour> HeadlessWindow::rowColours(int id, int row) const {
    const Control* c = find(id);
    if (!c || row < 0 || row >= static_cast<int>(c->rows.size())) return {kBlack, kWhite};
    return c->rowColours[static_cast<size_t>(row)];
}

std::vector<int> HeadlessWindow::selectedRows(int id) const {
    std::vector<int> out;
    if (const Control* c = find(id))
        for (size_t i = 0; i < c->selected.size(); ++i)
            if (c->selected[i]) out.push_back(static_cast<int>(i));
    return out;
}

void HeadlessWindow::selectRow(int id, int row, bool sel) {
    Control* c = find(id);
    if (!c || row < 0 || row >= static_cast<int>(c->rows.size())) return;
    if (sel && (c->t.style & kSingleSelection)) std::fill(c->selected.begin(), c->selected.end(), false);
    c->selected[static_cast<size_t>(row)] = sel;
}

void HeadlessWindow::ensureRowVisible(int id, int row) {
    Control* c = find(id);
    if (!c || row < 0) return;
    const int visible = std::max(1, (c->t.rect.height - kHeaderHeight) / kRowHeight);
    if (row < c->topRow) c->topRow = row;
    if (row >= c->topRow + visible) c->topRow = row - visible + 1;
}

void HeadlessWindow::scrollList(int id, int dx, int rows) {
    Control* c = find(id);
    if (!c) return;
    int total = 0;
    for (const auto& col : c->columns) total += col.width;
    c->hScroll = std::clamp(c->hScroll + dx, 0, std::max(0, total - c->t.rect.width));
    c->topRow = std::clamp(c->topRow + rows, 0, std::max(0, static_cast<int>(c->rows.size()) - 1));
}

int HeadlessWindow::horizontalScroll(int id) const {
    const Control* c = find(id);
    return c ? c->hScroll : 0;
}

int HeadlessWindow::topRow(int id) const {
    const Control* c = find(id);
    return c ? c->topRow : 0;
}

int HeadlessWindow::rowHeight(int) const { return kRowHeight; }

Rect HeadlessWindow::cellRect(int id, int row, int col) const {
    const Control* c = find(id);
    if (!c) return {};
    int left = 0;
    for (int i = 0; i < col && i < static_cast<int>(c->columns.size()); ++i)
        left += c->columns[static_cast<size_t>(i)].width;
    const int width = col >= 0 && col < static_cast<int>(c->columns.size()) ? c->columns[static_cast<size_t>(col)].width : 0;
    return Rect{c->t.rect.x + left - c->hScroll, c->t.rect.y + kHeaderHeight + (row - c->topRow) * kRowHeight, width,
                kRowHeight};
}

ListHit HeadlessWindow::hitTest(int id, int x, int y) const {
    const Control* c = find(id);
    ListHit hit;
    if (!c || y < kHeaderHeight) return hit;
    const int row = c->topRow + (y - kHeaderHeight) / kRowHeight;
    if (row < 0 || row >= static_cast<int>(c->rows.size())) return hit;
    int left = -c->hScroll;
    for (size_t i = 0; i < c->columns.size(); ++i) {
        const int w = c->columns[i].width;
        if (x >= left && x <= left + w) {
            hit.row = row;
            hit.column = static_cast<int>(i);
            return hit;
        }
        left += w;
    }
    hit.row = row;  // on the row, past the last column
    return hit;
}

void HeadlessWindow::setRange(int id, int r) {
    if (Control* c = find(id)) c->range = r;
}

void HeadlessWindow::setPosition(int id, int p) {
    if (Control* c = find(id)) c->position = p;
}

int HeadlessWindow::position(int id) const {
    const Control* c = find(id);
    return c ? c->position : 0;
}

int HeadlessWindow::range(int id) const {
    const Control* c = find(id);
    return c ? c->range : 0;
}

// ---------------------------------------------------------------- HeadlessBackend

HeadlessBackend::HeadlessBackend() {
    // Installed for the lifetime of the object.
    previous_ = setBackend(this);
}

HeadlessBackend::~HeadlessBackend() { setBackend(previous_); }

std::unique_ptr<DialogWindow> HeadlessBackend::createWindow(Dialog& owner, const DialogTemplate& t, DialogWindow*) {
    return std::make_unique<HeadlessWindow>(*this, owner, t);
}

int HeadlessBackend::messageBox(DialogWindow* parent, const std::string& text, const std::string& caption,
                                Buttons buttons, Icon icon) {
    messages.push_back(ShownMessage{text, caption, buttons, icon, parent != nullptr});
    if (!messageAnswers_.empty()) {
        const int code = messageAnswers_.front();
        messageAnswers_.pop_front();
        return code;
    }
    switch (buttons) {
        case Buttons::YesNo:
        case Buttons::YesNoCancel: return kIdYes;
        case Buttons::RetryCancel: return kIdRetry;
        default: return kIdOk;
    }
}

std::optional<std::vector<std::filesystem::path>> HeadlessBackend::fileDialog(DialogWindow*,
                                                                              const FileDialogOptions& options) {
    fileDialogs.push_back(options);
    if (fileAnswers_.empty()) return std::nullopt;
    const bool chosen = fileAnswers_.front().has_value();
    std::vector<std::filesystem::path> files;
    if (chosen) files.swap(*fileAnswers_.front());
    fileAnswers_.pop_front();
    if (!chosen) return std::nullopt;
    return files;
}

std::optional<std::filesystem::path> HeadlessBackend::folderDialog(DialogWindow*, const FolderDialogOptions& options) {
    folderDialogs.push_back(options);
    if (folderAnswers_.empty()) return std::nullopt;
    std::optional<std::filesystem::path> folder = std::move(folderAnswers_.front());
    folderAnswers_.pop_front();
    return folder;
}

int HeadlessBackend::popupMenu(DialogWindow*, int, Point, const std::vector<MenuItem>& items) {
    menus.push_back(items);
    if (menuAnswers_.empty()) return 0;
    const int id = menuAnswers_.front();
    menuAnswers_.pop_front();
    for (const MenuItem& item : items)
        if (item.id != 0 && item.id == id) return item.enabled ? id : 0;
    return 0;
}

bool HeadlessBackend::openUrl(const std::string& url) {
    openedUrls.push_back(url);
    return urlsOpen;
}

std::vector<std::string> HeadlessBackend::messageTexts() const {
    std::vector<std::string> out;
    for (const auto& m : messages) out.push_back(m.text);
    return out;
}

std::function<void(HeadlessWindow&)> HeadlessBackend::takeScript() {
    if (modalScripts_.empty()) return {};
    auto s = std::move(modalScripts_.front());
    modalScripts_.pop_front();
    return s;
}

HeadlessWindow& openHeadless(Dialog& dialog) {
    dialog.create();
    return static_cast<HeadlessWindow&>(dialog.window());
}

}  // namespace ui
