#include "CtkdeskApp.h"

#include "Backend.h"
#include "CtkdeskDlg.h"
#include "DataPaths.h"

CtkdeskApp::CtkdeskApp(std::filesystem::path program, std::filesystem::path data)
    : programFolder_(program.empty() ? programFolder() : std::move(program)),
      dataFolder_(data.empty() ? userDataFolder() : std::move(data)) {}

int CtkdeskApp::run() {
    ui::setApplicationName("tkdesk");
    CtkdeskDlg dlg(programFolder_, dataFolder_);
    dlg.doModal();
    return 0;
}
