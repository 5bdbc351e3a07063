#pragma once

#include "tests/meter/meter_rig.h"

#include <string>

namespace kx::app::testing {

// Frames of the meter this build reads, as bytes on the serial line, with what the LCD then shows.
struct BuildFrame {
    std::string bytes;
    std::string displayText;
};

inline std::string asText(const meter::test::Bytes &bytes) { return std::string(bytes.begin(), bytes.end()); }

#if defined(KX52B_BUILD_40K)
// Five-digit lines: nine digits, CR, LF.
inline BuildFrame readingFrame(int variant)
{
    static const BuildFrame frames[] = {
        {asText(meter::test::line("123452101")), "12.345"},
        {asText(meter::test::line("543212101")), "54.321"},
        {asText(meter::test::line("12345210C")), "-12.345"},
    };
    return frames[variant % 3];
}
// A line whose digits do not convert.
inline std::string failingFrame() { return asText(meter::test::line("12345A101")); }
#else
// Segment frames of the four-digit meter.
inline BuildFrame readingFrame(int variant)
{
    using meter::test::nibbles;
    static const BuildFrame frames[] = {
        {asText(meter::test::segmentFrame(nibbles({.glyphs = "1234", .point = 1}))), "1.234"},
        {asText(meter::test::segmentFrame(nibbles({.glyphs = "3210", .point = 1}))), "3.210"},
        {asText(meter::test::segmentFrame(nibbles({.glyphs = "1234", .minus = true, .point = 1}))), "-1.234"},
    };
    return frames[variant % 3];
}
// A frame whose segments form no digit.
inline std::string failingFrame()
{
    return asText(meter::test::segmentFrame(meter::test::nibbles({.glyphs = "    ", .minus = true, .n13 = 4})));
}
#endif

} // namespace kx::app::testing
