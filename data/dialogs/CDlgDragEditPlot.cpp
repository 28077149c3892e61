#include "CDlgDragEditPlot.h"

#include <cmath>

#include "CDlgDrugPlot.h"
#include "TemplateBuilder.h"
#include "TextCodec.h"

namespace {
constexpr ui::Colour kGreen{0, 255, 0};
constexpr ui::Colour kLilac{153, 153, 255};
}  // namespace

const std::vector<CDlgDragEditPlot::ButtonInfo>& CDlgDragEditPlot::buttons() {
    static const std::vector<ButtonInfo> all = {
        {kRaise, CurveButton::Raise, "Поднять график", ui::kRed},
        {kLower, CurveButton::Lower, "Опустить график", kGreen},
        {kLowerPeak, CurveButton::LowerPeak, "Опустить вершину", kGreen},
        {kRaisePeak, CurveButton::RaisePeak, "Поднять вершину", kGreen},
        {kRaiseRight, CurveButton::RaiseRight, "Поднять правую сторону", kLilac},
        {kLowerRight, CurveButton::LowerRight, "Опустить правую сторону", kLilac},
    };
    return all;
}

CDlgDragEditPlot::CDlgDragEditPlot(const DragFunc& f, double& curveStep, ui::Dialog* parent)
    : ui::Dialog(makeTemplate(), parent),
      points_(f.points),
      caption_(cp1251ToUtf8(f.nameText())),
      curveStep_(curveStep),
      step_(curveStep) {}

ui::DialogTemplate CDlgDragEditPlot::makeTemplate() {
    ui::DialogTemplate t;
    t.id = IDD;
    t.title = "Редактирование по графику";
    t.width = 760;
    t.height = 596;
    // A larger plot; the buttons' rows need the width they have.
    t.resizable = true;
    t.minHeight = 480;
    ui::TemplateBuilder b(t);
    b.add(kPlot, ui::Kind::Canvas, {}, ui::Rect{10, 10, 740, 400}, ui::kSunken);
    // Two rows of three: the whole curve, the peak, the right side.
    const auto& all = buttons();
    const int xs[] = {10, 262, 514};
    const int order[2][3] = {{kRaise, kRaisePeak, kRaiseRight}, {kLower, kLowerPeak, kLowerRight}};
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 3; ++col)
            for (const ButtonInfo& info : all)
                if (info.id == order[row][col]) b.button(info.id, info.text, xs[col], 420 + row * 32, 236);
    b.label("Шаг изменения драг-коэффициента:", 10, 490, 250, kStepLabel).edit(kStep, 262, 490, 120, ui::kAlignRight);
    b.label("Поднятие графика ухудшает аэродинамические свойства пули и наоборот...", 10, 522, 740, kHint);
    b.button(ui::kIdOk, "Сохранить", 514, 556, 115).button(ui::kIdCancel, "Отставить!", 635, 556, 115);
    return t;
}

bool CDlgDragEditPlot::onInitDialog() {
    plot_.attach(*this, kPlot);
    updateData(false);
    showCurve(scopeplot::kDragWindowColours.curve);
    resizer_.clear();
    using R = CDlgItemResizer;
    resizer_.add(window(), kPlot, R::kLeft | R::kRight | R::kTop | R::kBottom);
    for (const ButtonInfo& info : buttons()) resizer_.add(window(), info.id, R::kLeft | R::kBottom);
    for (int id : {kStepLabel, kStep, kHint}) resizer_.add(window(), id, R::kLeft | R::kBottom);
    for (int id : {ui::kIdOk, ui::kIdCancel}) resizer_.add(window(), id, R::kRight | R::kBottom);
    // As the plot windows say it.
    if (points_.empty()) messageBox(kNoDragDataMessage, {}, ui::Buttons::Ok, ui::Icon::Warning);
    return true;
}

void CDlgDragEditPlot::doDataExchange(ui::DataExchange& dx) { dx.number(kStep, step_, "Шаг изменения"); }

void CDlgDragEditPlot::showCurve(ui::Colour pen) {
    plot_.showDragCurve(points_, false);
    scopeplot::Colours colours = scopeplot::kDragWindowColours;
    colours.curve = pen;
    plot_.setColours(colours);
    plot_.setCaption(caption_);
}

void CDlgDragEditPlot::press(const ButtonInfo& b) {
    if (!updateData(true)) return;
    if (!std::isfinite(step_) || !(step_ > 0)) {
        refuseField(kStep, kBadStepMessage);
        return;
    }
    curveStep_ = step_;
    const CurveAdjustResult r = adjustCurve(points_, b.button, step_);
    if (!r.changed()) {
        const bool refused = r.end == CurveAdjustEnd::WouldReachZero;
        messageBox(curveAdjustMessage(r), {}, ui::Buttons::Ok, refused ? ui::Icon::Warning : ui::Icon::Information);
        return;
    }
    showCurve(b.pen);
}

void CDlgDragEditPlot::onCommand(int id, ui::Notify n) {
    if (n == ui::Notify::Clicked)
        for (const ButtonInfo& b : buttons())
            if (b.id == id) return press(b);
    ui::Dialog::onCommand(id, n);
}

// "Сохранить" hands the points back whatever stands in the step field.
void CDlgDragEditPlot::onOK() { endDialog(ui::kIdOk); }

void CDlgDragEditPlot::onSize(int width, int height) { resizer_.resize(window(), width, height); }
