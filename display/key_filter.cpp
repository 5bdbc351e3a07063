#include "display/key_filter.h"

#include <QKeyEvent>
#include <QWidget>

namespace kx::display {

KeyFilter::KeyFilter(QString allowed, QObject *parent)
    : QObject(parent)
    , m_allowed(std::move(allowed))
{
}

bool KeyFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent *>(event)->text();
        for (const QChar c : text) {
            if (c.isPrint() && !m_allowed.contains(c))
                return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

static KeyFilter *install(QWidget *edit, const QString &allowed)
{
    auto *filter = new KeyFilter(allowed, edit);
    edit->installEventFilter(filter);
    return filter;
}

KeyFilter *installRecordSITimeKeyPress(QWidget *edit)
{
    return install(edit, QStringLiteral("0123456789"));
}

KeyFilter *installSetmaxKeyPress(QWidget *edit)
{
    return install(edit, QStringLiteral("0123456789+-"));
}

} // namespace kx::display
