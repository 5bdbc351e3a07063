#pragma once

#include "log/log_record.h"

#include <string>

namespace kx::log {

class Statement;

// The log's fields as every log table holds them, saved copies and recovery files alike; "Not" is
// the key, filled by the table.

// CREATE TABLE for the table "log" in `schema` ("" for main, "dest." for a save...).
std::string logTableSql(const char *schema = "");
// The seven fields the log writes, in the order `recordAt` reads them.
inline constexpr const char *kLogFields = R"("no", "time", "value", "Nval", "DC/AC", "unit", "Auto")";
// `before` + the seven fields + `after`.
std::string withLogFields(const char *before, const char *after);
// How "time" is stored.
inline constexpr const char *kStoredTimeFormat = "HH:mm:ss";

// The record in the current row of a statement that selected the seven fields first.
LogRecord recordAt(const Statement &row);

} // namespace kx::log
