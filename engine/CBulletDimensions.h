#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "NoseShape.h"

// The measured geometry of one bullet, as the drag-from-geometry calculator and the bullet database
// keep it. Lengths in mm, speed in m/s, weight in grams, twist in inches per turn, the secant ogive
// radius in calibres. A plain record: copying copies every field.
class CBulletDimensions {
public:
    static constexpr size_t kNameSize = 100;  // the name field, terminator included

    // ".308Win, Lapua Scenar, 167gr", Secant, uniqueNumber 1.
    CBulletDimensions();
    CBulletDimensions(const CBulletDimensions&) = default;
    CBulletDimensions& operator=(const CBulletDimensions&) = default;
    virtual ~CBulletDimensions() = default;

    char name[kNameSize] = {};    // CP1251, zero-terminated, 99 bytes at most
    double velocity = 0.0;        // muzzle velocity, m/s
    double length = 0.0;          // L, overall length
    double diameter = 0.0;        // D
    double noseLength = 0.0;      // L1, from the tip to the start of the cylinder
    double meplatDiameter = 0.0;  // D1, the flat tip
    double twist = 0.0;           // inches per turn
    double weight = 0.0;          // grams
    double baseDiameter = 0.0;    // D2
    double boatTailLength = 0.0;  // L2
    double ogiveRadius = 0.0;     // secant ogive radius, calibres
    NoseShape noseShape = NoseShape::Secant;
    int32_t uniqueNumber = 1;     // with the name, the identity of a record in the database

    // The name up to its terminator.
    std::string_view nameText() const;
    // Sets the name; longer text is cut to 99 bytes (one byte per CP1251 character).
    void setName(std::string_view text);
};

// Every field equal (the names compared up to their terminators).
bool operator==(const CBulletDimensions& a, const CBulletDimensions& b);
