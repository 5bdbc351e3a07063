#pragma once

#include "tests/e2e/scenario.h"

#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kx::e2e {

// What one frame puts on the meter's display, and what the reading then does to the rest of the
// window, as this build's headless decoder reports it: the reference the window is held to.
struct Expected {
    QString frame; // LastFrame
    QString DisplayText, UnitText, CouplingText, RangeModeText;
    double ReadingValue = 0;
    std::map<QString, QString> captions; // digit label name to its glyph
    QStringList shown;                   // LCD elements shown, sorted by name
    std::optional<int> gauge, bar;       // what KDrun and the bar were given
    std::optional<double> chart;         // the chart point
    bool reset = false;                  // the chart and MIN/MAX started afresh
    bool alarm = false;                  // "OL !!" shown, with a beep
    QString MaxText, MinText, MaxTextU, MinTextU;
    double axisMinimum = 0, axisMaximum = 0;
    QString error;                       // a conversion that failed, or empty
};

// The alarm limits as typed into "Setmax" and "SetMin", both ticked.
struct Limits {
    QString max, min;
};

// This build's headless decoder run over `bytes` with the limits set: one entry per decoded frame.
// A decoder that cannot be run or answers nonsense fails the test and gives nothing.
std::vector<Expected> referenceDecoding(const std::string &bytes, const Limits &limits, const QString &workDir);

// The scenario as the reference decoded it, frame by frame: each frame's text has the digits and
// sign the scenario wrote, and none fails conversion. Fails the test otherwise.
void expectShownAsWritten(const std::vector<ScenarioFrame> &frames, const std::vector<Expected> &expected);

} // namespace kx::e2e
