#include "link/serial_connection_controls.h"

#include "link/com_port_map.h"
#include "link/serial_port_driver.h"

#include <QActionGroup>
#include <QEvent>
#include <QHelpEvent>
#include <QMenu>
#include <QPushButton>
#include <QToolTip>

namespace kx::link {

namespace {

class DriverPortHandle : public SerialPortHandle {
public:
    explicit DriverPortHandle(TSerialPortDriver &driver) : m_driver(driver) {}
    void selectPort(TComPortNumber port) override { m_driver.SetComPort(port); }
    bool open() override { return m_driver.Connect(); }
    void close() override { m_driver.Disconnect(); }
    std::string failureText() const override { return m_driver.LastError(); }
    std::string devicePath() const override { return m_driver.DevicePath(); }

private:
    TSerialPortDriver &m_driver;
};

// The panel's tooltip names the device its COM name maps to at the moment it is asked, since
// adapters come and go while the program runs.
class PortTooltip : public QObject {
public:
    PortTooltip(TComPortNumber port, QObject *parent) : QObject(parent), m_port(port) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::ToolTip)
            return false;
        QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), portPanelTooltip(m_port),
                           qobject_cast<QWidget *>(watched));
        return true;
    }

private:
    TComPortNumber m_port;
};

constexpr std::array<TComPortNumber, 4> kPorts{TComPortNumber::pnCOM1, TComPortNumber::pnCOM2,
                                               TComPortNumber::pnCOM3, TComPortNumber::pnCOM4};

QString qs(const std::string &text) { return QString::fromStdString(text); }

void name(QObject *object, const char *objectName) { object->setObjectName(QString::fromLatin1(objectName)); }

} // namespace

QString portPanelTooltip(TComPortNumber port)
{
    const std::string name = comPortName(port);
    const std::string device = comPortDevicePath(port);
    return qs(device.empty() ? name + ": no serial device found (set KX52B_" + name + " to a device path)"
                             : name + " is " + device);
}

SerialConnectionControls::SerialConnectionControls(const SerialConnectionWidgets &widgets, TSerialPortDriver &driver,
                                                   MessageSink messages, QWidget *parent)
    : QObject(parent)
    , m_widgets(widgets)
    , m_driver(driver)
    , m_handle(std::make_unique<DriverPortHandle>(driver))
    , m_connection(*m_handle)
    , m_messages(std::move(messages))
{
    buildMenus(parent);
    bindWidgets();
    m_driver.OnConnectionLost = [this](TSerialPortDriver *) { portLost(); };
    apply();
}

SerialConnectionControls::~SerialConnectionControls()
{
    m_driver.OnConnectionLost = nullptr;
}

void SerialConnectionControls::buildMenus(QWidget *parent)
{
    m_comSetup = new QMenu(QStringLiteral("ComSetup"), parent);
    name(m_comSetup, "ComSetup1");
    auto *ports = new QActionGroup(m_comSetup);
    static constexpr const char *kItemNames[] = {"COM11", "COM21", "COM31", "COM41"};
    for (std::size_t i = 0; i < kPorts.size(); ++i) {
        QAction *item = m_comSetup->addAction(qs(comPortName(kPorts[i])));
        name(item, kItemNames[i]);
        item->setCheckable(true);
        ports->addAction(item);
        connect(item, &QAction::triggered, this, [this, port = kPorts[i]] { COMnClick(port); });
        m_portItems[i] = item;
    }

    m_connectMenu = new QMenu(QStringLiteral("Connect"), parent);
    name(m_connectMenu, "Connect1");
    m_start = m_connectMenu->addAction(QStringLiteral("START"));
    name(m_start, "START1");
    m_stop = m_connectMenu->addAction(QStringLiteral("STOP"));
    name(m_stop, "STOP1");
    m_start->setCheckable(true);
    m_stop->setCheckable(true);
    // A checkable item toggles itself when chosen; the state is put back from the connection.
    connect(m_start, &QAction::triggered, this, [this] { BTCon1Click(); });
    connect(m_stop, &QAction::triggered, this, [this] { BtDiscon1Click(); });
}

void SerialConnectionControls::bindWidgets()
{
    for (std::size_t i = 0; i < kPorts.size(); ++i) {
        QPushButton *panel = m_widgets.BtCOM[i];
        const QString caption = QStringLiteral("COM %1").arg(i + 1);
        panel->setText(caption);
        panel->setAccessibleName(caption);
        panel->setAccessibleDescription(QStringLiteral("Serial port; click for the next port"));
        panel->installEventFilter(new PortTooltip(kPorts[i], panel));
        connect(panel, &QPushButton::clicked, this, &SerialConnectionControls::BtCOMClick);
    }
    const auto caption = [](QPushButton *button, const QString &text) {
        button->setText(text);
        button->setAccessibleName(text);
    };
    caption(m_widgets.BTCon, QStringLiteral("Connect"));
    caption(m_widgets.BtDiscon, QStringLiteral("Disconnect"));
    caption(m_widgets.COMCon, QStringLiteral("COM Connect"));
    m_widgets.COMCon->setCheckable(true);
    connect(m_widgets.BTCon, &QPushButton::clicked, this, &SerialConnectionControls::BTCon1Click);
    connect(m_widgets.BtDiscon, &QPushButton::clicked, this, &SerialConnectionControls::BtDiscon1Click);
    connect(m_widgets.COMCon, &QPushButton::clicked, this, &SerialConnectionControls::COMConClick);
}

void SerialConnectionControls::COMnClick(TComPortNumber port)
{
    m_connection.selectPort(port);
    apply();
}

void SerialConnectionControls::BtCOMClick()
{
    m_connection.selectNextPort();
    apply();
}

bool SerialConnectionControls::connectPort()
{
    const std::optional<std::string> failure = m_connection.connect();
    apply();
    if (failure)
        m_messages(qs(*failure));
    return !failure;
}

void SerialConnectionControls::BTCon1Click()
{
    connectPort();
}

void SerialConnectionControls::BtDiscon1Click()
{
    m_connection.disconnect();
    apply();
}

void SerialConnectionControls::COMConClick(bool down)
{
    if (!down) {
        BtDiscon1Click();
        return;
    }
    if (!connectPort())
        m_widgets.COMCon->setChecked(false);
}

void SerialConnectionControls::portLost()
{
    const std::string message = m_connection.connectionLost();
    m_widgets.COMCon->setChecked(false);
    apply();
    m_messages(qs(message));
}

void SerialConnectionControls::apply()
{
    const SerialControlsView &v = m_connection.view();
    const auto shown = static_cast<std::size_t>(v.port);
    for (std::size_t i = 0; i < kPorts.size(); ++i) {
        m_portItems[i]->setChecked(i == shown);
        m_widgets.BtCOM[i]->setVisible(i == shown);
        m_widgets.BtCOM[i]->setEnabled(v.portChoiceEnabled());
    }
    m_comSetup->setEnabled(v.portChoiceEnabled());
    m_comSetup->menuAction()->setEnabled(v.portChoiceEnabled());
    m_start->setChecked(v.startChecked());
    m_start->setEnabled(v.startEnabled());
    m_stop->setChecked(v.stopChecked);
    m_stop->setEnabled(v.stopEnabled());
    m_widgets.BTCon->setVisible(!v.connected);
    m_widgets.BtDiscon->setVisible(v.connected);
}

} // namespace kx::link
