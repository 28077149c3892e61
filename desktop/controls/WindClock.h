#pragma once
#include <string>

// The arithmetic of the wind clock, without any window: the dial's layout, the arrow angle θ and the
// wind azimuth, the angle of a pointed point and the polar offsets every point of the dial comes from.
//
// The azimuth is where the wind comes from: 0 from 12 o'clock, 90 from 3, 180 from 6, −90 from 9.
// θ is the arrow's angle in degrees, counter-clockwise from 3 o'clock (90 is 12 o'clock), −180...180.
// Screen points have y downwards; offsets have y upwards, a screen point is (cx + x, cy − y).
namespace windclock {

struct Offset {
    int x = 0;
    int y = 0;
    bool operator==(const Offset&) const = default;
};

// The dial in a control of this size: its centre and radius, in pixels.
struct Layout {
    int cx = 0;
    int cy = 0;
    int radius = 100;
    bool operator==(const Layout&) const = default;
};
Layout layoutFor(int width, int height);

// Any azimuth, however large, is first brought within one turn (an azimuth that is no number points
// to 12 o'clock).
double thetaOfAzimuth(double azimuth);
double azimuthOfTheta(double theta);
// θ of a pointer at (x, y) seen from the centre (cx, cy), screen coordinates.
double thetaOfPoint(int x, int y, int cx, int cy);
// The point at `length` pixels in the direction `degrees`, each coordinate truncated towards zero.
Offset polarOffset(double length, double degrees);

// The angle text under the shooter mark: "90°", "-90°", "180°" (never "-0°").
std::string azimuthText(double azimuth);
// What "Так точно!" hands back: the azimuth rounded to a whole degree.
double roundedAzimuth(double azimuth);

}  // namespace windclock
