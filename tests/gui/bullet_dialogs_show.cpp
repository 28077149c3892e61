// Shows one of the drag-from-shape calculator's dialogs on the wx backend, for screenshots and a look
// by hand: "estimate DATA_FOLDER" (the calculator on that folder's bullet files), "bullets" (the
// browser on the starting list) or "report" (the report of the first starting bullet).
#include <cstdio>
#include <string>

#include "CBulletsArray.h"
#include "CDlgBCCalc.h"
#include "CDlgBullets.h"
#include "CDlgShowBulletDim.h"
#include "WxApplication.h"

int main(int argc, char** argv) {
    const std::string which = argc > 1 ? argv[1] : "";
    const std::string folder = argc > 2 ? argv[2] : ".";
    if (which != "estimate" && which != "bullets" && which != "report") {
        std::fprintf(stderr, "usage: %s estimate DATA_FOLDER | bullets | report\n", argv[0]);
        return 2;
    }
    return ui::runWxApplication(argc, argv, [&] {
        const CBulletsArray db = CBulletsArray::BuiltIn();
        int code = 0;
        if (which == "estimate") {
            CDlgBCCalc dlg(folder);
            code = dlg.doModal();
        } else if (which == "bullets") {
            CDlgBullets dlg(db, db[0]);
            code = dlg.doModal();
        } else {
            CDlgShowBulletDim dlg(db[0]);
            code = dlg.doModal();
        }
        std::printf("result %d\n", code);
        return code == ui::kIdOk ? 0 : 3;
    });
}
