#include "DialogMessages.h"

#include <string>

void DialogMessages::show(std::string_view utf8) { dialog_.messageBox(std::string(utf8)); }

bool DialogMessages::askYesNo(std::string_view utf8) {
    return dialog_.messageBox(std::string(utf8), {}, ui::Buttons::YesNo, ui::Icon::Error) == ui::kIdYes;
}
