// The resizer, the web link and the import file dialog, driven through the headless window layer.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "CDlgItemResizer.h"
#include "CMyHyperLink.h"
#include "CXFileDialog.h"
#include "HeadlessBackend.h"

namespace {

using ui::HeadlessWindow;
using ui::Rect;
using A = CDlgItemResizer;

// ---------------------------------------------------------------- CDlgItemResizer

enum { kStretch = 10, kRightOnly, kLeftOnly, kTall, kBottomOnly, kTopOnly, kCorner, kInside };

class ResizableDialog : public ui::Dialog {
public:
    ResizableDialog() : Dialog(makeTemplate()) {}
    static ui::DialogTemplate makeTemplate() {
        ui::DialogTemplate t;
        t.title = "Размеры";
        t.width = 400;
        t.height = 300;
        t.resizable = true;
        t.minWidth = 150;
        t.minHeight = 100;
        t.controls = {
            {kStretch, ui::Kind::ListView, "", {10, 10, 200, 100}, 0},
            {kRightOnly, ui::Kind::Button, "OK", {310, 10, 80, 26}, 0},
            {kLeftOnly, ui::Kind::Label, "Метка", {10, 120, 60, 16}, 0},
            {kTall, ui::Kind::Canvas, "", {220, 40, 80, 150}, 0},
            {kBottomOnly, ui::Kind::Button, "Выход", {10, 260, 80, 26}, 0},
            {kTopOnly, ui::Kind::Edit, "", {100, 140, 60, 22}, 0},
            {kCorner, ui::Kind::Button, "Печать", {310, 260, 80, 26}, 0},
            {kInside, ui::Kind::Edit, "", {240, 200, 120, 22}, 0},
        };
        return t;
    }
    CDlgItemResizer resizer;

protected:
    bool onInitDialog() override {
        resizer.add(window(), kStretch, A::kLeft | A::kRight | A::kTop);
        resizer.add(window(), kRightOnly, A::kRight | A::kTop);
        resizer.add(window(), kLeftOnly, A::kLeft | A::kTop);
        resizer.add(window(), kTall, A::kLeft | A::kTop | A::kBottom);
        resizer.add(window(), kBottomOnly, A::kLeft | A::kBottom);
        resizer.add(window(), kTopOnly, A::kTop);
        resizer.add(window(), kCorner, A::kRight | A::kBottom);
        resizer.add(window(), kInside, A::kLeft | A::kTop | A::kKeepInside);
        return true;
    }
    void onSize(int width, int height) override { resizer.resize(window(), width, height); }
};

TEST(ControlsResizerTest, ControlsFollowTheEdgesTheyAreAnchoredTo) {
    ui::HeadlessBackend backend;
    ResizableDialog d;
    HeadlessWindow& w = ui::openHeadless(d);
    EXPECT_EQ(d.resizer.initialSize(), (ui::Size{400, 300}));
    EXPECT_EQ(d.resizer.entries().size(), 8u);

    w.resize(500, 350);
    EXPECT_EQ(w.controlRect(kStretch), (Rect{10, 10, 300, 100}));
    EXPECT_EQ(w.controlRect(kRightOnly), (Rect{410, 10, 80, 26}));
    EXPECT_EQ(w.controlRect(kLeftOnly), (Rect{10, 120, 60, 16}));
    EXPECT_EQ(w.controlRect(kTall), (Rect{220, 40, 80, 200}));
    EXPECT_EQ(w.controlRect(kBottomOnly), (Rect{10, 310, 80, 26}));
    EXPECT_EQ(w.controlRect(kTopOnly), (Rect{100, 140, 60, 22}));
    EXPECT_EQ(w.controlRect(kCorner), (Rect{410, 310, 80, 26}));
    // Moved and resized controls are repainted; the ones left alone are not.
    EXPECT_EQ(w.refreshCount(kStretch), 1);
    EXPECT_EQ(w.refreshCount(kCorner), 1);
    EXPECT_EQ(w.refreshCount(kLeftOnly), 0);
    EXPECT_EQ(w.refreshCount(kTopOnly), 0);

    // Minimised: nothing moves.
    w.minimize(true);
    EXPECT_EQ(w.controlRect(kStretch), (Rect{10, 10, 300, 100}));
    EXPECT_EQ(w.controlRect(kCorner), (Rect{410, 310, 80, 26}));
    w.minimize(false);

    // Every size is measured from the first one, so going back restores the template exactly.
    w.resize(400, 300);
    for (const auto& c : ResizableDialog::makeTemplate().controls) EXPECT_EQ(w.controlRect(c.id), c.rect) << c.id;
    d.destroy();
}

TEST(ControlsResizerTest, SmallerThanAtFirstAndKeptInside) {
    ui::HeadlessBackend backend;
    ResizableDialog d;
    HeadlessWindow& w = ui::openHeadless(d);

    w.resize(200, 150);  // 200 narrower, 150 lower
    EXPECT_EQ(w.controlRect(kStretch), (Rect{10, 10, 0, 100}));  // never less than nothing
    EXPECT_EQ(w.controlRect(kTall), (Rect{220, 40, 80, 0}));
    EXPECT_EQ(w.controlRect(kRightOnly), (Rect{110, 10, 80, 26}));
    // Anchored left and top it would end at 360: moved back to end at the right edge.
    EXPECT_EQ(w.controlRect(kInside), (Rect{80, 128, 120, 22}));
    d.destroy();

    // Larger than the client area: at the left (top) edge, cut to fit.
    EXPECT_EQ(A::place({50, 50, 300, 40}, A::kLeft | A::kTop | A::kKeepInside, 0, 0, {200, 30}), (Rect{0, 0, 200, 30}));
    // Inside already: untouched, whatever the anchors.
    EXPECT_EQ(A::place({50, 50, 30, 20}, A::kRight | A::kKeepInside, -10, 0, {200, 100}), (Rect{40, 50, 30, 20}));
    // Anchored to neither side of a direction: stays where it was, like left or top alone.
    EXPECT_EQ(A::place({50, 50, 30, 20}, 0, 100, 100, {500, 500}), (Rect{50, 50, 30, 20}));
}

// ---------------------------------------------------------------- CMyHyperLink

constexpr int kLink = 1042;

class LinkDialog : public ui::Dialog {
public:
    explicit LinkDialog(ui::Kind kind = ui::Kind::Canvas) : Dialog(makeTemplate(kind)) {}
    static ui::DialogTemplate makeTemplate(ui::Kind kind) {
        ui::DialogTemplate t;
        t.title = "О программе";
        t.width = 300;
        t.height = 120;
        t.controls = {
            {kLink, kind, "trajekton.ru", {20, 40, 120, 16}, 0},
            {ui::kIdOk, ui::Kind::Button, "OK", {200, 80, 80, 26}, ui::kDefault},
        };
        return t;
    }
    CMyHyperLink link;
    std::vector<std::pair<int, ui::Notify>> commands;

protected:
    bool onInitDialog() override {
        link.setTooltip("Открыть сайт");
        link.setLink("https://trajekton.ru/");
        link.attach(*this, kLink);
        return true;
    }
    void onCommand(int id, ui::Notify n) override {
        commands.emplace_back(id, n);
        Dialog::onCommand(id, n);
    }
};

ui::MouseEvent mouseAt(ui::MouseEvent::Type type, int x, int y) {
    ui::MouseEvent m;
    m.type = type;
    m.x = x;
    m.y = y;
    return m;
}

void clickAt(HeadlessWindow& w, int id, int x, int y) {
    w.mouse(id, mouseAt(ui::MouseEvent::LeftDown, x, y));
    w.mouse(id, mouseAt(ui::MouseEvent::LeftUp, x, y));
}

TEST(ControlsHyperLinkTest, LooksLikeALinkAndLightsUpWhileThePointerIsOverIt) {
    ui::HeadlessBackend backend;
    LinkDialog d;
    HeadlessWindow& w = ui::openHeadless(d);
    EXPECT_TRUE(w.font(kLink).underline);
    EXPECT_EQ(w.cursor(kLink), ui::Cursor::Hand);
    EXPECT_EQ(w.tooltip(kLink), "Открыть сайт");
    EXPECT_EQ(w.textColour(kLink), CMyHyperLink::kLinkColour);
    EXPECT_EQ(d.link.text(), "trajekton.ru");

    const int painted = w.refreshCount(kLink);
    w.mouse(kLink, mouseAt(ui::MouseEvent::Move, 10, 5));
    EXPECT_TRUE(d.link.hovering());
    EXPECT_EQ(w.mouseCaptor(), kLink);
    EXPECT_EQ(w.textColour(kLink), (ui::Colour{255, 0, 0}));
    EXPECT_GT(w.refreshCount(kLink), painted);
    const auto hovered = w.paint(kLink);
    ASSERT_EQ(hovered.texts(), std::vector<std::string>{"trajekton.ru"});
    EXPECT_EQ(hovered.ops.back().colour, CMyHyperLink::kHoverColour);
    EXPECT_TRUE(hovered.ops.back().font.underline);

    // Moving on over the link changes nothing; leaving it (seen through the capture, in the link's
    // coordinates) lets the mouse go and paints the link blue again.
    w.mouse(kLink, mouseAt(ui::MouseEvent::Move, 60, 8));
    EXPECT_EQ(w.mouseCaptor(), kLink);
    const int before = w.refreshCount(kLink);
    w.mouse(ui::kIdOk, mouseAt(ui::MouseEvent::Move, 5, 5));
    EXPECT_FALSE(d.link.hovering());
    EXPECT_EQ(w.mouseCaptor(), ui::kStaticId);
    EXPECT_EQ(w.textColour(kLink), CMyHyperLink::kLinkColour);
    EXPECT_GT(w.refreshCount(kLink), before);

    w.mouse(kLink, mouseAt(ui::MouseEvent::Move, 10, 5));
    w.mouse(kLink, mouseAt(ui::MouseEvent::Leave, 0, 0));
    EXPECT_FALSE(d.link.hovering());
    EXPECT_EQ(w.mouseCaptor(), ui::kStaticId);
    EXPECT_TRUE(backend.openedUrls.empty());
    d.destroy();
}

TEST(ControlsHyperLinkTest, AClickOpensThePageAndTheLinkIsVisited) {
    ui::HeadlessBackend backend;
    LinkDialog d(ui::Kind::Label);
    HeadlessWindow& w = ui::openHeadless(d);

    // Pressed on the link, let go elsewhere: no click.
    w.mouse(kLink, mouseAt(ui::MouseEvent::Move, 10, 5));
    w.mouse(kLink, mouseAt(ui::MouseEvent::LeftDown, 10, 5));
    w.mouse(kLink, mouseAt(ui::MouseEvent::LeftUp, 200, 5));
    EXPECT_TRUE(backend.openedUrls.empty());

    w.mouse(kLink, mouseAt(ui::MouseEvent::Move, 10, 5));
    clickAt(w, kLink, 10, 5);
    EXPECT_EQ(backend.openedUrls, std::vector<std::string>{"https://trajekton.ru/"});
    EXPECT_TRUE(d.link.visited());
    EXPECT_EQ(w.mouseCaptor(), ui::kStaticId);
    // Visited wins over hovering.
    w.mouse(kLink, mouseAt(ui::MouseEvent::Move, 10, 5));
    EXPECT_EQ(w.textColour(kLink), (ui::Colour{5, 34, 143}));
    EXPECT_EQ(d.link.colour(), CMyHyperLink::kVisitedColour);
    EXPECT_TRUE(d.commands.empty());
    EXPECT_EQ(backend.beeps, 0);
    d.destroy();
}

TEST(ControlsHyperLinkTest, NotifyModeTellsTheDialogAndAFailedOpenIsNotAVisit) {
    ui::HeadlessBackend backend;
    {
        LinkDialog d;
        HeadlessWindow& w = ui::openHeadless(d);
        d.link.setNotify(true);
        clickAt(w, kLink, 3, 3);
        EXPECT_TRUE(backend.openedUrls.empty());
        ASSERT_EQ(d.commands.size(), 1u);
        EXPECT_EQ(d.commands[0], std::make_pair(kLink, ui::Notify::Clicked));
        EXPECT_TRUE(d.link.visited());
        EXPECT_EQ(w.paint(kLink).ops.back().colour, CMyHyperLink::kVisitedColour);
        d.destroy();
    }
    {
        backend.urlsOpen = false;
        LinkDialog d;
        HeadlessWindow& w = ui::openHeadless(d);
        clickAt(w, kLink, 3, 3);
        EXPECT_EQ(backend.openedUrls.size(), 1u);
        EXPECT_FALSE(d.link.visited());
        EXPECT_EQ(w.textColour(kLink), CMyHyperLink::kLinkColour);
        EXPECT_EQ(backend.beeps, 1);
        d.destroy();
    }
}

// ---------------------------------------------------------------- CXFileDialog

TEST(ControlsFileDialogTest, ImportDialogReturnsEveryChosenFile) {
    ui::HeadlessBackend backend;
    // Far more than a fixed 64 KB buffer of names would have held.
    std::vector<std::filesystem::path> chosen;
    for (int i = 0; i < 400; ++i)
        chosen.push_back(std::filesystem::path("/data/очень длинное имя папки с драг-функциями") /
                         (std::string(200, 'x') + std::to_string(i) + ".snr"));
    backend.answerFileDialog(chosen);

    CXFileDialog dlg("Драг-функции (*.snr)|*.snr|Все файлы (*.*)|*.*||", "snr", "/data");
    EXPECT_EQ(dlg.doModal(), ui::kIdOk);
    EXPECT_EQ(dlg.fileNames(), chosen);

    ASSERT_EQ(backend.fileDialogs.size(), 1u);
    const ui::FileDialogOptions& o = backend.fileDialogs[0];
    EXPECT_FALSE(o.save);
    EXPECT_TRUE(o.multipleSelection);
    EXPECT_EQ(o.okLabel, "Импорт!");
    EXPECT_EQ(o.defaultExtension, "snr");
    EXPECT_EQ(o.folder, std::filesystem::path("/data"));
    ASSERT_EQ(o.filters.size(), 2u);
    EXPECT_EQ(o.filters[0].label, "Драг-функции (*.snr)");
    EXPECT_EQ(o.filters[1].pattern, "*.*");

    // Cancelled, or closed with nothing chosen: no files from the last time either.
    backend.answerFileDialog(std::nullopt);
    EXPECT_EQ(dlg.doModal(), ui::kIdCancel);
    EXPECT_TRUE(dlg.fileNames().empty());
    backend.answerFileDialog(std::vector<std::filesystem::path>{});
    EXPECT_EQ(dlg.doModal(), ui::kIdCancel);

    // Names typed together into the name field come back as one quoted string.
    backend.answerFileDialog(std::vector<std::filesystem::path>{"/no/such/folder/\"a.snr\" \"b c.drg\""});
    EXPECT_EQ(dlg.doModal(), ui::kIdOk);
    EXPECT_EQ(dlg.fileNames(), (std::vector<std::filesystem::path>{"/no/such/folder/a.snr", "/no/such/folder/b c.drg"}));
}

TEST(ControlsFileDialogTest, QuotedNamesAndFilterStrings) {
    using V = std::vector<std::string>;
    EXPECT_EQ(CXFileDialog::splitQuotedNames(R"("a.snr" "b.snr")"), (V{"a.snr", "b.snr"}));
    EXPECT_EQ(CXFileDialog::splitQuotedNames(R"("с пробелом.snr" "x.pro" "y.dat")"), (V{"с пробелом.snr", "x.pro", "y.dat"}));
    EXPECT_EQ(CXFileDialog::splitQuotedNames("one.snr"), (V{"one.snr"}));
    EXPECT_EQ(CXFileDialog::splitQuotedNames("  one.snr "), (V{"one.snr"}));
    EXPECT_EQ(CXFileDialog::splitQuotedNames(R"("a.snr" "" "b)"), (V{"a.snr", "b"}));
    EXPECT_TRUE(CXFileDialog::splitQuotedNames("").empty());
    EXPECT_TRUE(CXFileDialog::splitQuotedNames(R"("" " ")").empty());

    const auto f = CXFileDialog::parseFilter("A (*.a)|*.a|B|*.b;*.c||");
    ASSERT_EQ(f.size(), 2u);
    EXPECT_EQ(f[1].label, "B");
    EXPECT_EQ(f[1].pattern, "*.b;*.c");
    EXPECT_EQ(CXFileDialog::parseFilter("A|*.a").size(), 1u);     // without the closing bars
    EXPECT_EQ(CXFileDialog::parseFilter("A|*.a||B|*.b").size(), 1u);  // nothing after "||"
    EXPECT_TRUE(CXFileDialog::parseFilter("A||").empty());
    EXPECT_TRUE(CXFileDialog::parseFilter("").empty());
}

}  // namespace
