#pragma once

#include "log/log_prompts.h"
#include "log/log_table.h"

#include <QMetaObject>
#include <QString>

#include <array>
#include <cstdint>

namespace kx::log {

// What the log takes from the reading state for one decoded reading.
struct LoggedReading {
    QString displayText;    // `DisplayText`
    QString couplingText;   // `CouplingText`
    QString unitText;       // `UnitText`
    QString rangeModeText;  // `RangeModeText`
    float readingValue = 0; // `ReadingValue`
};

// The record menu's size limits, in menu order.
struct SizeLimit {
    const char *name;    // the menu item's name
    const char *caption;
    std::int32_t records;
};
inline constexpr std::array<SizeLimit, 6> kSizeLimits{{
    {"N10001", "1000", 1000},
    {"N50001", "5000", 5000},
    {"N100001", "10000", 10000},
    {"N500001", "50000", 50000},
    {"N1000001", "100000", 100000},
    {"limitess", "limitless", 10000000}, // a large limit, not an unlimited log
}};
inline constexpr std::int32_t kStartRecordLimit = 10000;

// The offering rules of the reading log and its state: size limit, sampling interval, repeat
// filter, running number. Runs on the user-interface thread; the main window forwards its controls'
// events here.
class ReadingLog {
public:
    // Write failures the table reports outside an offer are shown in the error box from now on.
    ReadingLog(LogTable &table, const Clock &clock, MessageBoxes &boxes);
    ~ReadingLog();
    ReadingLog(const ReadingLog &) = delete;
    ReadingLog &operator=(const ReadingLog &) = delete;

    // `INDataToTable`: logs the reading unless the log is full, the interval has not run out or it
    // repeats the last logged one. While the log table is closed (the start-up table could not be
    // opened) readings are not logged and the log state stays as it is. A failing table gives its error for the
    // first reading it loses; the readings after it are lost quietly until one is logged again or
    // the log is emptied.
    Status offer(const LoggedReading &reading);

    // `TrecordTimer`, every second.
    void tick();
    // `RecordSITimeChange`: restarts the countdown from the new interval. A text that does not
    // convert is reported and leaves the countdown and the interval as they were.
    Status setIntervalText(const QString &text);
    void setRepeatFilter(bool on) { m_repeatFilter = on; }   // `RepeatSet`
    void setSampling(bool on) { m_sampling = on; }           // `RecordSI`
    // One of the size-limit items; the record count is left alone.
    void setMaxRecords(std::int32_t records) { m_maxRecords = records; }
    // `RecordNewClick`: says " Record deleted ", then empties the log and restarts the numbering.
    // While no log is open it says so and changes nothing.
    Status empty();
    // After the table took up a run that ended unexpectedly: numbering, count and repeat filter go
    // on from its last record, as if the run had not ended.
    void resumeRestoredRun();

    std::int32_t recordNo() const { return m_recordNo; }
    std::int32_t recordCount() const { return m_recordCount; }
    std::int32_t maxRecords() const { return m_maxRecords; }
    std::int32_t sampleTicks() const { return m_sampleTicks; }
    const QString &lastLoggedText() const { return m_lastLoggedText; }

private:
    LogTable &m_table;
    const Clock &m_clock;
    MessageBoxes &m_boxes;
    bool m_repeatFilter = true;
    bool m_sampling = false;
    // The interval of the last text that converted, so a bad paste cannot stop logging.
    std::int32_t m_interval = 10;
    std::int32_t m_recordNo = 1;
    std::int32_t m_recordCount = 0;
    std::int32_t m_maxRecords = kStartRecordLimit;
    std::int32_t m_sampleTicks = 0;
    QString m_lastLoggedText;
    bool m_appendFailing = false;
    QMetaObject::Connection m_writeFailures;
};

} // namespace kx::log
