#pragma once

#include <cstdint>
#include <string_view>

namespace kx::meter {

// Reading LastFrame by position, counted from 1. A position beyond the end reads as nothing
// (0, or an empty text), so a short frame from the USB link cannot read past its end.
class FrameText {
public:
    explicit FrameText(std::string_view frame) : frame_(frame) {}

    char at(std::size_t position) const { return position <= frame_.size() ? frame_[position - 1] : 0; }
    // The single character at POSITION as a text, for the decimal conversions of one digit.
    std::string_view digitText(std::size_t position) const
    {
        return position <= frame_.size() ? frame_.substr(position - 1, 1) : std::string_view();
    }
    // The position read as a hex digit 0 to 15; anything else reads as 0.
    std::uint8_t nibble(std::size_t position) const
    {
        const char c = at(position);
        if (c >= '0' && c <= '9')
            return static_cast<std::uint8_t>(c - '0');
        if (c >= 'A' && c <= 'F')
            return static_cast<std::uint8_t>(c - 'A' + 10);
        return 0;
    }

private:
    std::string_view frame_;
};

} // namespace kx::meter
