#pragma once

#include <string>
#include <vector>

namespace kx::e2e {

// One frame the meter sends, and what its display shows as the scenario wrote it.
struct ScenarioFrame {
    std::string lastFrame; // the frame's digits as a receiver keeps them: a line of the simulator's frames file
    std::string bytes;    // the bytes on the serial line, which the USB adapter relays as they are
    bool negative = false;
    std::string glyphs;   // the digits shown, left to right: blanks left out, "L" for the overload glyph
};

// Over a thousand frames of this build's meter: every function in every range, with sign changes,
// overloads, annunciators switched on and off (HOLD among them on the four-digit meter, which has
// one), frequency mode, and a long run in one range that fills several chart pages.
std::vector<ScenarioFrame> buildScenario();

// What the line carries before the scenario, decoded by no receiver: the five-digit receiver takes
// a line only after the line feed that ends the one before it, so one line goes first. Empty for
// the segment frames.
ScenarioFrame leadIn();

// The family name the simulator takes for this build's frames.
const char *simulatorFamily();

// The serial line: the lead-in, then all the frames' bytes one after the other.
std::string scenarioBytes(const std::vector<ScenarioFrame> &frames);

} // namespace kx::e2e
