#pragma once
#include <filesystem>

#include "MobileScreen.h"

// "О программе" (with the data folder: the one to choose as the device when sending from the
// desktop) and "Помощь": fixed texts and "Закрыть".
class CDlgMobileAbout : public MobileScreen {
public:
    enum Page { About, Help };
    enum : int { IDD = 210, kText = 1001 };
    CDlgMobileAbout(Page page, const std::filesystem::path& dataFolder, ui::Dialog* parent);
    static ui::DialogTemplate makeTemplate(Page page, const std::filesystem::path& dataFolder);
};
