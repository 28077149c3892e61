#include "CDlgDrugPlotStandart.h"

#include "TemplateBuilder.h"

namespace {
// The projectiles are drawn one scale, so the pictures compare: 48 pixels a calibre.
constexpr int kCalibrePixels = 48;
constexpr int kGap = 8;
}  // namespace

CDlgDrugPlotStandart::CDlgDrugPlotStandart(const DragFunc& f, ui::Dialog* parent)
    : CDlgDrugPlot(f, makeTemplate(projectile::projectileFor(f.nameText())), true, parent),
      projectile_(projectile::projectileFor(f.nameText())) {}

ui::DialogTemplate CDlgDrugPlotStandart::makeTemplate(projectile::Projectile p) {
    ui::DialogTemplate t;
    t.id = IDD;
    t.title = "График стандартной драг-функции";
    const int pictureWidth = projectile::pictureWidth(p, kCalibrePixels);
    addPlotControls(t, kGap + pictureWidth);
    const ui::Rect plot = t.controls.front().rect;
    ui::TemplateBuilder(t).add(kPicture, ui::Kind::Canvas, {},
                               ui::Rect{plot.right() + kGap, plot.y, pictureWidth, plot.height}, ui::kNoStyle);
    return t;
}

bool CDlgDrugPlotStandart::onInitDialog() {
    CDlgDrugPlot::onInitDialog();
    // The picture keeps its width beside the plot, which takes what the window gains.
    resizer_.add(window(), kPicture, CDlgItemResizer::kRight | CDlgItemResizer::kTop | CDlgItemResizer::kBottom);
    return true;
}

void CDlgDrugPlotStandart::onPaint(int id, ui::Canvas& canvas) {
    if (id == kPicture) projectile::paint(canvas, projectile_);
}
