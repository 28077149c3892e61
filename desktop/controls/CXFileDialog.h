#pragma once
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "Dialog.h"

// The import dialog: an open-file dialog whose OK button reads "Импорт!" and which takes many files
// at once. Every chosen file comes back, however many there are.
class CXFileDialog {
public:
    static constexpr const char* kOkLabel = "Импорт!";

    // `filter` as the old dialogs took it: label and pattern pairs separated by '|', ending with "||"
    // ("Драг-функции (*.snr)|*.snr|Все файлы (*.*)|*.*||"). `defaultExtension` without the dot.
    explicit CXFileDialog(std::string_view filter, std::string defaultExtension = {},
                          std::filesystem::path folder = {}, ui::Dialog* parent = nullptr);
    CXFileDialog(std::vector<ui::FileFilter> filters, std::string defaultExtension = {},
                 std::filesystem::path folder = {}, ui::Dialog* parent = nullptr);

    void setTitle(std::string utf8) { options_.title = std::move(utf8); }
    const ui::FileDialogOptions& options() const { return options_; }

    // kIdOk with at least one file chosen, else kIdCancel.
    int doModal();
    const std::vector<std::filesystem::path>& fileNames() const { return files_; }

    // The label and pattern pairs of a '|'-separated filter, up to the first "||"; a pair missing
    // either half is dropped.
    static std::vector<ui::FileFilter> parseFilter(std::string_view filter);
    // The names of a string of double-quoted names separated by blanks ("\"a.snr\" \"b.snr\""); a
    // string without quotes is one name.
    static std::vector<std::string> splitQuotedNames(std::string_view names);

private:
    ui::FileDialogOptions options_;
    ui::Dialog* parent_;
    std::vector<std::filesystem::path> files_;
};
