#include "tests/e2e/scenario.h"

#include "tests/meter/meter_rig.h"
#include "tools/sim/frames.h"

#include <cstdint>
#include <string_view>

namespace kx::e2e {

namespace {

constexpr int kLongRun = 260; // readings in one range: three chart pages of 100

std::string zeroPadded(int value, std::size_t width)
{
    std::string text = std::to_string(value);
    return std::string(width - text.size(), '0') + text;
}

std::string bytesOf(sim::Family family, const std::string &lastFrame)
{
    return sim::frameFromDigits(family, lastFrame).value_or(sim::Frame{}).bytes;
}

#if defined(KX52B_BUILD_40K)

// Five-digit lines: d0..d4, range, function, coupling, status (4 minus, 1 or 2 automatic ranging,
// 8 ignored). "A" in d0 is the overload, "B" in d3 the marker that shows five zeros.
ScenarioFrame frame(std::string_view display, char range, char function, char coupling, int status)
{
    ScenarioFrame f;
    f.lastFrame = std::string(display) + range + function + coupling + "0123456789ABCDEF"[status] + "DA";
    f.bytes = bytesOf(sim::Family::FiveDigit, f.lastFrame);
    f.negative = status & 4;
    f.glyphs = display[0] == 'A' ? "0L" : display[3] == 'B' ? "00000" : std::string(display);
    return f;
}

} // namespace

const char *simulatorFamily() { return "five-digit"; }

ScenarioFrame leadIn() { return frame("00000", '1', '1', '0', 0); }

std::vector<ScenarioFrame> buildScenario()
{
    constexpr std::string_view kFunctions = "0123456789ABCDEF";
    constexpr std::string_view kRanges = "01234567";
    constexpr std::string_view kCouplings = "0132"; // none, AC, AC+DC, a digit that lights nothing
    std::vector<ScenarioFrame> frames;
    int station = 0;
    for (char function : kFunctions)
        for (char range : kRanges) {
            const char coupling = kCouplings[static_cast<std::size_t>(station % 4)];
            const int ranging = station % 3; // manual, or either bit of automatic ranging
            const std::string middle = zeroPadded((1234 + 4567 * station) % 40000, 5);
            const struct {
                std::string display;
                int status;
            } readings[] = {
                {"00000", 0}, {middle, 0},  {"39999", 0}, {middle, 4},
                {"A0000", 0}, {"A0000", 4}, {"123B5", 0}, {"00012", 4 | 8},
            };
            for (const auto &r : readings)
                frames.push_back(frame(r.display, range, function, coupling, ranging | r.status));
            ++station;
        }
    for (int i = 0; i < kLongRun; ++i) {
        const int sign = (i / 20) % 2 ? 4 : 0;
        const std::string display = i % 50 == 49 ? "A0000" : zeroPadded(i * 1531 % 40000, 5);
        frames.push_back(frame(display, '2', '1', '0', 1 | sign));
    }
    return frames;
}

#else

std::string withoutBlanks(std::string_view glyphs)
{
    std::string shown;
    for (char c : glyphs)
        if (c != ' ')
            shown += c;
    return shown;
}

// A function of the four-digit meter: the annunciator nibbles it lights (segment frame nibbles 1
// and 10 to 14) and whether its readings take a sign.
struct Function {
    std::uint8_t n1, n10, n11, n12, n13, n14;
    bool isSigned;
};

// Nibble 1: AC 8, DC 4, AUTO 2, RS232 1. 10: micro 8, nano 4, kilo 2, diode 1. 11: milli 8,
// percent 4, mega 2, beeper 1. 12: farad 8, ohm 4, REC 2, HOLD 1. 13: ampere 8, volt 4, hertz 2,
// battery 1. 14: Celsius 1.
constexpr Function kFunctions[] = {
    {4, 0, 0, 0, 4, 0, true},  // V DC
    {8, 0, 0, 0, 4, 0, false}, // V AC
    {4, 0, 8, 0, 4, 0, true},  // mV DC
    {8, 0, 8, 0, 4, 0, false}, // mV AC
    {0, 0, 0, 4, 0, 0, false}, // ohm
    {0, 2, 0, 4, 0, 0, false}, // kilo-ohm
    {0, 0, 2, 4, 0, 0, false}, // mega-ohm
    {0, 0, 1, 4, 0, 0, false}, // continuity
    {0, 1, 0, 0, 4, 0, false}, // diode
    {4, 8, 0, 0, 8, 0, true},  // uA DC
    {4, 0, 8, 0, 8, 0, true},  // mA DC
    {4, 0, 0, 0, 8, 0, true},  // A DC
    {8, 0, 0, 0, 8, 0, false}, // A AC
    {0, 4, 0, 8, 0, 0, false}, // nF
    {0, 8, 0, 8, 0, 0, false}, // uF
    {0, 0, 8, 8, 0, 0, false}, // mF
    {0, 0, 0, 0, 2, 0, false}, // Hz
    {0, 2, 0, 0, 2, 0, false}, // kHz
    {0, 0, 2, 0, 2, 0, false}, // MHz
    {0, 0, 4, 0, 0, 0, false}, // percent
    {0, 0, 0, 0, 0, 1, true},  // Celsius
};

struct Glyphs {
    std::string glyphs; // four digits: "0" to "9", "L", or " " for a blank one
    bool negative;
    std::uint8_t n12 = 0, n13 = 0; // HOLD, REC, battery on top of the function's
};

ScenarioFrame frame(const Function &fn, int point, std::uint8_t n1, const Glyphs &g)
{
    meter::test::Segments s;
    s.glyphs = g.glyphs;
    s.minus = g.negative && fn.isSigned;
    s.point = point;
    s.n1 = n1;
    s.n10 = fn.n10, s.n11 = fn.n11, s.n12 = fn.n12 | g.n12, s.n13 = fn.n13 | g.n13, s.n14 = fn.n14;
    ScenarioFrame f;
    f.lastFrame = meter::test::nibbles(s);
    f.bytes = bytesOf(sim::Family::Segment, f.lastFrame);
    f.negative = s.minus;
    f.glyphs = withoutBlanks(g.glyphs);
    return f;
}

} // namespace

const char *simulatorFamily() { return "segment"; }

ScenarioFrame leadIn() { return {}; }

std::vector<ScenarioFrame> buildScenario()
{
    constexpr std::uint8_t kHold = 1, kRec = 2, kBattery = 1;
    std::vector<ScenarioFrame> frames;
    int station = 0;
    for (const Function &fn : kFunctions)
        for (int point = 0; point <= 3; ++point) {
            const std::uint8_t n1 = fn.n1 | (station % 2 ? 2 : 0) | (station % 3 ? 0 : 1);
            const std::string middle = zeroPadded((123 + 997 * station) % 4000, 4);
            const Glyphs readings[] = {
                {"0000", false}, {middle, false}, {"3999", false}, {middle, true},
                {"3999", true},  {" 0L ", false, kRec}, {" 0L ", true}, {" 567", false},
                {"0012", true, 0, kBattery}, {"2468", false}, {"2468", false, kHold}, {"2468", false, kHold},
            };
            for (const Glyphs &g : readings)
                frames.push_back(frame(fn, point, n1, g));
            ++station;
        }
    for (int i = 0; i < kLongRun; ++i) {
        const bool negative = (i / 25) % 2;
        const std::string glyphs = i % 50 == 49 ? " 0L " : zeroPadded(i * 97 % 4000, 4);
        frames.push_back(frame(kFunctions[0], 1, 4 | 2, {glyphs, negative}));
    }
    return frames;
}

#endif

std::string scenarioBytes(const std::vector<ScenarioFrame> &frames)
{
    std::string bytes = leadIn().bytes;
    for (const ScenarioFrame &f : frames)
        bytes += f.bytes;
    return bytes;
}

} // namespace kx::e2e
