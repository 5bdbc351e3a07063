#include "meter/headless_window.h"

namespace kx::meter {

HeadlessWindow::HeadlessWindow()
{
    for (std::string *text : {&MaxText, &MinText, &MaxTextU, &MinTextU, &Bt10})
        text->reserve(32);
    USBtxt.reserve(64);
}

void HeadlessWindow::showCONok()
{
    if (onFrameStart)
        onFrameStart();
    ++decoderRuns;
    frame = {};
}

void HeadlessWindow::setMinMaxCaptions(std::string_view max, std::string_view min, std::string_view maxUnit,
                                       std::string_view minUnit)
{
    MaxText.assign(max);
    MinText.assign(min);
    MaxTextU.assign(maxUnit);
    MinTextU.assign(minUnit);
}

Failure HeadlessWindow::INDataToTable(std::int32_t)
{
    if (logFailure)
        return logFailure;
    frame.logged = true;
    return std::nullopt;
}

void HeadlessWindow::setChartLeftAxis(double minimum, double maximum)
{
    axisMinimum = minimum;
    axisMaximum = maximum;
}

} // namespace kx::meter
