#pragma once
#include <string_view>
#include <vector>

#include "Canvas.h"

// The side views of the ten standard projectiles the standard drag functions were measured on, drawn
// as our own outlines: nose to the right, laid out from the size of the canvas they are painted on.
namespace projectile {

enum class Projectile { GI, G1, G2, G5, G6, G7, G8, GL, GS, RA4 };

// The projectile of a standard function's name, ignoring letter case; GI for any other name.
Projectile projectileFor(std::string_view name);
const char* nameOf(Projectile p);

// A point of an outline in calibres: x from the base along the axis, y across it (the axis at 0,
// the body's surface at ±0.5).
struct Spot {
    double x = 0;
    double y = 0;
};

enum class Material { Jacket, Lead, Band };

// One filled polygon of a picture; later parts lie over earlier ones.
struct Part {
    Material material = Material::Jacket;
    std::vector<Spot> outline;
};

// The parts of a projectile's picture and its length in calibres.
std::vector<Part> partsOf(Projectile p);
double lengthOf(Projectile p);

// The width of a picture canvas that shows the projectile `calibrePixels` thick with its margins.
int pictureWidth(Projectile p, int calibrePixels);

// The projectile as large as fits the canvas (with a margin), centred, on the dialog's colour.
void paint(ui::Canvas& canvas, Projectile p);

}  // namespace projectile
