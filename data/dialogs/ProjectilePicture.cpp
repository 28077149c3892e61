#include "ProjectilePicture.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace projectile {

namespace {

constexpr int kMargin = 10;  // pixels around the projectile

// The upper edge of a projectile of revolution, from the base to the nose: (x, radius) in calibres.
using Profile = std::vector<Spot>;

void flatBase(Profile& p) { p.push_back({0, 0.5}); }

// A base narrowing to the rear at `degrees` over `length` calibres.
void boatTail(Profile& p, double length, double degrees) {
    p.push_back({0, 0.5 - length * std::tan(degrees * std::numbers::pi / 180)});
    p.push_back({length, 0.5});
}

void cylinder(Profile& p, double length) { p.push_back({p.back().x + length, 0.5}); }

// A nose whose outline is an arc of `radius` calibres from the body's edge to the point `length`
// calibres ahead on the axis: a tangent ogive when the radius is length² + 0.25, a secant ogive (a
// slight break at the body) when larger. The point is cut off at a meplat of radius `meplat`.
void ogive(Profile& p, double length, double radius, double meplat) {
    const Spot a = p.back();
    const Spot b{a.x + length, 0};
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double chord = std::hypot(dx, dy);
    radius = std::max(radius, chord / 2);
    // The centre lies on the chord's perpendicular, on the side away from the bulge.
    const double h = std::sqrt(radius * radius - chord * chord / 4);
    const Spot c{(a.x + b.x) / 2 + dy / chord * h, (a.y + b.y) / 2 - dx / chord * h};
    const double from = std::atan2(a.y - c.y, a.x - c.x), to = std::atan2(b.y - c.y, b.x - c.x);
    constexpr int kSteps = 24;
    Spot previous = a;
    for (int k = 1; k <= kSteps; ++k) {
        const double t = from + (to - from) * k / kSteps;
        const Spot s{c.x + radius * std::cos(t), c.y + radius * std::sin(t)};
        if (s.y <= meplat) {
            const double f = (previous.y - meplat) / (previous.y - s.y);
            p.push_back({previous.x + (s.x - previous.x) * f, meplat});
            return;
        }
        p.push_back(s);
        previous = s;
    }
}

// A straight cone from the body's edge, cut off at a meplat.
void cone(Profile& p, double length, double meplat) {
    const Spot a = p.back();
    p.push_back({a.x + length * (0.5 - meplat) / 0.5, meplat});
}

// The profile from `x` on, starting with the point on the edge there.
Profile from(const Profile& p, double x) {
    Profile out;
    for (size_t i = 0; i < p.size(); ++i) {
        if (p[i].x < x) continue;
        if (out.empty() && i > 0 && p[i].x > x) {
            const Spot& q = p[i - 1];
            out.push_back({x, q.y + (p[i].y - q.y) * (x - q.x) / (p[i].x - q.x)});
        }
        out.push_back(p[i]);
    }
    return out;
}

// The closed outline of the body the profile turns: the upper edge forward, the lower edge back
// (points on the axis once).
std::vector<Spot> outlineOf(const Profile& p) {
    std::vector<Spot> out(p.begin(), p.end());
    for (auto it = p.rbegin(); it != p.rend(); ++it)
        if (it->y != 0) out.push_back({it->x, -it->y});
    return out;
}

Profile profileOf(Projectile kind) {
    Profile p;
    switch (kind) {
        case Projectile::G1:  // flat base, 2-calibre tangent ogive, blunt point, 3.28 calibres long
            flatBase(p);
            cylinder(p, 2.08);
            ogive(p, 1.3229, 2.0, 0.1);
            break;
        case Projectile::GI:  // the Ingalls projectile: like G1 with a blunter, shorter nose
            flatBase(p);
            cylinder(p, 2.0);
            ogive(p, 1.118, 1.5, 0.15);
            break;
        case Projectile::G2:  // the artillery model: short tail, band, conical nose
            boatTail(p, 0.3, 9);
            cylinder(p, 1.6);
            cone(p, 2.0, 0.07);
            break;
        case Projectile::G5:  // 7.5° boat tail, 6.19-calibre tangent ogive
            boatTail(p, 0.5, 7.5);
            cylinder(p, 0.9);
            ogive(p, 2.4834, 6.19, 0.06);
            break;
        case Projectile::G6:  // flat base, 6.99-calibre secant ogive, sharp point (spire point)
            flatBase(p);
            cylinder(p, 2.2);
            ogive(p, 2.4, 6.99, 0.02);
            break;
        case Projectile::G7:  // long 7.5° boat tail, 10-calibre tangent ogive (very low drag)
            boatTail(p, 0.6, 7.5);
            cylinder(p, 0.5);
            ogive(p, 3.1225, 10.0, 0.06);
            break;
        case Projectile::G8:  // flat base, 10-calibre secant ogive
            flatBase(p);
            cylinder(p, 1.6);
            ogive(p, 2.6, 10.0, 0.04);
            break;
        case Projectile::GL:  // flat base, blunt soft lead nose
            flatBase(p);
            cylinder(p, 2.0);
            ogive(p, 0.975, 1.2, 0.25);
            break;
        case Projectile::GS: {  // a round ball
            constexpr int kSteps = 36;
            for (int k = 0; k <= kSteps; ++k) {
                const double t = std::numbers::pi * k / kSteps;
                p.push_back({0.5 - 0.5 * std::cos(t), k == 0 || k == kSteps ? 0.0 : 0.5 * std::sin(t)});
            }
            break;
        }
        case Projectile::RA4:  // .22 LR: plain lead, flat base, round nose
            flatBase(p);
            cylinder(p, 0.9);
            ogive(p, 0.7071, 0.75, 0.12);
            break;
    }
    return p;
}

struct Paint {
    ui::Colour fill;
    ui::Colour pen;
};

// Light falls from above: a paler band along the upper half of a body, between 0.2 and 0.5 of its
// radius, makes the outline read as round.
std::vector<Spot> shineOf(const std::vector<Spot>& outline) {
    std::vector<Spot> upper;
    for (const Spot& s : outline)
        if (s.y > 0) upper.push_back(s);
    std::vector<Spot> band;
    for (const Spot& s : upper) band.push_back({s.x, s.y * 0.5});
    for (auto it = upper.rbegin(); it != upper.rend(); ++it) band.push_back({it->x, it->y * 0.2});
    return band;
}

ui::Colour paler(ui::Colour c) {
    auto mix = [](uint8_t v) { return static_cast<uint8_t>(v + (255 - v) * 2 / 5); };
    return {mix(c.r), mix(c.g), mix(c.b)};
}

Paint paintOf(Material m) {
    switch (m) {
        case Material::Lead:
            return {{160, 160, 168}, {80, 80, 90}};
        case Material::Band:
            return {{170, 90, 50}, {110, 60, 25}};
        case Material::Jacket:
            break;
    }
    return {{200, 125, 70}, {110, 60, 25}};
}

}  // namespace

Projectile projectileFor(std::string_view name) {
    constexpr Projectile kAll[] = {Projectile::GI, Projectile::G1, Projectile::G2, Projectile::G5, Projectile::G6,
                                   Projectile::G7, Projectile::G8, Projectile::GL, Projectile::GS, Projectile::RA4};
    for (Projectile p : kAll) {
        const std::string_view n = nameOf(p);
        // ASCII letters only: the standard names have no others, and a CP1251 byte never matches.
        if (std::equal(name.begin(), name.end(), n.begin(), n.end(), [](char a, char b) {
                return (a >= 'a' && a <= 'z' ? char(a - 'a' + 'A') : a) == b;
            }))
            return p;
    }
    return Projectile::GI;
}

const char* nameOf(Projectile p) {
    switch (p) {
        case Projectile::GI: return "GI";
        case Projectile::G1: return "G1";
        case Projectile::G2: return "G2";
        case Projectile::G5: return "G5";
        case Projectile::G6: return "G6";
        case Projectile::G7: return "G7";
        case Projectile::G8: return "G8";
        case Projectile::GL: return "GL";
        case Projectile::GS: return "GS";
        case Projectile::RA4: return "RA4";
    }
    return "GI";
}

std::vector<Part> partsOf(Projectile p) {
    const Profile profile = profileOf(p);
    switch (p) {
        case Projectile::GS:
        case Projectile::RA4:
            return {{Material::Lead, outlineOf(profile)}};
        case Projectile::GL:
            // The jacket reaches a little way up the nose; the lead tip shows beyond it.
            return {{Material::Jacket, outlineOf(profile)}, {Material::Lead, outlineOf(from(profile, 2.3))}};
        case Projectile::G2:
            // A driving band near the rear, a little proud of the body.
            return {{Material::Jacket, outlineOf(profile)},
                    {Material::Band, {{0.55, 0.53}, {0.8, 0.53}, {0.8, -0.53}, {0.55, -0.53}}}};
        default:
            return {{Material::Jacket, outlineOf(profile)}};
    }
}

double lengthOf(Projectile p) {
    double length = 0;
    for (const Spot& s : profileOf(p)) length = std::max(length, s.x);
    return length;
}

int pictureWidth(Projectile p, int calibrePixels) {
    return static_cast<int>(std::ceil(lengthOf(p) * calibrePixels)) + 2 * kMargin;
}

void paint(ui::Canvas& canvas, Projectile p) {
    const ui::Size size = canvas.size();
    canvas.fillRect(ui::Rect{0, 0, size.width, size.height}, canvas.faceColour());
    const double length = lengthOf(p);
    // As large as the canvas allows both ways; a band across is never thicker than the canvas is high.
    const double scale = std::min((size.width - 2.0 * kMargin) / length, size.height - 2.0 * kMargin);
    if (!(scale > 0)) return;
    const double left = (size.width - length * scale) / 2;
    const double axis = size.height / 2.0;
    auto onCanvas = [&](const std::vector<Spot>& outline) {
        std::vector<ui::Point> points;
        points.reserve(outline.size());
        for (const Spot& s : outline)
            points.push_back({static_cast<int>(std::lround(left + s.x * scale)),
                              static_cast<int>(std::lround(axis - s.y * scale))});
        return points;
    };
    for (const Part& part : partsOf(p)) {
        const std::vector<ui::Point> points = onCanvas(part.outline);
        const Paint colours = paintOf(part.material);
        if (part.material == Material::Band) {
            canvas.drawPolygon(points, colours.pen, colours.fill);
            continue;
        }
        // The body, its shine, then the outline over both.
        canvas.drawPolygon(points, colours.fill, colours.fill);
        const ui::Colour shine = paler(colours.fill);
        canvas.drawPolygon(onCanvas(shineOf(part.outline)), shine, shine);
        canvas.drawPolygon(points, colours.pen, std::nullopt);
    }
}

}  // namespace projectile
