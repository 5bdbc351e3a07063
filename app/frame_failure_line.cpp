#include "app/frame_failure_line.h"

namespace kx::app {

FrameFailureLine::FrameFailureLine(QWidget *parent)
    : QLabel(parent)
{
    setObjectName(QStringLiteral("FrameFailures"));
    setAccessibleName(QStringLiteral("Frames not decoded"));
    setTextFormat(Qt::PlainText);
    hide();
}

void FrameFailureLine::report(const QString &message)
{
    ++m_count;
    if (message != m_last) {
        m_last = message;
        setToolTip(message);
    }
    setText(m_count == 1 ? QStringLiteral("1 frame not decoded: %1").arg(m_last)
                         : QStringLiteral("%1 frames not decoded, the last: %2").arg(m_count).arg(m_last));
    setAccessibleDescription(text());
    show();
}

} // namespace kx::app
