#include "CDlgDrugPlot.h"

#include <cstring>
#include <string_view>
#include <utility>

#include "TemplateBuilder.h"
#include "TextCodec.h"

namespace {
// The plot's size at the start: room for the Mach labels of a table up to Mach 5 and a curve the
// eye can follow.
constexpr int kMargin = 8;
constexpr int kPlotWidth = 640;
constexpr int kPlotHeight = 420;
constexpr int kDescriptionHeight = 50;  // three lines: a description has up to 255 characters
}  // namespace

CDlgDrugPlot::CDlgDrugPlot(const DragFunc& f, ui::Dialog* parent) : CDlgDrugPlot(f, makeTemplate(), false, parent) {}

CDlgDrugPlot::CDlgDrugPlot(const DragFunc& f, ui::DialogTemplate t, bool fromFirstPoint, ui::Dialog* parent)
    : ui::Dialog(std::move(t), parent), fromFirstPoint_(fromFirstPoint) {
    function_.copyFrom(f);
}

ui::DialogTemplate CDlgDrugPlot::makeTemplate() {
    ui::DialogTemplate t;
    t.id = IDD;
    t.title = "График драг-функции";
    addPlotControls(t, 0);
    return t;
}

void CDlgDrugPlot::addPlotControls(ui::DialogTemplate& t, int besidePlot) {
    const int descriptionTop = kMargin + kPlotHeight + kMargin;
    const int buttonTop = descriptionTop + kDescriptionHeight + kMargin;
    t.width = kMargin + kPlotWidth + besidePlot + kMargin;
    t.height = buttonTop + ui::kRowHeight + 4 + kMargin;
    // Smaller than this and the labels of the plot run into each other.
    t.resizable = true;
    t.minWidth = 360 + besidePlot;
    t.minHeight = 300;
    ui::TemplateBuilder b(t);
    b.add(kPlot, ui::Kind::Canvas, {}, ui::Rect{kMargin, kMargin, kPlotWidth, kPlotHeight}, ui::kSunken);
    b.add(kDescription, ui::Kind::Label, {}, ui::Rect{kMargin, descriptionTop, t.width - 2 * kMargin, kDescriptionHeight},
          ui::kMultiline);
    b.button(ui::kIdOk, "Закрыть", t.width - kMargin - 100, buttonTop, 100, ui::kDefault);
}

bool CDlgDrugPlot::onInitDialog() {
    const std::string_view description(function_.description, strnlen(function_.description, sizeof function_.description));
    setText(kDescription, cp1251ToUtf8(description));
    plot_.attach(*this, kPlot);
    plot_.showDragCurve(function_.points, fromFirstPoint_);
    plot_.setCaption(cp1251ToUtf8(function_.nameText()));

    resizer_.clear();
    resizer_.add(window(), kPlot,
                 CDlgItemResizer::kLeft | CDlgItemResizer::kRight | CDlgItemResizer::kTop | CDlgItemResizer::kBottom);
    resizer_.add(window(), kDescription, CDlgItemResizer::kLeft | CDlgItemResizer::kRight | CDlgItemResizer::kBottom);
    resizer_.add(window(), ui::kIdOk, CDlgItemResizer::kRight | CDlgItemResizer::kBottom);

    if (function_.points.empty()) messageBox(kNoDragDataMessage, {}, ui::Buttons::Ok, ui::Icon::Warning);
    return true;
}

void CDlgDrugPlot::onSize(int width, int height) {
    // The resizer repaints what it moves; the picture is laid out from the control's size at each paint.
    resizer_.resize(window(), width, height);
}
