#pragma once

#include "meter/failure.h"

#include <cstdint>
#include <string_view>

namespace kx::meter {

// What the data path drives outside itself: the controls of the main window that each decoded frame
// reaches (link icons, gauge, bar, alarm banner, MIN/MAX captions, log, chart, limit check boxes,
// frame memo). The main window implements it by forwarding to its components.
class MeterWindow {
public:
    virtual ~MeterWindow() = default;

    // Link icons: CONok shown, CONokN hidden.
    virtual void showCONok() = 0;
    // The hidden frame memo Memo1 and the hidden label USBtxt.
    virtual void Memo1Append(std::string_view line) = 0;
    virtual void setUSBtxt(std::string_view caption) = 0;

    // Limit check boxes and the chart's fill option, as the user left them.
    virtual bool SetMaxBChecked() const = 0;
    virtual bool SetMinBChecked() const = 0;
    virtual bool BtFillChecked() const = 0;

    // Alarm: the default beep, the "OL !!" panel.
    virtual void MessageBeep() = 0;
    virtual void setOltextVisible(bool visible) = 0;

    // MIN/MAX captions beside the limit fields.
    virtual void setMinMaxCaptions(std::string_view MaxText, std::string_view MinText,
                                   std::string_view MaxTextU, std::string_view MinTextU) = 0;

    // Gauge and bar.
    virtual void KDsetup(std::int32_t mode) = 0;
    virtual void KDrun(std::int32_t position) = 0;
    virtual void setPBar2Position(std::int32_t position) = 0;

    // The log decides itself whether it records this reading; a table error ends the frame.
    virtual Failure INDataToTable(std::int32_t mode) = 0;

    // Chart: series selection, the "New" command, the value axis, the two series, paging.
    virtual void ShowSeries(std::int32_t which) = 0;
    virtual void BtNewClick() = 0;
    virtual void setChartLeftAxis(double minimum, double maximum) = 0;
    virtual void Series1Add(double value) = 0;
    virtual void Series2Add(double value) = 0;
    virtual std::int32_t chartPageCount() const = 0;
    virtual void setChartPage(std::int32_t page) = 0;
    virtual void setBt10Caption(std::string_view caption) = 0;
};

} // namespace kx::meter
