// The drag function editors on the wx backend, for pictures and GUI tests: "--curve" opens the curve
// editor, anything else the table editor, on the sample function (or, with "--empty", one without
// points). When the editor ends with OK it prints the function's points, one "point MACH CD" line
// each, then "result CODE" and the curve step.
#include <cstdio>
#include <string>

#include "BallisticSolver.h"
#include "CDlgDragEditPlot.h"
#include "CDlgDrugFuncEdit.h"
#include "StandardDragSet.h"
#include "WxApplication.h"

namespace {
void say(const std::string& line) {
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

void printPoints(const std::vector<DragElement>& points) {
    for (const DragElement& p : points) {
        char line[96];
        std::snprintf(line, sizeof line, "point %.15g %.15g", p.mach, p.cd);
        say(line);
    }
}
}  // namespace

int main(int argc, char** argv) {
    bool curve = false;
    bool empty = false;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--curve") curve = true;
        if (std::string(argv[i]) == "--empty") empty = true;
    }
    return ui::runWxApplication(argc, argv, [&] {
        DragFunc f = sampleFunction();
        if (empty) f.points.clear();
        BallisticSolver solver;
        double curveStep = 0.01;
        int code = 0;
        if (curve) {
            CDlgDragEditPlot dlg(f, curveStep);
            code = dlg.doModal();
            if (code == ui::kIdOk) printPoints(dlg.points());
        } else {
            CDlgDrugFuncEdit dlg(f, solver, curveStep);
            code = dlg.doModal();
            if (code == ui::kIdOk) printPoints(dlg.function().points);
        }
        say("result " + std::to_string(code));
        char step[64];
        std::snprintf(step, sizeof step, "step %.15g", curveStep);
        say(step);
        return code == ui::kIdOk ? 0 : 3;
    });
}
