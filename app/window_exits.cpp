#include "app/main_window.h"

#include "log/log_table.h"

#include <QApplication>
#include <QCloseEvent>
#include <QSessionManager>

namespace kx::app {

// Every way out asks first when readings were logged since the last save: the menu's "Exit", the
// panel "Exit", the button "EXIT", the close box and the end of the desktop session.
bool TFCOMM::askBeforeDiscarding()
{
    return m_logFiles->askBeforeDiscarding();
}

void TFCOMM::BtExit1Click()
{
    if (!askBeforeDiscarding())
        return;
    endRun();
}

void TFCOMM::endRun()
{
    m_ending = true;
    m_T38BDB->close();
    close();
    QApplication::quit();
}

void TFCOMM::closeEvent(QCloseEvent *event)
{
    if (!m_ending && !askBeforeDiscarding()) {
        event->ignore();
        return;
    }
    if (!m_ending) {
        m_ending = true;
        m_T38BDB->close();
    }
    event->accept();
}

void TFCOMM::commitData(QSessionManager &manager)
{
    if (m_ending || !m_T38BDB->hasUnsavedRecords())
        return;
    if (!manager.allowsInteraction() || !askBeforeDiscarding()) {
        manager.cancel();
        return;
    }
    manager.release();
}

} // namespace kx::app
