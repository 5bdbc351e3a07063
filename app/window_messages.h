#pragma once

#include "log/chart_messages.h"
#include "log/log_prompts.h"

#include <QObject>
#include <QStringList>

namespace kx::app {

// Every information and error box of the window goes through here. A box asked for inside a serial
// poll tick, a receive callback, a timer tick or a HID hand-over is shown after that tick instead:
// its nested event loop would fire the poll timer again and re-enter the receiver while the
// driver's buffer is being read. Such boxes are shown one at a time, and a text already waiting is
// not queued twice, so a failure repeated every tick never piles boxes up.
class WindowMessages : public QObject, public log::MessageBoxes, public log::ChartMessages {
public:
    WindowMessages(log::MessageBoxes &boxes, QObject *parent);

    void information(const QString &text) override;
    void error(const QString &text) override;
    // Questions come from user commands only and wait for their answer.
    Answer askSaveDiscardCancel(const QString &text) override { return m_boxes.askSaveDiscardCancel(text); }
    int choose(const QString &text, const QStringList &choices, int onClose) override
    {
        return m_boxes.choose(text, choices, onClose);
    }

    // Marks a tick for as long as it lives; ticks may nest.
    class TickScope {
    public:
        explicit TickScope(WindowMessages &messages) : m_messages(messages) { ++m_messages.m_tickDepth; }
        ~TickScope() { --m_messages.m_tickDepth; }
        TickScope(const TickScope &) = delete;
        TickScope &operator=(const TickScope &) = delete;

    private:
        WindowMessages &m_messages;
    };
    bool insideTick() const { return m_tickDepth > 0; }

private:
    struct Pending {
        bool error;
        QString text;
        bool operator==(const Pending &) const = default;
    };
    void show(Pending message);
    void showPending();

    log::MessageBoxes &m_boxes;
    QList<Pending> m_pending;
    int m_tickDepth = 0;
    bool m_showing = false;
};

} // namespace kx::app
