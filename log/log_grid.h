#pragma once

#include "log/log_record.h"

#include <QAbstractTableModel>

#include <array>
#include <cstdint>
#include <list>
#include <vector>

class QTableView;

namespace kx::log {

class LogTable;

// The grid's view of the log table: six read-only columns, rows read from the table on demand in
// windows of a few hundred, of which a handful stay cached. An appended record is one inserted
// row; only emptying, opening and closing reset the whole view.
class LogGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { No, Time, Coupling, Value, Unit, RangeMode, ColumnCount };

    explicit LogGridModel(LogTable &table, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    struct Window {
        std::int64_t first;
        std::vector<LogRecord> records;
    };

    void appendRecord(std::int64_t row, const LogRecord &record);
    void resetFromTable();
    const LogRecord *recordAt(std::int64_t row) const;

    LogTable &m_table;
    int m_rows = 0;
    TimeOfDayText m_timeText;
    // Most recently used first.
    mutable std::list<Window> m_windows;
};

// Column widths in pixels, in column order. The five-digit build leaves the time column at the
// width a time field takes by default: room for "hh:mm:ss" and a margin.
using GridWidths = std::array<int, LogGridModel::ColumnCount>;
inline constexpr GridWidths kGridWidths40k{58, 64, 40, 56, 35, 35};
inline constexpr GridWidths kGridWidths4k{39, 53, 37, 43, 36, 36};

// Sets up `DBGrid1` on the model: read-only, silver, Arial 9 pt, title row and record indicator,
// resizable columns, the current row always highlighted and following the newest record.
void setupLogGrid(QTableView *view, LogGridModel *model, const GridWidths &widths);

} // namespace kx::log
