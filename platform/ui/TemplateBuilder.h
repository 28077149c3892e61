#pragma once
#include <string>

#include "UiTypes.h"

// Short forms for writing dialog templates: one call a control. Rows are 22 pixels high (edits,
// buttons); a label beside an edit sits 3 pixels lower so their texts line up.
namespace ui {

inline constexpr int kRowHeight = 22;
inline constexpr int kLabelHeight = 16;
inline constexpr int kLabelOffset = 3;

class TemplateBuilder {
public:
    explicit TemplateBuilder(DialogTemplate& t) : t_(t) {}

    TemplateBuilder& label(const std::string& text, int x, int y, int w, int id = kStaticId, unsigned style = 0,
                           int h = kLabelHeight) {
        return add(id, Kind::Label, text, {x, y + kLabelOffset, w, h}, style);
    }
    TemplateBuilder& edit(int id, int x, int y, int w, unsigned style = 0) {
        return add(id, Kind::Edit, "", {x, y, w, kRowHeight}, style);
    }
    TemplateBuilder& button(int id, const std::string& text, int x, int y, int w, unsigned style = 0,
                            int h = kRowHeight + 4) {
        return add(id, Kind::Button, text, {x, y, w, h}, style);
    }
    TemplateBuilder& check(int id, const std::string& text, int x, int y, int w, unsigned style = 0) {
        return add(id, Kind::CheckBox, text, {x, y, w, kRowHeight}, style);
    }
    TemplateBuilder& radio(int id, const std::string& text, int x, int y, int w, unsigned style = 0) {
        return add(id, Kind::Radio, text, {x, y, w, kRowHeight}, style);
    }
    TemplateBuilder& group(const std::string& text, int x, int y, int w, int h, int id = kStaticId) {
        return add(id, Kind::GroupBox, text, {x, y, w, h}, 0);
    }
    TemplateBuilder& add(int id, Kind kind, const std::string& text, Rect r, unsigned style) {
        t_.controls.push_back(ControlTemplate{id, kind, text, r, style});
        return *this;
    }
    // Names the value the last control added shows.
    TemplateBuilder& named(const std::string& name) {
        t_.named.push_back(NamedControl{t_.controls.back().id, name});
        return *this;
    }

private:
    DialogTemplate& t_;
};

}  // namespace ui
