#pragma once

#include "meter/failure.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace kx::meter {

// A short text joined from sign, digit glyphs and points in a fixed buffer, so that composing a
// reading never allocates. A glyph 0 is a blank digit and adds nothing.
class JoinedText {
public:
    JoinedText &operator+=(char glyph)
    {
        if (glyph != 0 && size_ < buffer_.size())
            buffer_[size_++] = glyph;
        return *this;
    }
    std::string_view view() const { return {buffer_.data(), size_}; }

private:
    std::array<char, 32> buffer_{};
    std::size_t size_ = 0;
};

// Reads TEXT as a signed whole number into VALUE; a text that is none is the frame's failure.
Failure toInteger(std::string_view text, std::int32_t &value);

} // namespace kx::meter
