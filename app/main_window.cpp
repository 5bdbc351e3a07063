#include "app/main_window.h"

#include "app/frame_failure_line.h"
#include "app/window_layout.h"
#include "app/window_look.h"
#include "app/window_messages.h"
#include "display/analog_gauge.h"
#include "display/gauge_backdrop.h"
#include "display/lcd_panel.h"
#include "display/limit_panel.h"
#include "link/exclusive_toggle_group.h"
#include "link/serial_connection_controls.h"
#include "link/serial_port_driver.h"
#include "link/usb_adapter_link.h"
#include "log/log_grid.h"
#include "log/log_print.h"
#include "log/log_table.h"
#include "log/reading_log_controls.h"
#include "log/trend_chart.h"

#include <QApplication>
#include <QMenuBar>
#include <QPushButton>
#include <QSessionManager>
#include <QTimer>
#include <QToolButton>

namespace kx::app {

TFCOMM::TFCOMM(WindowServices services, QWidget *parent)
    : QMainWindow(parent)
    , m_layout(buildWindowLayout())
    , m_services(std::move(services))
    , m_meter(*this, meter::buildProfileFlags())
{
    setObjectName(QStringLiteral("FCOMM"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);
    m_messages = new WindowMessages(m_services.boxes ? *m_services.boxes : m_widgetBoxes, this);

    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    applyWindowLook(client);
    setCentralWidget(client);
    createComponents(client);
    createProfileFlagBoxes(client, m_meter.flags);
    placeControls(client, m_layout);

    m_COMM2 = new link::TSerialPortDriver(this);
    m_COMM2->setObjectName(QStringLiteral("COMM2"));
    m_COMM2->SetComPort(link::TComPortNumber::pnCOM1);
    m_COMM2->SetComPortSpeed(link::TComPortBaudRate::br2400);
    m_COMM2->OnReceiveData = [this](link::TSerialPortDriver *, const char *data, std::int32_t size) {
        receiveSerial(data, size);
    };
    // The group is bound before the buttons' own actions, so a pressed button finds the others
    // already raised.
    m_connectGroup = new link::ExclusiveToggleGroup(this);
    for (QPushButton *toggle : {m_controls.COMCon, m_controls.USBCon, m_controls.ReadBtn})
        m_connectGroup->add(toggle);
    m_serialControls = std::make_unique<link::SerialConnectionControls>(
        link::SerialConnectionWidgets{m_controls.BtCOM, m_controls.BTCon, m_controls.BtDiscon, m_controls.COMCon},
        *m_COMM2, [this](const QString &text) { m_messages->information(text); }, this);

    bindLog();
    bindUsbLink();
    buildMenu();
    connect(m_controls.BitBtn1, &QPushButton::clicked, this, &TFCOMM::BitBtn1Click);
    connect(m_controls.BtExit, &QPushButton::clicked, this, &TFCOMM::BtExit1Click);
    connect(qApp, &QGuiApplication::commitDataRequest, this, &TFCOMM::commitData);

    m_ConTimer = new QTimer(this);
    m_ConTimer->setObjectName(QStringLiteral("ConTimer"));
    connect(m_ConTimer, &QTimer::timeout, this, &TFCOMM::ConTimerTimer);
    m_ConTimer->start(100);

    // The fixed size: the client area the user sees below the menu bar. The window manager's
    // frame around it makes the outer size.
    menuBar()->setNativeMenuBar(false);
    setFixedSize(m_layout.visibleClient.width(), m_layout.visibleClient.height() + menuBar()->sizeHint().height());

    FormCreate();
    showDecodedFrames();
}

TFCOMM::~TFCOMM()
{
    // The driver's receive callback and the timers reach into the window; stop them first.
    m_COMM2->Disconnect();
    m_COMM2->OnReceiveData = nullptr;
    m_ConTimer->stop();
    m_usbLink.reset();
}

void TFCOMM::createComponents(QWidget *client)
{
    m_controls = createWindowControls(client, m_layout);
    m_frameFailures = new FrameFailureLine(client);

    m_Panel1 = new display::LcdPanel(display::thisLcdBuild(), client);
    m_Panel3 = new display::LimitPanel(
        m_meter.state, [this] { KDsetup(1); }, [this](const QString &message) { m_messages->error(message); },
        client);
    if (m_layout.pictureWidthLess) {
        auto *backdrop = new display::GaugeBackdrop(client);
        backdrop->setObjectName(QStringLiteral("KD2"));
    }
    m_KD = new display::AnalogGauge(
        [this] {
            return display::gaugeInputs(m_meter.state, m_rangeCode, SetMaxBChecked(), SetMinBChecked());
        },
        client);

    m_T38BDB = new log::LogTable(this);
    m_DBGrid1 = new log::LogGrid(*m_T38BDB, m_layout.gridWidths, client);

    // The chart lies above "Read", "Clear" and "Info", which stay out of sight behind it.
    m_Chtshow = new log::TrendChart(client);
    m_Chtshow->setMessages(m_messages);
    m_Chtshow->setWindowOuterSize(m_layout.outer);
    m_Chtshow->setChartLeftAxis(-m_layout.chartAxis, m_layout.chartAxis);
    connect(m_Chtshow, &log::TrendChart::chartLiveChanged, this,
            [this](bool live) { m_meter.state.ChartLive = live ? 1 : 0; });
}

void TFCOMM::bindLog()
{
    const log::Clock &clock = m_services.clock ? *m_services.clock : m_systemClock;
    m_readingLog = std::make_unique<log::ReadingLog>(*m_T38BDB, clock, *m_messages);
    m_logFiles = std::make_unique<log::LogFiles>(*m_T38BDB, fileDialogs(), *m_messages);
    log::bindReadingLogControls({m_controls.RepeatSet, m_controls.RecordSI, m_controls.RecordSITime}, *m_readingLog,
                                *m_messages);
    m_Trecord = log::startRecordTimer(*m_readingLog, this);
    m_Trecord->setObjectName(QStringLiteral("Trecord"));
    connect(m_controls.RecordNew, &QToolButton::clicked, this, &TFCOMM::RecordNewClick);
    connect(m_controls.OpenDataFiles, &QToolButton::clicked, this, [this] { m_logFiles->openOldFile(); });
    connect(m_controls.saveas, &QToolButton::clicked, this, [this] { m_logFiles->saveAs(); });
    connect(m_controls.BtPrint, &QToolButton::clicked, this, &TFCOMM::BtPrintClick);
}

void TFCOMM::buildMenu()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    bar->addMenu(m_serialControls->ComSetup1());
    bar->addMenu(m_serialControls->Connect1());
    // Two items with empty captions leave gaps in the menu bar.
    const auto gap = [bar] { bar->addAction(QString())->setEnabled(false); };
    gap();
    bar->addMenu(m_Chtshow->graphicMenu());

    QMenu *record = bar->addMenu(QStringLiteral("Record"));
    record->setObjectName(QStringLiteral("Record1"));
    QAction *newItem = record->addAction(QStringLiteral("New"), this, &TFCOMM::RecordNewClick);
    newItem->setObjectName(QStringLiteral("New1"));
    QAction *saveItem = record->addAction(QStringLiteral("Save"), this, [this] { m_logFiles->saveAs(); });
    saveItem->setObjectName(QStringLiteral("Save1"));
    record->addSeparator()->setObjectName(QStringLiteral("N3"));
    log::addSizeLimitItems(record, *m_readingLog);
    gap();

    QAction *exit = bar->addAction(QStringLiteral("Exit"), this, &TFCOMM::BtExit1Click);
    exit->setObjectName(QStringLiteral("EXIT1"));
}

void TFCOMM::RecordNewClick()
{
    if (log::Status s = m_readingLog->empty(); !s.ok())
        m_messages->error(s.error);
}

log::FileDialogs &TFCOMM::fileDialogs()
{
    return m_services.dialogs ? *m_services.dialogs : m_widgetDialogs;
}

void TFCOMM::BtPrintClick()
{
    log::printLog(*m_T38BDB, *m_messages, fileDialogs(), this);
}

} // namespace kx::app
