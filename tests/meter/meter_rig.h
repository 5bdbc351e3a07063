#pragma once

#include "meter/headless_window.h"
#include "meter/meter.h"
#include "meter/startup.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kx::meter::test {

using Bytes = std::vector<std::uint8_t>;

// A data path as the window starts it, on a headless window.
struct Rig {
    explicit Rig(ProfileFlags flags = buildProfileFlags()) : meter(window, flags), started(startProfile(meter)) {}

    Failure feed(const Bytes &bytes)
    {
        return started.receiver(meter, bytes.data(), static_cast<std::int32_t>(bytes.size()));
    }

    HeadlessWindow window;
    Meter meter;
    StartedProfile started;
};

inline std::uint8_t hexValue(char c)
{
    return static_cast<std::uint8_t>(c <= '9' ? c - '0' : c - 'A' + 10);
}

// The 14 bytes of a segment frame whose data nibbles are the hex digits of NIBBLES.
inline Bytes segmentFrame(std::string_view nibbles)
{
    Bytes bytes;
    for (std::size_t i = 0; i < nibbles.size(); ++i)
        bytes.push_back(static_cast<std::uint8_t>(((i + 1) << 4) | hexValue(nibbles[i])));
    return bytes;
}

// Line feed, the bytes 0x3? of DATA (one per digit), carriage return.
inline Bytes line(std::string_view data)
{
    Bytes bytes{0x0A};
    for (char c : data)
        bytes.push_back(static_cast<std::uint8_t>(0x30 | hexValue(c)));
    bytes.push_back(0x0D);
    return bytes;
}

// The bytes whose LastFrame is FRAME: "A" + nine digits + "D" for the carriage-return decoder,
// nine digits + "DA" for the extended one.
inline Bytes carriageReturnFrame(std::string_view frame) { return line(frame.substr(1, 9)); }
inline Bytes extendedFrame(std::string_view frame) { return line(frame.substr(0, 9)); }

inline std::vector<std::string> shownNames(const LcdModel &lcd)
{
    std::vector<std::string> names;
    for (std::size_t i = 0; i < kLcdElementCount; ++i) {
        const auto element = static_cast<LcdElement>(i);
        if (lcdElementInBuild(element) && lcd.shown(element))
            names.emplace_back(lcdElementName(element));
    }
    std::sort(names.begin(), names.end());
    return names;
}

inline std::vector<std::string> sorted(std::vector<std::string> names)
{
    std::sort(names.begin(), names.end());
    return names;
}

inline std::string captions(const LcdModel &lcd)
{
    std::string text;
    for (LcdDigit d : {LcdDigit::D0, LcdDigit::Da, LcdDigit::Db, LcdDigit::Dc, LcdDigit::Dd}) {
        if (!lcdElementInBuild(lcdDigitElement(d)))
            continue;
        text += lcd.caption(d).empty() ? std::string_view("_") : lcd.caption(d);
    }
    return text;
}

} // namespace kx::meter::test

namespace kx::meter::test {

// What a decoded frame leaves in the reading state and on the LCD's signs.
struct Reading {
    std::string display;
    float value;
    std::string unit, coupling, rangeMode;
    std::vector<std::string> signs;
};

// What the frame handed to gauge, bar and chart; unset fields are not checked.
struct Handed {
    std::optional<std::int32_t> gauge = std::nullopt, bar = std::nullopt, chart = std::nullopt;
};

// Shown elements other than the digit labels, sorted.
inline std::vector<std::string> shownSigns(const LcdModel &lcd)
{
    std::vector<std::string> names = shownNames(lcd);
    std::erase_if(names, [](const std::string &n) { return n.size() == 5 && n.starts_with("LcdD"); });
    return names;
}

} // namespace kx::meter::test

namespace kx::meter::test {

// A segment frame written the way the meter's LCD reads: four glyphs ("0" to "9", "L", or " " for
// no segment), the sign, the point after digit 1 to 3 (0 for none), and the raw nibbles 1 and 10
// to 14 for the annunciators.
struct Segments {
    std::string_view glyphs = "0000";
    bool minus = false;
    int point = 0;
    std::uint8_t n1 = 0, n10 = 0, n11 = 0, n12 = 0, n13 = 0, n14 = 0;
};

// Segment order d c g b e f a, as the meter sends them.
inline const std::map<char, std::string_view> kPatterns{
    {'0', "1101111"}, {'1', "0101000"}, {'2', "1011101"}, {'3', "1111001"}, {'4', "0111010"},
    {'5', "1110011"}, {'6', "1110111"}, {'7', "0101001"}, {'8', "1111111"}, {'9', "1111011"},
    {'L', "1000110"}, {' ', "0000000"},
};

inline std::string nibbles(const Segments &f)
{
    std::array<int, 15> n{};
    n[1] = f.n1;
    for (int k = 1; k <= 4; ++k) {
        const std::string_view p = kPatterns.at(f.glyphs[static_cast<std::size_t>(k - 1)]);
        const auto bit = [&](int i) { return p[static_cast<std::size_t>(i)] == '1' ? 1 : 0; };
        n[2 * k + 1] = bit(0) << 3 | bit(1) << 2 | bit(2) << 1 | bit(3);
        n[2 * k] = bit(4) << 2 | bit(5) << 1 | bit(6);
    }
    if (f.minus)
        n[2] |= 8;
    if (f.point)
        n[2 + 2 * f.point] |= 8;
    n[10] = f.n10, n[11] = f.n11, n[12] = f.n12, n[13] = f.n13, n[14] = f.n14;
    std::string text;
    for (int i = 1; i <= 14; ++i)
        text += "0123456789ABCDEF"[n[static_cast<std::size_t>(i)]];
    return text;
}

} // namespace kx::meter::test

#include <gtest/gtest.h>

namespace kx::meter::test {

inline void expectReading(const Rig &rig, const Reading &expected)
{
    const ReadingState &s = rig.meter.state;
    EXPECT_EQ(s.DisplayText, expected.display);
    EXPECT_EQ(s.ReadingValue, expected.value);
    EXPECT_EQ(s.UnitText, expected.unit);
    EXPECT_EQ(s.CouplingText, expected.coupling);
    EXPECT_EQ(s.RangeModeText, expected.rangeMode);
    EXPECT_EQ(shownSigns(rig.meter.lcd), sorted(expected.signs));
}

inline void expectHanded(const HeadlessWindow &window, const Handed &expected)
{
    if (expected.gauge) {
        EXPECT_EQ(window.frame.gauge, expected.gauge);
    }
    if (expected.bar) {
        EXPECT_EQ(window.frame.bar, expected.bar);
    }
    if (expected.chart) {
        EXPECT_EQ(window.frame.chart, expected.chart);
    }
}

} // namespace kx::meter::test
