#pragma once

#include <cstdint>
#include <string>

namespace kx::meter {

// Longest frame digit text the receivers keep. The longest well-formed frame has 14 digits; a line
// noise burst or a meter of another family must not make the accumulators grow without end, so the
// digits of a frame beyond this many are not kept. The frame tests and every decoder read only the
// first 14 positions, so a cut frame is accepted or dropped exactly as an uncut one.
inline constexpr std::size_t kMaxFrameDigits = 64;

// The decoder's point position when the five-digit display shows no point (the four-digit decoders
// use 0 for that).
inline constexpr std::int32_t kNoPointIndex = -1;

// The shared reading state through which receivers, decoders, the update sequence, gauge, limits,
// log and chart cooperate. One instance lives beside the main window, touched on its thread only.
// The log's own counters (record number, limit, count, sampling ticks) live with the log.
// The texts keep their capacity from construction on, so decoding a frame never allocates.
struct ReadingState {
    ReadingState();

    std::string FrameIndexDigits;
    std::string FrameDigits;
    std::string LastFrame;
    float MaxLimit = 0;
    float MinLimit = 0;
    float MaxReading = 0;
    float MinReading = 0;
    float ReadingValue = 0;
    std::string DisplayText;
    std::string RangeModeText;
    std::string CouplingText;
    std::string UnitText;
    std::string LastUnitText;
    std::int32_t LastPointPos = 0;
    std::string MaxDisplayText;
    std::string MinDisplayText;
    bool FrequencyMode = false;
    std::uint8_t ChartLive = 1;
    std::int32_t LinkIdleTicks = 0;
    std::int32_t FullScale = 0;
    std::int32_t GaugeZero = 0;
    std::int32_t BarFull = 0;
    std::int32_t GaugeSpan = 0;
};

} // namespace kx::meter
