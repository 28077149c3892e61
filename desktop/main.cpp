// tkdesk: the desktop calculator on the wxWidgets backend.
#include "CtkdeskApp.h"
#include "WxApplication.h"

int main(int argc, char** argv) {
    return ui::runWxApplication(argc, argv, [] {
        CtkdeskApp app;
        return app.run();
    });
}
