#pragma once

#include "meter/meter.h"

#include <cstdint>
#include <span>

namespace kx::meter {

// What a decoder hands the reading update sequence once DisplayText and ReadingValue are set.
struct UpdateInputs {
    bool negative = false;
    // Digit glyphs left to right (0 = blank): LcdD0 to LcdDd for the five-digit decoder, LcdDa to
    // LcdDd for the others. The gauge takes the first three, the bar the first two, the chart all.
    std::span<const char> digits;
    std::int32_t pointPosition = 0;
    // The decoder's overload test (the "0" "L" pair, or an "L" in the third digit).
    bool overload = false;
    // MaxReading and MinReading after a change of function or range.
    float resetMaxReading = 0;
    float resetMinReading = 0;
    std::int32_t barAtOverload = 0;
};

// Link icons and watchdog: the first thing every decoder does.
void showLinkAlive(Meter &meter);

// Frequency mode switched: the gauge is set up again and the chart axis rescaled.
void applyFrequencyMode(Meter &meter, bool previous);

// The point position from the point shapes LcdP1 to LcdP3 now shown (0 for none).
std::int32_t shownPointPosition(const LcdModel &lcd);

// ReadingValue: OVERLOAD_COUNTS with the reading's sign when the decoder sees an overload, else the
// sign and digits read as one whole number (points play no part).
Failure setReadingValue(ReadingState &state, bool negative, std::span<const char> digits, bool overload,
                        std::int32_t overloadCounts);

// Alarm, MIN/MAX, captions, LCD digits, gauge, log, bar and chart for the decoded reading.
Failure runUpdateSequence(Meter &meter, const UpdateInputs &in);

} // namespace kx::meter
