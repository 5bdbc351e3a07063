#include "app/main_window.h"

#include "app/frame_failure_line.h"
#include "app/window_messages.h"
#include "display/analog_gauge.h"
#include "display/lcd_panel.h"
#include "display/limit_panel.h"
#include "link/link_watchdog.h"
#include "link/usb_adapter_link.h"
#include "log/trend_chart.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>

namespace kx::app {

namespace {

QString text(std::string_view view)
{
    return QString::fromUtf8(view.data(), qsizetype(view.size()));
}

} // namespace

void TFCOMM::receiveSerial(const char *data, std::int32_t size)
{
    if (!m_receiver)
        return;
    const WindowMessages::TickScope tick(*m_messages);
    // A frame that fails ends the receiver's block; handed one byte at a time, a failed frame
    // never hides the frames after it in the same block.
    const auto *bytes = reinterpret_cast<const std::uint8_t *>(data);
    for (std::int32_t i = 0; i < size; ++i)
        if (const meter::Failure failure = m_receiver(m_meter, bytes + i, 1))
            m_frameFailures->report(QString::fromStdString(*failure));
    showDecodedFrames();
}

// The LCD and the bar follow once per block of bytes, however many frames it held (a block at
// 19200 bit/s carries about nine).
void TFCOMM::showDecodedFrames()
{
    m_Panel1->render(m_meter.lcd);
    if (m_barPosition) {
        QProgressBar *bar = m_controls.PBar2;
        // The bar would repaint itself, and with it everything else waiting, the moment its value
        // changes; it is drawn with the rest of the window instead.
        bar->setUpdatesEnabled(false);
        bar->setValue(std::clamp(*std::exchange(m_barPosition, std::nullopt), bar->minimum(), bar->maximum()));
        bar->setUpdatesEnabled(true);
        bar->update();
    }
}

void TFCOMM::ConTimerTimer()
{
    const WindowMessages::TickScope tick(*m_messages);
    if (link::linkWatchdogTick(m_meter.state.LinkIdleTicks)) {
        m_usbLink->UsbIdleCheck();
        m_KD->showCONokN();
    }
}

void TFCOMM::showCONok() { m_KD->showCONok(); }

void TFCOMM::setUSBtxt(std::string_view caption) { m_controls.USBtxt->setText(text(caption)); }

bool TFCOMM::SetMaxBChecked() const { return m_Panel3->SetMaxBChecked(); }

bool TFCOMM::SetMinBChecked() const { return m_Panel3->SetMinBChecked(); }

bool TFCOMM::BtFillChecked() const { return m_Chtshow->BtFillChecked(); }

void TFCOMM::MessageBeep()
{
    if (m_services.beep)
        m_services.beep();
    else
        QApplication::beep();
}

void TFCOMM::setOltextVisible(bool visible) { m_KD->setOltextVisible(visible); }

void TFCOMM::setMinMaxCaptions(std::string_view MaxText, std::string_view MinText, std::string_view MaxTextU,
                               std::string_view MinTextU)
{
    m_Panel3->setMinMaxCaptions(MaxText, MinText, MaxTextU, MinTextU);
}

void TFCOMM::KDsetup(std::int32_t mode) { m_KD->KDsetup(mode); }

void TFCOMM::KDrun(std::int32_t position) { m_KD->KDrun(position); }

// A position past either end is drawn at that end; the bar would otherwise keep its old value.
void TFCOMM::setPBar2Position(std::int32_t position) { m_barPosition = position; }

// A log that cannot keep the reading says so once (the log reports its first lost reading); the
// gauge, bar and chart still show the reading.
meter::Failure TFCOMM::INDataToTable(std::int32_t)
{
    const meter::ReadingState &s = m_meter.state;
    const log::LoggedReading reading{QString::fromStdString(s.DisplayText), QString::fromStdString(s.CouplingText),
                                     QString::fromStdString(s.UnitText), QString::fromStdString(s.RangeModeText),
                                     s.ReadingValue};
    if (log::Status status = m_readingLog->offer(reading); !status.ok())
        m_messages->error(status.error);
    return std::nullopt;
}

void TFCOMM::ShowSeries(std::int32_t which) { m_Chtshow->ShowSeries(which); }

void TFCOMM::BtNewClick() { m_Chtshow->BtNewClick(); }

void TFCOMM::setChartLeftAxis(double minimum, double maximum) { m_Chtshow->setChartLeftAxis(minimum, maximum); }

void TFCOMM::Series1Add(double value) { m_Chtshow->Series1Add(value); }

void TFCOMM::Series2Add(double value) { m_Chtshow->Series2Add(value); }

std::int32_t TFCOMM::chartPageCount() const { return m_Chtshow->chartPageCount(); }

void TFCOMM::setChartPage(std::int32_t page) { m_Chtshow->setChartPage(page); }

void TFCOMM::setBt10Caption(std::string_view caption) { m_Chtshow->setBt10Caption(text(caption)); }

} // namespace kx::app
