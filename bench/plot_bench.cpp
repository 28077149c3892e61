// One paint of the drag function windows' plot, 600 by 400 pixels: the standard G7 table (its Mach
// labels, dotted grid and curve) on the headless canvas, which records every call the wx canvas gets.
#include <benchmark/benchmark.h>

#include "HeadlessBackend.h"
#include "ScopePlot.h"
#include "StandardDragSet.h"

namespace {

void BM_PlotPaint(benchmark::State& state) {
    DragFunc g7;
    standardFunction("G7", g7);
    scopeplot::Plot plot;
    plot.range = scopeplot::curveRange(g7.points, false);
    plot.points = g7.points;
    plot.colours = scopeplot::kDragWindowColours;
    plot.title = scopeplot::Title::DragCoefficient;
    plot.caption = "G7";
    for (auto _ : state) {
        ui::RecordingCanvas canvas(ui::Size{600, 400});
        scopeplot::paint(canvas, plot);
        benchmark::DoNotOptimize(canvas.ops.data());
    }
}
BENCHMARK(BM_PlotPaint)->Unit(benchmark::kMicrosecond);

}  // namespace
