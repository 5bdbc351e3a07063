#include "log/log_grid.h"

#include "display/unit_glyphs.h"
#include "log/log_table.h"

#include <QHeaderView>
#include <QTableView>

#include <algorithm>

namespace kx::log {

namespace {

constexpr std::int64_t kWindowRows = 256;
constexpr std::size_t kCachedWindows = 8;

struct ColumnLook {
    const char *heading;
    Qt::Alignment alignment;
};

constexpr ColumnLook kColumns[LogGridModel::ColumnCount] = {
    {"No", Qt::AlignLeft | Qt::AlignVCenter},
    {"Time", Qt::AlignCenter},
    {"DC/AC", Qt::AlignCenter},
    {"Value", Qt::AlignRight | Qt::AlignVCenter},
    {"Unit", Qt::AlignRight | Qt::AlignVCenter},
    {"AUTO", Qt::AlignCenter},
};

} // namespace

LogGridModel::LogGridModel(LogTable &table, QObject *parent)
    : QAbstractTableModel(parent)
    , m_table(table)
    , m_rows(int(table.count()))
{
    connect(&table, &LogTable::recordAppended, this, &LogGridModel::appendRecord);
    connect(&table, &LogTable::contentReset, this, &LogGridModel::resetFromTable);
}

int LogGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int LogGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

Qt::ItemFlags LogGridModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

QVariant LogGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromLatin1(kColumns[section].heading);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(kColumns[section].alignment);
    return {};
}

QVariant LogGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(kColumns[index.column()].alignment);
    if (role != Qt::DisplayRole)
        return {};
    const LogRecord *r = recordAt(index.row());
    if (!r)
        return {};
    switch (index.column()) {
    case No: return QString::number(r->no);
    case Time: return m_timeText(r->time);
    case Coupling: return r->coupling;
    case Value: return r->value;
    case Unit: return display::unitGlyphs(r->unit);
    case RangeMode: return r->rangeMode;
    }
    return {};
}

const LogRecord *LogGridModel::recordAt(std::int64_t row) const
{
    const auto holds = [row](const Window &w) {
        return row >= w.first && row < w.first + std::int64_t(w.records.size());
    };
    auto hit = std::find_if(m_windows.begin(), m_windows.end(), holds);
    if (hit == m_windows.end()) {
        Window w{row - row % kWindowRows, {}};
        w.records.reserve(kWindowRows);
        // A row that cannot be read shows empty; the view asks again when it repaints.
        if (!m_table.read(w.first, kWindowRows, w.records).ok() || !holds(w))
            return nullptr;
        m_windows.push_front(std::move(w));
        if (m_windows.size() > kCachedWindows)
            m_windows.pop_back();
        hit = m_windows.begin();
    } else if (hit != m_windows.begin()) {
        m_windows.splice(m_windows.begin(), m_windows, hit);
        hit = m_windows.begin();
    }
    return &hit->records[std::size_t(row - hit->first)];
}

void LogGridModel::appendRecord(std::int64_t row, const LogRecord &record)
{
    // The newest window grows in place, so following the newest record reads nothing back.
    for (Window &w : m_windows) {
        if (w.first + std::int64_t(w.records.size()) == row && w.records.size() < std::size_t(kWindowRows))
            w.records.push_back(record);
    }
    beginInsertRows({}, int(row), int(row));
    m_rows = int(row + 1);
    endInsertRows();
}

void LogGridModel::resetFromTable()
{
    beginResetModel();
    m_windows.clear();
    m_rows = int(m_table.count());
    endResetModel();
}

void setupLogGrid(QTableView *view, LogGridModel *model, const GridWidths &widths)
{
    view->setModel(model);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setShowGrid(true);
    view->setFont(QFont(QStringLiteral("Arial"), 9));
    QPalette palette = view->palette();
    palette.setColor(QPalette::Base, QColor(0xC0, 0xC0, 0xC0));
    palette.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    // Highlighted even while another control has the focus.
    for (const auto role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    view->setPalette(palette);

    QHeaderView *rows = view->verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(view->fontMetrics().height() + 4);
    rows->setMinimumWidth(12);
    rows->setDefaultAlignment(Qt::AlignCenter);
    QHeaderView *columns = view->horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setHighlightSections(false);
    for (int c = 0; c < LogGridModel::ColumnCount; ++c) {
        if (widths[std::size_t(c)] > 0)
            view->setColumnWidth(c, widths[std::size_t(c)]);
    }

    QObject::connect(model, &QAbstractItemModel::rowsInserted, view, [view](const QModelIndex &, int, int last) {
        view->selectRow(last);
        view->scrollTo(view->model()->index(last, 0));
    });
    QObject::connect(model, &QAbstractItemModel::modelReset, view, [view] {
        if (const int rowCount = view->model()->rowCount(); rowCount > 0) {
            view->selectRow(rowCount - 1);
            view->scrollToBottom();
        }
    });
}

} // namespace kx::log
