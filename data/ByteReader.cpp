#include "ByteReader.h"

#include <cstring>

bool ByteReader::take(void* out, size_t count) {
    if (!ok_ || count > bytes_.size() - position_) {
        ok_ = false;
        std::memset(out, 0, count);
        return false;
    }
    std::memcpy(out, bytes_.data() + position_, count);
    position_ += count;
    return true;
}

uint8_t ByteReader::u8() {
    uint8_t v;
    take(&v, 1);
    return v;
}

uint16_t ByteReader::u16() {
    unsigned char b[2];
    take(b, 2);
    return static_cast<uint16_t>(b[0] | (b[1] << 8));
}

int32_t ByteReader::i32() {
    unsigned char b[4];
    take(b, 4);
    const uint32_t u = uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) | (uint32_t(b[3]) << 24);
    int32_t v;
    std::memcpy(&v, &u, 4);
    return v;
}

double ByteReader::f64() {
    unsigned char b[8];
    take(b, 8);
    uint64_t u = 0;
    for (int i = 7; i >= 0; --i) u = (u << 8) | b[i];
    double v;
    std::memcpy(&v, &u, 8);
    return v;
}

std::string_view ByteReader::bytes(size_t count) {
    if (!ok_) return {};
    const size_t n = std::min(count, bytes_.size() - position_);
    const std::string_view out = bytes_.substr(position_, n);
    position_ += n;
    if (n < count) ok_ = false;
    return out;
}

void ByteReader::skip(size_t count) { bytes(count); }
