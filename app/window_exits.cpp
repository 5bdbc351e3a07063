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

// A normal end closes the log, which removes its recovery file; only a run that did not end so
// leaves its readings to be offered at the next start.
void TFCOMM::endRun()
{
    m_ending = true;
    m_T38BDB->close();
    close();
    QApplication::quit();
}

void TFCOMM::closeEvent(QCloseEvent *event)
{
    if (!m_ending) {
        // The desktop session may have asked already, with nothing logged since.
        const bool answered = m_answeredAtCount == m_T38BDB->count();
        if (!answered && !askBeforeDiscarding()) {
            event->ignore();
            return;
        }
        m_ending = true;
        m_T38BDB->close();
    }
    event->accept();
}

void TFCOMM::commitData(QSessionManager &manager)
{
    if (m_ending || !m_T38BDB->hasUnsavedRecords())
        return;
    // Without a chance to ask, the session may end: the readings stay in the recovery file and
    // are offered at the next start.
    if (!manager.allowsInteraction())
        return;
    if (!askBeforeDiscarding()) {
        manager.cancel();
        return;
    }
    m_answeredAtCount = m_T38BDB->count();
    manager.release();
}

} // namespace kx::app
