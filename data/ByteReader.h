#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Reads little-endian values from bytes in memory. Never reads past the end: a read that does not
// fit fails, leaves the value at 0 and makes ok() false for good, so a reader of a short or damaged
// file can go on and check once.
class ByteReader {
public:
    explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}

    bool ok() const { return ok_; }
    size_t position() const { return position_; }
    size_t remaining() const { return ok_ ? bytes_.size() - position_ : 0; }
    bool atEnd() const { return remaining() == 0; }

    uint8_t u8();
    int32_t i32();
    uint16_t u16();
    double f64();
    // `count` bytes as they are; fewer when the data ends first (and then ok() is false).
    std::string_view bytes(size_t count);
    void skip(size_t count);

private:
    bool take(void* out, size_t count);

    std::string_view bytes_;
    size_t position_ = 0;
    bool ok_ = true;
};
