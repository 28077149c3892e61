#include "COScopeCtrl.h"

#include <utility>

COScopeCtrl::~COScopeCtrl() { detach(); }

void COScopeCtrl::attach(ui::Dialog& dialog, int id) {
    detach();
    dialog_ = &dialog;
    id_ = id;
    dialog.attach(id, this);
    repaint();
}

void COScopeCtrl::detach() {
    if (dialog_ && dialog_->isOpen()) dialog_->attach(id_, nullptr);
    dialog_ = nullptr;
    id_ = ui::kStaticId;
}

void COScopeCtrl::setRange(double lower, double upper, double xMin, double xMax) {
    plot_.range = scopeplot::rangeOf(lower, upper, xMin, xMax);
    repaint();
}

void COScopeCtrl::setCurve(std::vector<DragElement> points) {
    plot_.points = std::move(points);
    repaint();
}

void COScopeCtrl::setColours(const scopeplot::Colours& colours) {
    plot_.colours = colours;
    repaint();
}

void COScopeCtrl::setTitle(scopeplot::Title title) {
    plot_.title = title;
    repaint();
}

void COScopeCtrl::setCaption(const std::string& utf8) {
    plot_.caption = utf8;
    repaint();
}

void COScopeCtrl::showDragCurve(std::vector<DragElement> points, bool fromFirstPoint) {
    plot_ = scopeplot::dragCurvePlot(std::move(points), fromFirstPoint, std::move(plot_.caption));
    repaint();
}

void COScopeCtrl::repaint() {
    if (dialog_ && dialog_->isOpen()) dialog_->window().refresh(id_);
}

bool COScopeCtrl::onPaint(ui::Canvas& canvas) {
    scopeplot::paint(canvas, plot_);
    return true;
}
