#include "app/window_messages.h"

#include <QTimer>

namespace kx::app {

WindowMessages::WindowMessages(log::MessageBoxes &boxes, QObject *parent)
    : QObject(parent)
    , m_boxes(boxes)
{
}

void WindowMessages::information(const QString &text)
{
    show({false, text});
}

void WindowMessages::error(const QString &text)
{
    show({true, text});
}

void WindowMessages::show(Pending message)
{
    if (!insideTick() && !m_showing) {
        message.error ? m_boxes.error(message.text) : m_boxes.information(message.text);
        return;
    }
    if (m_pending.contains(message))
        return;
    m_pending.append(std::move(message));
    if (m_pending.size() == 1)
        QTimer::singleShot(0, this, &WindowMessages::showPending);
}

void WindowMessages::showPending()
{
    if (m_showing)
        return;
    if (insideTick()) {
        QTimer::singleShot(0, this, &WindowMessages::showPending);
        return;
    }
    // While a box is open the event loop runs on, and ticks may add to the queue; they wait for
    // this box to close.
    m_showing = true;
    while (!m_pending.isEmpty()) {
        const Pending next = m_pending.takeFirst();
        next.error ? m_boxes.error(next.text) : m_boxes.information(next.text);
    }
    m_showing = false;
}

} // namespace kx::app
