#pragma once

#include "app/window_controls.h"
#include "app/window_services.h"
#include "log/log_prompts.h"
#include "log/reading_log.h"
#include "log/log_files.h"
#include "meter/frame_memo.h"
#include "meter/meter.h"

#include <QMainWindow>

#include <memory>

class QSessionManager;
class QTimer;

namespace kx::display {
class AnalogGauge;
class LcdPanel;
class LimitPanel;
} // namespace kx::display

namespace kx::link {
class ExclusiveToggleGroup;
class THidDeviceController;
class UsbAdapterLink;
class SerialConnectionControls;
class TSerialPortDriver;
} // namespace kx::link

namespace kx::log {
class LogGrid;
class LogTable;
class TrendChart;
} // namespace kx::log

namespace kx::app {

class FrameFailureLine;
struct WindowLayout;
class WindowMessages;

// `TFCOMM`, the one main window (`FCOMM`): it owns every component and control, places them, wires
// their events, runs the start-up sequence and ends the run. The behaviour lives in the
// components; the window forwards the data path's calls to them.
class TFCOMM : public QMainWindow, public meter::MeterWindow {
public:
    explicit TFCOMM(WindowServices services = {}, QWidget *parent = nullptr);
    ~TFCOMM() override;

    meter::Meter &meter() { return m_meter; }
    link::TSerialPortDriver &COMM2() { return *m_COMM2; }
    link::THidDeviceController &HidCtl() { return *m_HidCtl; }
    log::LogTable &T38BDB() { return *m_T38BDB; }
    const meter::FrameMemo &Memo1() const { return m_Memo1; }

    // The exits "Exit" (menu and panel) and "EXIT": ask about unsaved readings, close the log and
    // end the run.
    void BtExit1Click();
    void BitBtn1Click() { BtExit1Click(); }

    // The data path's calls, forwarded to the components.
    void showCONok() override;
    void Memo1Append(std::string_view line) override { m_Memo1.append(line); }
    void setUSBtxt(std::string_view caption) override;
    bool SetMaxBChecked() const override;
    bool SetMinBChecked() const override;
    bool BtFillChecked() const override;
    void MessageBeep() override;
    void setOltextVisible(bool visible) override;
    void setMinMaxCaptions(std::string_view MaxText, std::string_view MinText, std::string_view MaxTextU,
                           std::string_view MinTextU) override;
    void KDsetup(std::int32_t mode) override;
    void KDrun(std::int32_t position) override;
    void setPBar2Position(std::int32_t position) override;
    meter::Failure INDataToTable(std::int32_t mode) override;
    void ShowSeries(std::int32_t which) override;
    void BtNewClick() override;
    void setChartLeftAxis(double minimum, double maximum) override;
    void Series1Add(double value) override;
    void Series2Add(double value) override;
    std::int32_t chartPageCount() const override;
    void setChartPage(std::int32_t page) override;
    void setBt10Caption(std::string_view caption) override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createComponents(QWidget *client);
    void bindLog();
    void bindUsbLink();
    void buildMenu();
    void FormCreate();
    void ConTimerTimer();
    void receiveSerial(const char *data, std::int32_t size);
    void showDecodedFrames();
    bool askBeforeDiscarding();
    void endRun();
    void commitData(QSessionManager &manager);
    void RecordNewClick();
    void BtPrintClick();
    log::FileDialogs &fileDialogs();

    const WindowLayout &m_layout;
    WindowServices m_services;
    log::WidgetMessageBoxes m_widgetBoxes{this};
    log::WidgetFileDialogs m_widgetDialogs{this};
    log::SystemClock m_systemClock;
    WindowMessages *m_messages = nullptr;
    meter::Meter m_meter;
    meter::ReceiveHandler m_receiver = nullptr;
    meter::RangeCode m_rangeCode = meter::RangeCode::Range4;
    meter::FrameMemo m_Memo1;
    // The bar's position from the last decoded frame, until the block of bytes is done.
    std::optional<std::int32_t> m_barPosition;

    WindowControls m_controls;
    display::LcdPanel *m_Panel1 = nullptr;
    display::LimitPanel *m_Panel3 = nullptr;
    display::AnalogGauge *m_KD = nullptr;
    log::TrendChart *m_Chtshow = nullptr;
    log::LogGrid *m_DBGrid1 = nullptr;
    FrameFailureLine *m_frameFailures = nullptr;

    link::TSerialPortDriver *m_COMM2 = nullptr;
    link::ExclusiveToggleGroup *m_connectGroup = nullptr;
    std::unique_ptr<link::SerialConnectionControls> m_serialControls;
    link::THidDeviceController *m_HidCtl = nullptr;
    // Goes before the controller: it hands its devices back.
    std::unique_ptr<link::UsbAdapterLink> m_usbLink;

    log::LogTable *m_T38BDB = nullptr;
    std::unique_ptr<log::ReadingLog> m_readingLog;
    std::unique_ptr<log::LogFiles> m_logFiles;
    QTimer *m_ConTimer = nullptr;
    QTimer *m_Trecord = nullptr;
    bool m_ending = false;
    // The log's size when the desktop session last asked about unsaved readings; -1: never.
    std::int64_t m_answeredAtCount = -1;
};

} // namespace kx::app
