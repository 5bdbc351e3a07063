#include "tools/sim/frames.h"

#include "tools/common/tool_text.h"

#include <array>
#include <cstdlib>

namespace kx::sim {
namespace {

// One reading of a sweep: a magnitude in counts, its sign, or the overload glyph.
struct Reading {
    int counts;
    bool negative;
    bool overload;
};

std::vector<Reading> sweep(int fullScale, bool signedValues)
{
    const int middle = fullScale == 4000 ? 1234 : 12345;
    std::vector<Reading> readings = {{0, false, false}, {middle, false, false}, {fullScale - 1, false, false}};
    if (signedValues)
        readings.insert(readings.end(), {{middle, true, false}, {fullScale - 1, true, false}});
    readings.push_back({0, false, true});
    if (signedValues)
        readings.push_back({0, true, true});
    return readings;
}

std::string zeroPadded(int value, std::size_t width)
{
    std::string text = std::to_string(value);
    return std::string(width - text.size(), '0') + text;
}

// The text of a display with a point after digit `pointAfter` (1-based; 0 for none), blanks
// left out, the overload glyph written "L".
std::string displayOf(bool negative, std::string_view digits, int pointAfter)
{
    std::string text = negative ? "-" : "";
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (digits[i] != ' ')
            text += digits[i];
        if (static_cast<int>(i) + 1 == pointAfter)
            text += '.';
    }
    return text;
}

// ---- Segment frames: 14 bytes, high nibble 1 to E its position; 56 bits B1..B56 of the LCD, bit 3
// of nibble 1 first. Nibble 1 AC DC AUTO RS232; 2-9 sign, points and the segments of four digits;
// 10 micro nano kilo diode; 11 milli percent mega beeper; 12 farad ohm REC HOLD; 13 ampere volt
// hertz battery; 14 - - - Celsius.

enum SegmentBit {
    AC = 1, DC = 2, AUTO = 3, MINUS = 5,
    MICRO = 37, NANO = 38, KILO = 39, MILLI = 41, PERCENT = 42, MEGA = 43,
    FARAD = 45, OHM = 46, AMPERE = 49, VOLT = 50, HERTZ = 51, CELSIUS = 56,
};

// Segments of one digit in the order d c g b e f a.
const char *segmentPattern(char digit)
{
    static constexpr std::array<const char *, 10> kDigits = {
        "1101111", "0101000", "1011101", "1111001", "0111010",
        "1110011", "1110111", "0101001", "1111111", "1111011",
    };
    if (digit >= '0' && digit <= '9')
        return kDigits[static_cast<std::size_t>(digit - '0')];
    return digit == 'L' ? "1000110" : "0000000";
}

struct SegmentStation {
    std::vector<int> bits;
    int pointAfter;
    const char *unit;
    bool signedValues;
};

Frame segmentFrame(const SegmentStation &station, const Reading &reading)
{
    std::array<bool, 57> b{}; // b[1..56]
    for (int bit : station.bits)
        b[static_cast<std::size_t>(bit)] = true;
    b[MINUS] = reading.negative;
    const std::string digits = reading.overload ? " 0L " : zeroPadded(reading.counts, 4);
    if (station.pointAfter > 0)
        b[static_cast<std::size_t>(8 * station.pointAfter + 5)] = true;
    for (int k = 1; k <= 4; ++k) {
        const char *p = segmentPattern(digits[static_cast<std::size_t>(k - 1)]);
        const int at[7] = {8 * k + 1, 8 * k + 2, 8 * k + 3, 8 * k + 4, 8 * k - 2, 8 * k - 1, 8 * k};
        for (int s = 0; s < 7; ++s)
            b[static_cast<std::size_t>(at[s])] = p[s] == '1';
    }
    Frame frame;
    for (int i = 1; i <= 14; ++i) {
        int nibble = 0;
        for (int j = 0; j < 4; ++j)
            nibble = nibble * 2 + (b[static_cast<std::size_t>(4 * i - 3 + j)] ? 1 : 0);
        frame.bytes += static_cast<char>(i << 4 | nibble);
        frame.lastFrame += tools::kHexDigits[nibble];
    }
    frame.displayText = displayOf(reading.negative, digits, station.pointAfter);
    frame.unitText = station.unit;
    return frame;
}

const std::vector<SegmentStation> &segmentStations()
{
    static const std::vector<SegmentStation> stations = {
        {{DC, AUTO, VOLT}, 1, "V", true},
        {{DC, AUTO, MILLI, VOLT}, 3, "mV", true},
        {{AC, AUTO, VOLT}, 2, "V", false},
        {{AUTO, OHM}, 3, "*", false},
        {{AUTO, KILO, OHM}, 1, "k*", false},
        {{AUTO, MEGA, OHM}, 2, "M*", false},
        {{DC, AUTO, MICRO, AMPERE}, 3, "uA", true},
        {{DC, MILLI, AMPERE}, 2, "mA", true},
        {{AUTO, NANO, FARAD}, 2, "nF", false},
        {{AUTO, KILO, HERTZ}, 1, "kHz", false},
        {{PERCENT}, 3, "%", false},
        {{CELSIUS}, 0, "#", true},
    };
    return stations;
}

// ---- Carriage-return lines: nine data bytes 0x30 + digit, then CR LF; the receiver keeps the low
// digit of each byte. The LF closes the line for the receiver of the next one.

std::string lineBytes(std::string_view nineDigits)
{
    std::string bytes;
    for (char c : nineDigits)
        bytes += static_cast<char>(0x30 | tools::hexDigitValue(c));
    return bytes + "\r\n";
}

// Four-digit family: range, d1..d4, function, status (8 selector, 4 minus, 2 battery, 1 overload),
// option 1, option 2 (8 DC, 4 AC, 2 auto ranging, 1 RS-232 signs dark).
struct LineStation {
    char range;
    char function;
    int status;
    char option2;
    int pointAfter;
    const char *unit;
    bool signedValues;
};

Frame lineFrame(const LineStation &station, const Reading &reading)
{
    const std::string digits = zeroPadded(reading.counts, 4);
    const int status = station.status | (reading.negative ? 4 : 0) | (reading.overload ? 1 : 0);
    const std::string data = std::string(1, station.range) + digits + station.function + tools::kHexDigits[status] + '0'
                             + station.option2;
    Frame frame{lineBytes(data), "A" + data + "D", {}, station.unit};
    frame.displayText = reading.overload
                            ? displayOf(reading.negative, " 0L", station.pointAfter)
                            : displayOf(reading.negative, digits, station.pointAfter);
    return frame;
}

const std::vector<LineStation> &lineStations()
{
    static const std::vector<LineStation> stations = {
        {'1', 'B', 0, 'A', 1, "V", true},
        {'0', 'B', 0, 'A', 3, "mV", true},
        {'4', 'B', 0, '6', 0, "V", false},
        {'0', '3', 0, '2', 3, "*", false},
        {'1', '3', 0, '2', 1, "k*", false},
        {'4', '3', 0, '2', 1, "M*", false},
        {'0', 'D', 0, 'A', 3, "uA", true},
        {'1', '9', 0, '8', 3, "mA", true},
        {'0', 'F', 0, '8', 2, "A", true},
        {'1', '2', 0, '2', 2, "kHz", false},
        {'3', '6', 0, '2', 1, "uF", false},
        {'0', '4', 8, '0', 0, "#", true},
        {'0', '1', 0, '0', 1, ")", false},
        {'0', '5', 0, '0', 3, "&", false},
    };
    return stations;
}

// Five-digit family: d0..d4 ("A" in d0 marks an overload), range, function, coupling (1 AC,
// 3 AC+DC), status (4 minus, 1 or 2 auto ranging).
struct FiveDigitStation {
    char range;
    char function;
    char coupling;
    int pointIndex; // point after d0..d3 for 0..3, -1 for none
    const char *unit;
    bool signedValues;
};

Frame fiveDigitFrame(const FiveDigitStation &station, const Reading &reading)
{
    const std::string digits = reading.overload ? "A0000" : zeroPadded(reading.counts, 5);
    const int status = 1 | (reading.negative ? 4 : 0);
    const std::string data = digits + station.range + station.function + station.coupling + tools::kHexDigits[status];
    Frame frame{lineBytes(data), data + "DA", {}, station.unit};
    const int pointAfter = station.pointIndex + 1;
    frame.displayText = reading.overload ? displayOf(reading.negative, "  0L", pointAfter)
                                         : displayOf(reading.negative, digits, pointAfter);
    return frame;
}

const std::vector<FiveDigitStation> &fiveDigitStations()
{
    static const std::vector<FiveDigitStation> stations = {
        {'2', '1', '0', 1, "V", true},
        {'1', '1', '1', 0, "V", false},
        {'0', '3', '0', 2, "mV", true},
        {'1', '4', '0', 2, "*", false},
        {'2', '4', '0', 0, "k*", false},
        {'5', '4', '0', 0, "M*", false},
        {'3', '5', '0', 0, "uF", false},
        {'0', '7', '0', 2, "uA", true},
        {'1', '8', '3', 2, "mA", true},
        {'0', '9', '0', 1, "A", true},
        {'3', 'C', '0', 1, "kHz", false},
        {'0', '6', '0', 3, "#", true},
        {'0', 'D', '0', 3, "?", true},
        {'0', 'B', '0', 0, "V", false},
        {'0', 'F', '0', 2, "%", false},
    };
    return stations;
}

template <class Station, class Make>
std::vector<Frame> sweepStations(const std::vector<Station> &stations, int fullScale, Make make)
{
    std::vector<Frame> frames;
    for (const Station &station : stations)
        for (const Reading &reading : sweep(fullScale, station.signedValues))
            frames.push_back(make(station, reading));
    return frames;
}

} // namespace

std::optional<Family> familyFromName(std::string_view name)
{
    if (name == "segment")
        return Family::Segment;
    if (name == "line")
        return Family::Line;
    if (name == "five-digit")
        return Family::FiveDigit;
    return std::nullopt;
}

std::optional<Frame> frameFromDigits(Family family, std::string_view digits)
{
    std::string upper;
    for (char c : digits) {
        const int v = tools::hexDigitValue(c);
        if (v < 0)
            return std::nullopt;
        upper += tools::kHexDigits[v];
    }
    switch (family) {
    case Family::Segment: {
        if (upper.size() != 14)
            return std::nullopt;
        Frame frame{{}, upper, {}, {}};
        for (int i = 0; i < 14; ++i)
            frame.bytes += static_cast<char>((i + 1) << 4 | tools::hexDigitValue(upper[static_cast<std::size_t>(i)]));
        return frame;
    }
    case Family::Line:
        if (upper.size() == 11 && upper.front() == 'A' && upper.back() == 'D')
            upper = upper.substr(1, 9);
        if (upper.size() != 9)
            return std::nullopt;
        return Frame{lineBytes(upper), "A" + upper + "D", {}, {}};
    case Family::FiveDigit:
        if (upper.size() == 11 && upper.ends_with("DA"))
            upper.resize(9);
        if (upper.size() != 9)
            return std::nullopt;
        return Frame{lineBytes(upper), upper + "DA", {}, {}};
    }
    return std::nullopt;
}

std::vector<Frame> builtInScenario(Family family)
{
    switch (family) {
    case Family::Segment:
        return sweepStations(segmentStations(), 4000, segmentFrame);
    case Family::Line:
        return sweepStations(lineStations(), 4000, lineFrame);
    case Family::FiveDigit: {
        std::vector<Frame> frames = sweepStations(fiveDigitStations(), 40000, fiveDigitFrame);
        // The marker digit "B" shows all five digits as zeros.
        frames.push_back(Frame{lineBytes("123B52101"), "123B52101DA", "00.000", "V"});
        return frames;
    }
    }
    return {};
}

} // namespace kx::sim
