#pragma once

// The arithmetic of the target-angle picker, without any window: a side view in pixels with the
// shooter at the left edge on the horizon (screen y grows downwards), the target somewhere to his
// right. The handheld program draws the same picture.
namespace slope {

struct Pixel {
    int x = 0;
    int y = 0;
    bool operator==(const Pixel&) const = default;
};

// The steepest angle the picker gives, degrees: the target-angle field refuses 90 and beyond.
inline constexpr int kSteepest = 89;

// A polar offset in whole pixels: trunc(r cos a), trunc(r sin a), mathematical axes (y upwards).
Pixel polarOffset(double length, double degrees);

// Whole degrees of the line from the shooter to the target, positive upwards: rounded to the nearest
// degree, and 0 for a target straight above or below the shooter or to his left (no line of sight
// runs backwards). Kept within -kSteepest...kSteepest.
int angleOf(Pixel target, Pixel shooter);

// Where the target of `degrees` is drawn in a control of width × height whose shooter is at
// (0, height / 2): at 90 % of the width along the horizon for shallow angles (under 30 degrees),
// else at 90 % of half the height above or below it.
Pixel targetOf(double degrees, int width, int height);

// A pointer position held inside the control, y from 0 to height - 1, x up to width - 1; an x left of
// the shooter becomes 1.
Pixel clampedInside(Pixel p, int width, int height);

}  // namespace slope
