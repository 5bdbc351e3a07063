#include "app/main_window.h"

#include "app/window_messages.h"
#include "display/analog_gauge.h"
#include "display/limit_panel.h"
#include "link/serial_port_driver.h"
#include "log/log_startup.h"
#include "log/log_table.h"
#include "log/trend_chart.h"
#include "meter/startup.h"

namespace kx::app {

// `FormCreate`: the build's meter profile applied once, before the first event. The window's size
// is fixed by its layout, and the reading state starts with range "4" and the unit "113" that
// matches none, so the sequence begins with the log table.
void TFCOMM::FormCreate()
{
    // A log table that cannot be opened leaves the window without a profile: no receiver, no title,
    // the layout's chart axis; it opens all the same and decodes nothing.
    // Readings of a run that ended unexpectedly are offered back before anything else.
    if (log::Status s = log::openLogAtStartup(*m_T38BDB, *m_readingLog, fileDialogs(), *m_messages); !s.ok()) {
        m_messages->error(s.error);
        return;
    }
    m_meter.state.ChartLive = 1;
    m_meter.state.FrequencyMode = false;

    m_Chtshow->BtNewClick();
    m_Chtshow->ShowSeries(0);
    m_Chtshow->ShowSeries(m_Chtshow->BtFillChecked() ? 0 : 1);

    const meter::StartedProfile started = meter::startProfile(m_meter);
    m_receiver = started.receiver;
    if (started.profile.title)
        setWindowTitle(QString::fromUtf8(started.profile.title->data(), qsizetype(started.profile.title->size())));
    if (started.profile.speed19200)
        m_COMM2->SetComPortSpeed(link::TComPortBaudRate::br19200);
    m_rangeCode = started.profile.range;
    // Range "4" puts no texts: the layout's stay, and the limits keep FullScale + 2 until the user
    // touches a limit field.
    if (m_rangeCode != meter::RangeCode::Range4)
        m_Panel3->setLimitTexts(started.limitTexts);

    m_Chtshow->setChartLeftAxis(-m_meter.state.FullScale, m_meter.state.FullScale);
    KDsetup(1);
    KDrun(m_meter.state.GaugeZero);
}

} // namespace kx::app
