#pragma once
#include <string>

class CBulletDimensions;

// "Размеры пули": a bullet's measurements as copyable text (UTF-8, lines ended by "\n"), one
// line a value, for a letter or a forum post. The twist is shown as the number it is (10, 11.5);
// a value that is no number reads "не определено". Any nose shape but Secant and Conical is a
// tangent ogive, as the calculator counts it.
std::string bulletReportText(const CBulletDimensions& bullet);
