#include "log/log_grid.h"

#include "display/unit_glyphs.h"
#include "log/log_table.h"

#include <QHeaderView>
#include <QPainter>
#include <QTableView>
#include <QTimer>

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

// The record indicator: a narrow row header that marks the current row. Its size is fixed, so a
// new row never makes it measure the texts of other rows (which costs more than the append).
class RecordIndicator : public QHeaderView {
public:
    explicit RecordIndicator(QTableView *view)
        : QHeaderView(Qt::Vertical, view)
        , m_view(view)
    {
        setSectionResizeMode(QHeaderView::Fixed);
        setSectionsClickable(false);
    }

    QSize sizeHint() const override { return {kIndicatorWidth, defaultSectionSize()}; }

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override
    {
        // The style leaves the painter clipped to the section's text, which is empty here.
        painter->save();
        QHeaderView::paintSection(painter, rect, logicalIndex);
        painter->restore();
        if (logicalIndex != m_view->currentIndex().row())
            return;
        const QPointF c = QRectF(rect).center();
        const qreal h = rect.height() / 4.0;
        const QPointF arrow[] = {{c.x() - h / 2, c.y() - h}, {c.x() + h / 2, c.y()}, {c.x() - h / 2, c.y() + h}};
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setBrush(palette().color(QPalette::WindowText));
        painter->setPen(Qt::NoPen);
        painter->drawPolygon(arrow, 3);
        painter->restore();
    }

private:
    static constexpr int kIndicatorWidth = 12;
    QTableView *m_view;
};

// Keeps the newest record current and in sight. Readings may come faster than the view lays
// itself out, so the move is made once per turn of the event loop, not once per record.
class FollowNewest : public QObject {
public:
    explicit FollowNewest(QTableView *view)
        : QObject(view)
        , m_view(view)
    {
        m_timer.setSingleShot(true);
        m_timer.setInterval(0);
        connect(&m_timer, &QTimer::timeout, this, &FollowNewest::follow);
        const auto later = [this] { m_timer.start(); };
        connect(view->model(), &QAbstractItemModel::rowsInserted, this, later);
        connect(view->model(), &QAbstractItemModel::modelReset, this, later);
    }

private:
    void follow()
    {
        const int rows = m_view->model()->rowCount();
        if (rows == 0)
            return;
        const QModelIndex newest = m_view->model()->index(rows - 1, 0);
        m_view->selectionModel()->setCurrentIndex(newest, QItemSelectionModel::ClearAndSelect
                                                               | QItemSelectionModel::Rows);
        m_view->scrollTo(newest);
    }

    QTableView *m_view;
    QTimer m_timer;
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
    // Narrow columns clip their text rather than hide it behind an ellipsis.
    view->setTextElideMode(Qt::ElideNone);
    view->setFont(QFont(QStringLiteral("Arial"), 9));
    QPalette palette = view->palette();
    palette.setColor(QPalette::Base, QColor(0xC0, 0xC0, 0xC0));
    palette.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    // Highlighted even while another control has the focus.
    for (const auto role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    view->setPalette(palette);

    auto *rows = new RecordIndicator(view);
    view->setVerticalHeader(rows);
    rows->setDefaultSectionSize(view->fontMetrics().height() + 4);
    QObject::connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, rows,
                     [rows] { rows->viewport()->update(); });
    QHeaderView *columns = view->horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setHighlightSections(false);
    for (int c = 0; c < LogGridModel::ColumnCount; ++c)
        view->setColumnWidth(c, widths[std::size_t(c)]);

    new FollowNewest(view);
}

} // namespace kx::log
