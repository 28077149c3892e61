#pragma once
#include <filesystem>
#include <string>
#include <string_view>

#include "Dialog.h"
#include "DragFunc.h"

// "Экспорт": one drag function written as a ".snr" file (for Android) or as a single-record ".dat"
// file (for the handheld's import, "drag_function.dat"), into a file the user chooses.
class CDlgExport : public ui::Dialog {
public:
    enum : int {
        IDD = 160,
        kName = 1025,
        kSnr = 1103,
        kDat = 1150,
    };

    CDlgExport(const DragFunc& f, std::filesystem::path dataFolder, ui::Dialog* parent = nullptr);

    static ui::DialogTemplate makeTemplate();

    // The ".snr" file name proposed for a function name (CP1251), UTF-8: commas and points dropped;
    // "*", "-", blanks and the characters no file name may hold (/ \ : ? " < > |) made "_".
    static std::string proposedSnrName(std::string_view cp1251Name);

protected:
    bool onInitDialog() override;
    void onCommand(int id, ui::Notify n) override;

private:
    void exportSnrFile();
    void exportDatFile();

    DragFunc function_;
    std::filesystem::path dataFolder_;
};
