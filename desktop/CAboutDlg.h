#pragma once
#include "CMyHyperLink.h"
#include "Dialog.h"

// The about box: the version, the author's contact and a link to the program's web page.
class CAboutDlg : public ui::Dialog {
public:
    enum : int { IDD = 100, kVersion = 1040, kContact = 1041, kLink = 1042 };
    static constexpr const char* kWebPage = "https://trajekton.ru/";

    explicit CAboutDlg(ui::Dialog* parent = nullptr);
    static ui::DialogTemplate makeTemplate();

protected:
    bool onInitDialog() override;

private:
    CMyHyperLink link_;
};
