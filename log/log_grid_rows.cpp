#include "log/log_grid_rows.h"

#include "display/unit_glyphs.h"
#include "log/log_table.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace kx::log {

namespace {

// Appended records held beyond the rows in sight: enough for the readings of one turn of the
// event loop, after which the grid moves to the newest of them.
constexpr std::size_t kSpareRecords = 256;

struct ColumnLook {
    const char *heading;
    Qt::Alignment alignment;
};

constexpr ColumnLook kColumns[LogGridRows::ColumnCount] = {
    {"No", Qt::AlignLeft | Qt::AlignVCenter},
    {"Time", Qt::AlignCenter},
    {"DC/AC", Qt::AlignCenter},
    {"Value", Qt::AlignRight | Qt::AlignVCenter},
    {"Unit", Qt::AlignRight | Qt::AlignVCenter},
    {"AUTO", Qt::AlignCenter},
};

} // namespace

LogGridRows::LogGridRows(const LogTable &table, QObject *parent)
    : QAbstractTableModel(parent)
    , m_table(table)
{
}

void LogGridRows::show(std::int64_t first, int rows)
{
    rows = std::max(rows, 0);
    const std::int64_t end = first + rows;
    if (first < m_heldFirst || first > heldEnd())
        m_held.clear();
    else
        m_held.erase(m_held.begin(), m_held.begin() + (first - m_heldFirst));
    m_heldFirst = first;
    if (heldEnd() > end)
        m_held.erase(m_held.begin() + rows, m_held.end());

    const int kept = std::min(m_rows, rows);
    // Rows that stay but showed other records, or none as they could not be read before.
    const bool keptChanged = first != m_first || heldEnd() < first + kept;
    readUpTo(end);
    m_first = first;
    resize(rows);
    if (keptChanged && kept > 0)
        emit dataChanged(index(0, 0), index(kept - 1, ColumnCount - 1));
}

void LogGridRows::forget()
{
    m_held.clear();
    m_heldFirst = 0;
    m_first = 0;
    resize(0);
}

void LogGridRows::offer(std::int64_t row, const LogRecord &record)
{
    if (row == heldEnd() && m_held.size() < std::size_t(m_rows) + kSpareRecords)
        m_held.push_back(record);
}

void LogGridRows::readUpTo(std::int64_t end)
{
    if (heldEnd() >= end)
        return;
    std::vector<LogRecord> more;
    more.reserve(std::size_t(end - heldEnd()));
    // The records read before a failure are whole and in order; the rest stay unread.
    (void)m_table.read(heldEnd(), end - heldEnd(), more);
    m_held.insert(m_held.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
}

void LogGridRows::resize(int rows)
{
    if (rows > m_rows) {
        beginInsertRows({}, m_rows, rows - 1);
        m_rows = rows;
        endInsertRows();
    } else if (rows < m_rows) {
        beginRemoveRows({}, rows, m_rows - 1);
        m_rows = rows;
        endRemoveRows();
    }
}

int LogGridRows::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int LogGridRows::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

Qt::ItemFlags LogGridRows::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

QVariant LogGridRows::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromLatin1(kColumns[section].heading);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(kColumns[section].alignment);
    return {};
}

QVariant LogGridRows::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(kColumns[index.column()].alignment);
    const std::int64_t row = m_first + index.row();
    if (role != Qt::DisplayRole || row < m_heldFirst || row >= heldEnd())
        return {};
    const LogRecord &r = m_held[std::size_t(row - m_heldFirst)];
    switch (index.column()) {
    case No: return QString::number(r.no);
    case Time: return m_timeText(r.time);
    case Coupling: return r.coupling;
    case Value: return r.value;
    case Unit: return display::unitGlyphs(r.unit);
    case RangeMode: return r.rangeMode;
    }
    return {};
}

} // namespace kx::log
