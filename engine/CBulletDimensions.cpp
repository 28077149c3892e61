#include "CBulletDimensions.h"

#include <algorithm>
#include <cstring>

CBulletDimensions::CBulletDimensions()
    : velocity(810.0),
      length(31.3),
      diameter(7.82),
      noseLength(15.9),
      meplatDiameter(1.6),
      twist(10.0),
      weight(10.82),
      baseDiameter(6.1),
      boatTailLength(5.3),
      ogiveRadius(6.0),
      noseShape(NoseShape::Secant),
      uniqueNumber(1) {
    setName(".308Win, Lapua Scenar, 167gr");
}

std::string_view CBulletDimensions::nameText() const {
    // The field is always terminated by setName, but a record filled by other means may not be.
    const void* end = std::memchr(name, 0, kNameSize);
    return {name, end ? static_cast<size_t>(static_cast<const char*>(end) - name) : kNameSize};
}

void CBulletDimensions::setName(std::string_view text) {
    const size_t n = std::min(text.size(), kNameSize - 1);
    std::memset(name, 0, kNameSize);
    if (n > 0) std::memcpy(name, text.data(), n);
}

bool operator==(const CBulletDimensions& a, const CBulletDimensions& b) {
    return a.nameText() == b.nameText() && a.velocity == b.velocity && a.length == b.length &&
           a.diameter == b.diameter && a.noseLength == b.noseLength && a.meplatDiameter == b.meplatDiameter &&
           a.twist == b.twist && a.weight == b.weight && a.baseDiameter == b.baseDiameter &&
           a.boatTailLength == b.boatTailLength && a.ogiveRadius == b.ogiveRadius &&
           a.noseShape == b.noseShape && a.uniqueNumber == b.uniqueNumber;
}
