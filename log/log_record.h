#pragma once

#include <QHash>
#include <QLocale>
#include <QString>
#include <QTime>

#include <cstdint>

namespace kx::log {

// One record of the reading log, field by field ("Not", the key of saved copies, is the table's).
struct LogRecord {
    std::int32_t no = 0;    // "no": the running number at the time of logging
    QTime time;             // "time": the local time of day, whole seconds
    QString value;          // "value": the reading as the LCD shows it
    double nval = 0;        // "Nval": the reading in counts, not shown
    QString coupling;       // "DC/AC": "AC", "DC" or empty
    QString unit;           // "unit": prefix and unit in the LCD font's letters ("k*")
    QString rangeMode;      // "Auto": "AUTO", "MANU" or empty
};

// The time of day as every view of the log shows it: the default locale's long time format without
// its time-zone part, since a log's times carry no date or zone. Made once per export or view, as
// looking up the format costs more than formatting a time; each second's text is formatted once.
class TimeOfDayText {
public:
    TimeOfDayText();
    QString operator()(const QTime &time) const;

private:
    QLocale m_locale;
    QString m_format;
    mutable QHash<int, QString> m_texts;
};

} // namespace kx::log
