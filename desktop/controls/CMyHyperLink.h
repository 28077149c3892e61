#pragma once
#include <string>

#include "Dialog.h"

// A text that behaves like a web link: underlined, a hand cursor and a tooltip; red while the pointer
// is over it, dark blue once followed. A click opens the link with the desktop's browser, or (in notify
// mode) is passed to the dialog as the control's Clicked command.
//
// The control is a canvas (the link paints its own text) or a label (the window shows the text in the
// colour and font set here).
class CMyHyperLink : public ui::ControlHandler {
public:
    static constexpr ui::Colour kLinkColour{0, 0, 255};
    static constexpr ui::Colour kHoverColour{255, 0, 0};
    static constexpr ui::Colour kVisitedColour{5, 34, 143};

    CMyHyperLink() = default;
    ~CMyHyperLink() override;
    CMyHyperLink(const CMyHyperLink&) = delete;
    CMyHyperLink& operator=(const CMyHyperLink&) = delete;

    // Takes over the control `id` of the dialog's window (open now): underlined font, hand cursor,
    // tooltip, colour. The text is the control's own unless setText gave one.
    void attach(ui::Dialog& dialog, int id);
    void detach();
    int id() const { return id_; }

    void setText(const std::string& utf8);
    const std::string& text() const { return text_; }
    // What a click opens; empty: the text itself.
    void setLink(const std::string& url) { link_ = url; }
    std::string link() const { return link_.empty() ? text_ : link_; }
    void setTooltip(const std::string& utf8);
    const std::string& tooltip() const { return tooltip_; }
    // The font the underlined one is made from. Default: the dialog's own.
    void setFont(const ui::Font& font);
    ui::Font font() const;
    // Notify mode: a click goes to the dialog instead of the browser.
    void setNotify(bool on) { notify_ = on; }
    bool notifies() const { return notify_; }

    bool visited() const { return visited_; }
    void setVisited(bool on);
    bool hovering() const { return hover_; }
    ui::Colour colour() const;

    // ui::ControlHandler
    bool onMouse(const ui::MouseEvent& m) override;
    bool onPaint(ui::Canvas& canvas) override;

private:
    void follow();
    void setHover(bool on);
    void repaint();

    ui::Dialog* dialog_ = nullptr;
    int id_ = ui::kStaticId;
    std::string text_;
    std::string link_;
    std::string tooltip_;
    ui::Font font_;
    bool notify_ = false;
    bool visited_ = false;
    bool hover_ = false;
    bool pressed_ = false;
};
