#pragma once

#include "link/serial_connection.h"

#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <memory>

class QAction;
class QMenu;
class QPushButton;
class QWidget;

namespace kx::link {

class TSerialPortDriver;

// The port controls the window creates and places; the binding gives them captions and behaviour.
struct SerialConnectionWidgets {
    std::array<QPushButton *, 4> BtCOM{}; // the panels "COM 1".."COM 4", all at one place
    QPushButton *BTCon = nullptr;         // "Connect"
    QPushButton *BtDiscon = nullptr;      // "Disconnect"
    QPushButton *COMCon = nullptr;        // "COM Connect", a toggle of the exclusive group
};

// The serial connection control of the main window: the menus "ComSetup" and "Connect", the port
// panels, "Connect"/"Disconnect" and "COM Connect", driving `COMM2`. Messages go to the window's
// sink, which shows them after the current event.
class SerialConnectionControls : public QObject {
public:
    using MessageSink = std::function<void(const QString &)>;

    SerialConnectionControls(const SerialConnectionWidgets &widgets, TSerialPortDriver &driver,
                             MessageSink messages, QWidget *parent);
    ~SerialConnectionControls() override;

    QMenu *ComSetup1() const { return m_comSetup; }
    QMenu *Connect1() const { return m_connectMenu; }
    const SerialConnection &connection() const { return m_connection; }

    // The actions, named as the controls run them.
    void COMnClick(TComPortNumber port);  // menu items "COM1".."COM4"
    void BtCOMClick();                    // the shown panel: the next port
    void BTCon1Click();                   // "Connect", "START"
    void BtDiscon1Click();                // "Disconnect", "STOP"
    void COMConClick(bool down);          // "COM Connect" after its toggle

private:
    void buildMenus(QWidget *parent);
    void bindWidgets();
    bool connectPort();
    void portLost();
    void apply();

    SerialConnectionWidgets m_widgets;
    TSerialPortDriver &m_driver;
    std::unique_ptr<SerialPortHandle> m_handle;
    SerialConnection m_connection;
    MessageSink m_messages;
    QMenu *m_comSetup = nullptr;
    QMenu *m_connectMenu = nullptr;
    std::array<QAction *, 4> m_portItems{};
    QAction *m_start = nullptr;
    QAction *m_stop = nullptr;
};

// The tooltip of a port panel: the device its COM name maps to at this moment.
QString portPanelTooltip(TComPortNumber port);

} // namespace kx::link
