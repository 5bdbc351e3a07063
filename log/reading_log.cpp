#include "log/reading_log.h"

#include "meter/integer_text.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace kx::log {

namespace {

QString signatureOf(const QString &display, const QString &coupling, const QString &unit, const QString &rangeMode)
{
    return display + coupling + unit + rangeMode;
}

} // namespace

ReadingLog::ReadingLog(LogTable &table, const Clock &clock, MessageBoxes &boxes)
    : m_table(table)
    , m_clock(clock)
    , m_boxes(boxes)
    // Failures outside an offer (a commit a second later, a recovery file that cannot be made)
    // share the offers' rule: one message until a record is kept again.
    , m_writeFailures(QObject::connect(&table, &LogTable::writeFailed, &table, [this](const QString &error) {
        if (!std::exchange(m_appendFailing, true))
            m_boxes.error(error);
    }))
{
}

ReadingLog::~ReadingLog()
{
    QObject::disconnect(m_writeFailures);
}

Status ReadingLog::offer(const LoggedReading &reading)
{
    if (!m_table.isOpen())
        return {};
    // A limit of N keeps N records.
    if (m_recordCount >= m_maxRecords)
        return {};
    if (m_sampling && m_sampleTicks != 0)
        return {};
    const QString signature = signatureOf(reading.displayText, reading.couplingText, reading.unitText, reading.rangeModeText);
    if (m_repeatFilter && signature == m_lastLoggedText)
        return {};
    m_lastLoggedText = signature;
    m_sampleTicks = m_interval;
    ++m_recordCount;
    LogRecord record;
    record.no = m_recordNo;
    record.time = m_clock.now();
    record.value = reading.displayText;
    record.nval = double(reading.readingValue);
    record.coupling = reading.couplingText;
    record.unit = reading.unitText;
    record.rangeMode = reading.rangeModeText;
    ++m_recordNo;
    // A table that keeps failing is reported for the first reading it loses, not for every one,
    // so error boxes do not pile up while readings keep arriving.
    Status appended = m_table.append(record);
    if (std::exchange(m_appendFailing, !appended.ok()))
        return {};
    return appended;
}

void ReadingLog::tick()
{
    if (m_sampling && m_sampleTicks > 0)
        --m_sampleTicks;
}

Status ReadingLog::setIntervalText(const QString &text)
{
    if (text.isEmpty() || text == u"-" || text == u"+") {
        m_interval = 0;
    } else {
        const std::string utf8 = text.toStdString();
        const auto value = meter::parseInteger(utf8);
        if (!value)
            return {QString::fromStdString(meter::notIntegerMessage(utf8))};
        m_interval = *value;
    }
    m_sampleTicks = m_interval;
    return {};
}

Status ReadingLog::empty()
{
    if (!m_table.isOpen()) {
        m_boxes.information(kNoLogOpen);
        return {};
    }
    m_boxes.information(QStringLiteral(" Record deleted "));
    if (m_table.count() > 0) {
        if (Status s = m_table.clear(); !s.ok())
            return s;
    }
    m_recordNo = 1;
    m_recordCount = 0;
    m_appendFailing = false;
    return {};
}

void ReadingLog::resumeRestoredRun()
{
    std::vector<LogRecord> last;
    if (!m_table.read(m_table.count() - 1, 1, last).ok() || last.empty())
        return;
    const LogRecord &r = last.front();
    m_recordNo = r.no + 1;
    m_recordCount = std::int32_t(std::min<std::int64_t>(m_table.pendingCount(), std::numeric_limits<std::int32_t>::max()));
    m_lastLoggedText = signatureOf(r.value, r.coupling, r.unit, r.rangeMode);
}

} // namespace kx::log
