#include "log/log_fields.h"

#include "log/sqlite_db.h"

#include <QString>

namespace kx::log {

namespace {

// "HH:mm:ss" as stored; anything else is no valid time.
QTime storedTime(QStringView text)
{
    const auto two = [&](int at) {
        const int hi = text[at].digitValue(), lo = text[at + 1].digitValue();
        return hi < 0 || lo < 0 ? -1 : hi * 10 + lo;
    };
    if (text.size() != 8 || text[2] != u':' || text[5] != u':')
        return {};
    return QTime(two(0), two(3), two(6));
}

} // namespace

std::string logTableSql(const char *schema)
{
    return std::string("CREATE TABLE ") + schema + R"(log ("no" INTEGER, "time" TEXT, "value" TEXT,
    "Nval" REAL, "DC/AC" TEXT, "unit" TEXT, "Auto" TEXT, "Not" INTEGER PRIMARY KEY))";
}

std::string withLogFields(const char *before, const char *after)
{
    return std::string(before) + kLogFields + after;
}

LogRecord recordAt(const Statement &row)
{
    LogRecord r;
    r.no = std::int32_t(row.integer(0));
    r.time = storedTime(row.text(1));
    r.value = row.text(2);
    r.nval = row.real(3);
    r.coupling = row.text(4);
    r.unit = row.text(5);
    r.rangeMode = row.text(6);
    return r;
}

} // namespace kx::log
