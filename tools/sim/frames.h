#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kx::sim {

// The three frame families a meter of this program's kind sends.
enum class Family {
    Segment,   // 14 bytes 0x1? to 0xE?, the LCD segments bit by bit (4000-count meters)
    Line,      // nine data bytes, CR, LF; four digits (4000-count carriage-return family)
    FiveDigit, // nine data bytes, CR, LF; five digits (40000-count family)
};

std::optional<Family> familyFromName(std::string_view name);

// One frame as sent, with what a receiver keeps of it and what the meter shows. displayText and
// unitText are known for the built-in scenario only; lastFrame is empty for raw bytes from a file.
struct Frame {
    std::string bytes;
    std::string lastFrame;
    std::string displayText;
    std::string unitText;
};

// The bytes of a frame given as the digit text a receiver keeps of it ("123452101DA",
// "A20123B00AD", or 14 segment nibbles); none when the text is not such a frame of the family.
std::optional<Frame> frameFromDigits(Family family, std::string_view digits);

// A slow sweep through functions and ranges, with sign changes and overloads.
std::vector<Frame> builtInScenario(Family family);

} // namespace kx::sim
