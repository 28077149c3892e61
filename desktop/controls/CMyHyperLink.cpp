#include "CMyHyperLink.h"

CMyHyperLink::~CMyHyperLink() { detach(); }

void CMyHyperLink::attach(ui::Dialog& dialog, int id) {
    detach();
    dialog_ = &dialog;
    id_ = id;
    ui::DialogWindow& w = dialog.window();
    if (text_.empty())
        text_ = w.text(id);
    else
        w.setText(id, text_);
    w.setFont(id, font());
    w.setCursor(id, ui::Cursor::Hand);
    if (!tooltip_.empty()) w.setTooltip(id, tooltip_);
    w.setTextColour(id, colour());
    dialog.attach(id, this);
}

void CMyHyperLink::detach() {
    if (dialog_ && dialog_->isOpen()) {
        if (dialog_->window().mouseCaptor() == id_) dialog_->window().releaseMouse();
        dialog_->attach(id_, nullptr);
    }
    dialog_ = nullptr;
    id_ = ui::kStaticId;
    hover_ = pressed_ = false;
}

void CMyHyperLink::setText(const std::string& utf8) {
    text_ = utf8;
    if (dialog_ && dialog_->isOpen()) {
        dialog_->window().setText(id_, text_);
        repaint();
    }
}

void CMyHyperLink::setTooltip(const std::string& utf8) {
    tooltip_ = utf8;
    if (dialog_ && dialog_->isOpen()) dialog_->window().setTooltip(id_, tooltip_);
}

void CMyHyperLink::setFont(const ui::Font& font) {
    font_ = font;
    if (dialog_ && dialog_->isOpen()) {
        dialog_->window().setFont(id_, this->font());
        repaint();
    }
}

ui::Font CMyHyperLink::font() const {
    ui::Font f = font_;
    f.underline = true;
    return f;
}

void CMyHyperLink::setVisited(bool on) {
    visited_ = on;
    repaint();
}

ui::Colour CMyHyperLink::colour() const {
    if (visited_) return kVisitedColour;
    return hover_ ? kHoverColour : kLinkColour;
}

void CMyHyperLink::repaint() {
    if (!dialog_ || !dialog_->isOpen()) return;
    dialog_->window().setTextColour(id_, colour());
    dialog_->window().refresh(id_);
}

void CMyHyperLink::setHover(bool on) {
    if (hover_ == on || !dialog_ || !dialog_->isOpen()) return;
    hover_ = on;
    ui::DialogWindow& w = dialog_->window();
    // Held while the pointer is over the link, so that its leaving is seen.
    if (on)
        w.captureMouse(id_);
    else if (w.mouseCaptor() == id_)
        w.releaseMouse();
    repaint();
}

bool CMyHyperLink::onMouse(const ui::MouseEvent& m) {
    if (!dialog_ || !dialog_->isOpen()) return false;
    const ui::Rect r = dialog_->window().controlRect(id_);
    const bool inside = m.type != ui::MouseEvent::Leave && m.x >= 0 && m.y >= 0 && m.x < r.width && m.y < r.height;
    switch (m.type) {
        case ui::MouseEvent::Move:
        case ui::MouseEvent::Leave:
            setHover(inside);
            return true;
        case ui::MouseEvent::LeftDown:
            pressed_ = inside;
            if (!inside) setHover(false);  // a click elsewhere must reach the control it was meant for
            return inside;
        case ui::MouseEvent::LeftUp: {
            const bool click = pressed_ && inside;
            pressed_ = false;
            if (click) follow();
            return click;
        }
        default:
            return false;
    }
}

void CMyHyperLink::follow() {
    // The pointer is let go first: the browser or whatever the dialog opens takes over the screen.
    setHover(false);
    if (notify_) {
        visited_ = true;
        repaint();
        dialog_->handleCommand(id_, ui::Notify::Clicked);
        return;
    }
    // A link whose page could not be opened was not visited: it keeps its colour and the failure is
    // heard.
    if (ui::backend().openUrl(link()))
        visited_ = true;
    else
        ui::backend().beep();
    repaint();
}

bool CMyHyperLink::onPaint(ui::Canvas& canvas) {
    canvas.drawText(0, 0, text_, colour(), font());
    return true;
}
