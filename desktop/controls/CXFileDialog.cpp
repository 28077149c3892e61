#include "CXFileDialog.h"

#include <system_error>

#include "Utf8Path.h"

namespace {

std::string_view trimBlanks(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

}  // namespace

CXFileDialog::CXFileDialog(std::string_view filter, std::string defaultExtension, std::filesystem::path folder,
                           ui::Dialog* parent)
    : CXFileDialog(parseFilter(filter), std::move(defaultExtension), std::move(folder), parent) {}

CXFileDialog::CXFileDialog(std::vector<ui::FileFilter> filters, std::string defaultExtension,
                           std::filesystem::path folder, ui::Dialog* parent)
    : parent_(parent) {
    options_.save = false;
    options_.filters = std::move(filters);
    options_.defaultExtension = std::move(defaultExtension);
    options_.folder = std::move(folder);
    options_.multipleSelection = true;
    options_.okLabel = kOkLabel;
}

int CXFileDialog::doModal() {
    files_.clear();
    ui::DialogWindow* parent = parent_ && parent_->isOpen() ? &parent_->window() : nullptr;
    const auto chosen = ui::backend().fileDialog(parent, options_);
    if (!chosen) return ui::kIdCancel;
    for (const auto& path : *chosen) {
        // Several names typed into the name field come back as one quoted string; a file that really
        // has such a name is taken as it is.
        const std::string name = path.filename().string();
        std::error_code ec;
        if (name.starts_with('"') && !std::filesystem::exists(path, ec)) {
            for (const auto& part : splitQuotedNames(name)) files_.push_back(path.parent_path() / utf8Path(part));
            continue;
        }
        files_.push_back(path);
    }
    return files_.empty() ? ui::kIdCancel : ui::kIdOk;
}

std::vector<ui::FileFilter> CXFileDialog::parseFilter(std::string_view filter) {
    // "||" ends the list.
    filter = filter.substr(0, filter.find("||"));
    std::vector<std::string_view> parts;
    size_t start = 0;
    while (start <= filter.size()) {
        const size_t bar = filter.find('|', start);
        const size_t end = bar == std::string_view::npos ? filter.size() : bar;
        parts.push_back(filter.substr(start, end - start));
        if (bar == std::string_view::npos) break;
        start = bar + 1;
    }
    std::vector<ui::FileFilter> out;
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].empty() || parts[i + 1].empty()) continue;
        out.push_back(ui::FileFilter{std::string(parts[i]), std::string(parts[i + 1])});
    }
    return out;
}

std::vector<std::string> CXFileDialog::splitQuotedNames(std::string_view names) {
    std::vector<std::string> out;
    if (names.find('"') == std::string_view::npos) {
        const auto one = trimBlanks(names);
        if (!one.empty()) out.emplace_back(one);
        return out;
    }
    size_t pos = 0;
    while (true) {
        const size_t open = names.find('"', pos);
        if (open == std::string_view::npos) break;
        const size_t close = names.find('"', open + 1);
        // An unclosed quote runs to the end of the string.
        const auto name = names.substr(open + 1, close == std::string_view::npos ? std::string_view::npos
                                                                                 : close - open - 1);
        if (!trimBlanks(name).empty()) out.emplace_back(name);
        if (close == std::string_view::npos) break;
        pos = close + 1;
    }
    return out;
}
