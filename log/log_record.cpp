#include "log/log_record.h"

namespace kx::log {

// Drops the "t" (time zone) fields of a Qt time format, outside quoted text, and the blanks
// around them.
static QString withoutZone(const QString &format)
{
    QString kept;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'')
            quoted = !quoted;
        if (quoted || c != u't')
            kept += c;
    }
    return kept.simplified();
}

TimeOfDayText::TimeOfDayText()
    : m_format(withoutZone(m_locale.timeFormat(QLocale::LongFormat)))
{
}

QString TimeOfDayText::operator()(const QTime &time) const
{
    return m_locale.toString(time, m_format);
}

} // namespace kx::log
