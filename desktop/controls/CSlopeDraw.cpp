#include "CSlopeDraw.h"

#include <cmath>
#include <cstdio>

namespace {
constexpr double kPi = 3.141592653589793;
}

void CSlopeDraw::layout(ui::Size size) {
    size_ = size;
    if (dragging_)
        target_ = slope::clampedInside(target_, size_.width, size_.height);
    else
        target_ = slope::targetOf(angle_, size_.width, size_.height);
}

void CSlopeDraw::setAngle(double degrees) {
    angle_ = degrees;
    if (!dragging_) target_ = slope::targetOf(angle_, size_.width, size_.height);
    repaint();
}

void CSlopeDraw::setCosineMode(bool on) {
    cosine_ = on;
    repaint();
}

std::string CSlopeDraw::angleText() const {
    char buf[64];
    if (cosine_)
        std::snprintf(buf, sizeof buf, "cos = %.3f", std::floor(std::cos(angle_ * kPi / 180.0) * 1000.0 + 0.5) / 1000.0);
    else
        std::snprintf(buf, sizeof buf, "%d град.", static_cast<int>(angle_));
    return buf;
}

void CSlopeDraw::placeTarget(int x, int y) {
    target_ = slope::clampedInside(slope::Pixel{x, y}, size_.width, size_.height);
    // The angle follows the pointer, so the corner shows what a release would take.
    angle_ = slope::angleOf(target_, shooter());
    repaint();
}

void CSlopeDraw::endDrag() {
    dragging_ = false;
    if (dialog_ && dialog_->isOpen() && dialog_->window().mouseCaptor() == id_) dialog_->window().releaseMouse();
    angle_ = slope::angleOf(target_, shooter());
    repaint();
}

bool CSlopeDraw::onMouse(const ui::MouseEvent& m) {
    if (!dialog_ || !dialog_->isOpen()) return false;
    switch (m.type) {
        case ui::MouseEvent::LeftDown:
        case ui::MouseEvent::LeftDoubleClick:
            dragging_ = true;
            // Held until the release, wherever the pointer goes meanwhile.
            dialog_->window().captureMouse(id_);
            placeTarget(m.x, m.y);
            return true;
        case ui::MouseEvent::Move:
            if (!dragging_) return false;
            // A button let go where the control did not hear it (the capture was taken away).
            if (!m.leftButton) {
                endDrag();
                return true;
            }
            placeTarget(m.x, m.y);
            return true;
        case ui::MouseEvent::LeftUp:
            if (!dragging_) return false;
            target_ = slope::clampedInside(slope::Pixel{m.x, m.y}, size_.width, size_.height);
            endDrag();
            return true;
        default:
            return false;
    }
}

bool CSlopeDraw::onPaint(ui::Canvas& canvas) {
    const ui::Size s = canvas.size();
    if (!(s == size_)) layout(s);
    const ui::Colour ink = ui::isDark(canvas.windowColour()) ? ui::kWhite : ui::kBlack;
    const slope::Pixel from = shooter();
    const int tx = target_.x, ty = target_.y;

    canvas.fillRect(ui::Rect{0, 0, s.width, s.height}, canvas.faceColour());
    canvas.drawLine(from.x, from.y, s.width, from.y, ink, 1);
    // The target: black rings on white, so it reads on any theme.
    canvas.drawEllipse(ui::Rect{tx - 10, ty - 15, 20, 30}, ui::kBlack, ui::kWhite);
    canvas.drawEllipse(ui::Rect{tx - 7, ty - 10, 14, 20}, ui::kBlack, ui::kWhite);
    canvas.drawLine(tx, ty - 15, tx, ty + 15, ui::kBlack, 1);
    canvas.drawLine(tx - 10, ty, tx + 10, ty, ui::kBlack, 1);
    canvas.drawEllipse(ui::Rect{tx - 3, ty - 5, 6, 10}, ui::kBlack, ui::kWhite);
    canvas.drawLine(from.x, from.y, tx, ty, kSightLine, 2);

    ui::Font font;
    font.face = "Arial Cyr";
    font.bold = true;
    font.pixelHeight = s.width >= 100 ? 14 : 12;
    canvas.drawText(5, 5, angleText(), ink, font);
    return true;
}
