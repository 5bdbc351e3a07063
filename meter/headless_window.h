#pragma once

#include "meter/frame_memo.h"
#include "meter/meter_window.h"

#include <functional>
#include <optional>
#include <string>

namespace kx::meter {

// The window controls of the data path without a screen: keeps what the window would show and
// records what the current frame handed to gauge, bar, log and chart. The headless decoder, the
// benchmarks and the tests run the data path through it.
class HeadlessWindow final : public MeterWindow {
public:
    // What one decoder run handed out; cleared when the next run starts.
    struct FrameCalls {
        std::optional<std::int32_t> gauge;
        std::optional<std::int32_t> bar;
        std::optional<double> chart;
        std::optional<std::int32_t> showSeries;
        bool reset = false;
        bool logged = false;
        int beeps = 0;
        int gaugeSetups = 0;
    };

    HeadlessWindow();

    // Called as each decoder run starts, before its calls are recorded.
    std::function<void()> onFrameStart;

    // The user's check boxes.
    bool SetMaxB = false;
    bool SetMinB = false;
    bool BtFill = false;
    // A table error the log reports for every reading, when set.
    std::optional<std::string> logFailure;

    // What the window shows.
    bool oltextVisible = false;
    std::string MaxText, MinText, MaxTextU, MinTextU;
    std::string USBtxt;
    std::string Bt10;
    double axisMinimum = 0;
    double axisMaximum = 0;
    FrameMemo Memo1;

    std::int64_t decoderRuns = 0;
    FrameCalls frame;

    void showCONok() override;
    void Memo1Append(std::string_view line) override { Memo1.append(line); }
    void setUSBtxt(std::string_view caption) override { USBtxt.assign(caption); }
    bool SetMaxBChecked() const override { return SetMaxB; }
    bool SetMinBChecked() const override { return SetMinB; }
    bool BtFillChecked() const override { return BtFill; }
    void MessageBeep() override { ++frame.beeps; }
    void setOltextVisible(bool visible) override { oltextVisible = visible; }
    void setMinMaxCaptions(std::string_view max, std::string_view min, std::string_view maxUnit,
                           std::string_view minUnit) override;
    void KDsetup(std::int32_t) override { ++frame.gaugeSetups; }
    void KDrun(std::int32_t position) override { frame.gauge = position; }
    void setPBar2Position(std::int32_t position) override { frame.bar = position; }
    Failure INDataToTable(std::int32_t) override;
    void ShowSeries(std::int32_t which) override { frame.showSeries = which; }
    void BtNewClick() override { frame.reset = true; }
    void setChartLeftAxis(double minimum, double maximum) override;
    void Series1Add(double value) override { frame.chart = value; }
    void Series2Add(double) override {}
    std::int32_t chartPageCount() const override { return 1; }
    void setChartPage(std::int32_t) override {}
    void setBt10Caption(std::string_view caption) override { Bt10.assign(caption); }
};

} // namespace kx::meter
