#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// Builds the bytes of a binary file: little-endian values appended in order.
class ByteWriter {
public:
    void u8(uint8_t v) { out_.push_back(static_cast<char>(v)); }
    void u16(uint16_t v);
    void i32(int32_t v);
    void f64(double v);
    void bytes(std::string_view b) { out_.append(b); }
    void zeros(size_t count) { out_.append(count, '\0'); }

    const std::string& data() const { return out_; }
    std::string take() { return std::move(out_); }

private:
    std::string out_;
};
