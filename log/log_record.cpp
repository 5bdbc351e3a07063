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
    const int second = time.isValid() ? time.msecsSinceStartOfDay() / 1000 : -1;
    auto text = m_texts.constFind(second);
    if (text == m_texts.constEnd())
        text = m_texts.insert(second, m_locale.toString(time, m_format));
    return *text;
}

} // namespace kx::log
