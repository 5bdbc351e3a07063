#include "log/log_grid.h"

#include "log/log_table.h"

#include <QHBoxLayout>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QSignalBlocker>

#include <algorithm>
#include <climits>

namespace kx::log {

LogGrid::LogGrid(LogTable &table, const GridWidths &widths, QWidget *parent)
    : QFrame(parent)
    , m_table(table)
    , m_rows(table)
    , m_view(new LogGridView(&m_rows, widths, this))
    , m_bar(new QScrollBar(Qt::Vertical, this))
{
    setObjectName(QStringLiteral("DBGrid1"));
    setAccessibleName(QStringLiteral("Reading log"));
    m_view->setAccessibleName(QStringLiteral("Reading log"));
    m_bar->setAccessibleName(QStringLiteral("Reading log position"));
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setFocusProxy(m_view);
    m_view->setLogScrollBar(m_bar);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins({});
    layout->setSpacing(0);
    layout->addWidget(m_view);
    layout->addWidget(m_bar);

    // A meter on a fast line sends some 170 readings a second: the grid moves to the newest record
    // at most five times a second, which reads as live and spares most of the drawing.
    m_follow.setSingleShot(true);
    m_follow.setInterval(kFollowMilliseconds);
    connect(&m_follow, &QTimer::timeout, this, &LogGrid::follow);
    connect(&table, &LogTable::recordAppended, this, [this](std::int64_t row, const LogRecord &record) {
        m_rows.offer(row, record);
        if (!m_follow.isActive())
            m_follow.start();
    });
    connect(&table, &LogTable::contentReset, this, &LogGrid::showAfresh);
    connect(m_bar, &QScrollBar::valueChanged, this, &LogGrid::showRows);
    connect(m_view, &LogGridView::moveRequested, this, &LogGrid::move);
    connect(m_view, &LogGridView::rowInSightRequested, this, [this](int row) {
        if (!m_placing)
            bringIntoSight(m_rows.first() + row);
    });
    connect(m_view, &LogGridView::sightResized, this, &LogGrid::resizeSight);
    connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &LogGrid::takeCurrentFromView);
    showAfresh();
}

LogGrid::~LogGrid()
{
    // The view goes while the rows it shows and this grid, which it signals, are still whole.
    delete m_view;
}

void LogGrid::setCurrentRecord(std::int64_t row)
{
    const std::int64_t count = m_table.count();
    m_current = count > 0 ? std::clamp<std::int64_t>(row, 0, count - 1) : -1;
    bringIntoSight(std::max<std::int64_t>(m_current, 0));
}

void LogGrid::follow()
{
    setCurrentRecord(m_table.count() - 1);
}

void LogGrid::showAfresh()
{
    {
        const QScopedValueRollback placing(m_placing, true);
        m_rows.forget();
    }
    m_current = -1;
    follow();
}

void LogGrid::move(LogGridView::Move move)
{
    const std::int64_t from = m_current >= 0 ? m_current : m_rows.first();
    const std::int64_t page = m_view->rowsInSight();
    const QModelIndex before = m_view->currentIndex();
    switch (move) {
    case LogGridView::Move::Up: setCurrentRecord(from - 1); break;
    case LogGridView::Move::Down: setCurrentRecord(from + 1); break;
    case LogGridView::Move::PageUp: setCurrentRecord(from - page); break;
    case LogGridView::Move::PageDown: setCurrentRecord(from + page); break;
    case LogGridView::Move::First: setCurrentRecord(0); break;
    case LogGridView::Move::Last: setCurrentRecord(m_table.count() - 1); break;
    }
    if (m_view->currentIndex() == before)
        m_view->announceCurrent();
}

void LogGrid::bringIntoSight(std::int64_t row)
{
    const int sight = m_view->rowsInSight();
    std::int64_t first = m_rows.first();
    if (row < first)
        first = row;
    else if (row >= first + sight)
        first = row - sight + 1;
    showFrom(first);
}

void LogGrid::resizeSight()
{
    const std::int64_t currentRow = m_current - m_rows.first();
    const bool currentInSight = m_current >= 0 && currentRow >= 0 && currentRow < m_rows.rowCount();
    showFrom(m_rows.first());
    if (currentInSight)
        bringIntoSight(m_current);
}

void LogGrid::showFrom(std::int64_t first)
{
    updateRange();
    {
        const QSignalBlocker quiet(m_bar);
        m_bar->setValue(int(std::clamp<std::int64_t>(first, 0, INT_MAX)));
    }
    showRows(m_bar->value());
}

void LogGrid::showRows(std::int64_t first)
{
    // One row more than fit wholly, for the part of a row below the last.
    const std::int64_t rows = std::clamp<std::int64_t>(m_table.count() - first, 0, m_view->rowsInSight() + 1);
    {
        const QScopedValueRollback placing(m_placing, true);
        m_rows.show(first, int(rows));
    }
    placeCurrent();
}

void LogGrid::updateRange()
{
    const int sight = m_view->rowsInSight();
    const std::int64_t lastFirst = std::max<std::int64_t>(m_table.count() - sight, 0);
    const QSignalBlocker quiet(m_bar);
    m_bar->setPageStep(sight);
    m_bar->setRange(0, int(std::min<std::int64_t>(lastFirst, INT_MAX)));
}

void LogGrid::placeCurrent()
{
    const QScopedValueRollback placing(m_placing, true);
    QItemSelectionModel *selection = m_view->selectionModel();
    const std::int64_t row = m_current - m_rows.first();
    if (m_current < 0 || row < 0 || row >= m_rows.rowCount()) {
        // Out of sight: no row of the view stands for it until it comes back.
        selection->clear();
        return;
    }
    const int column = std::max(selection->currentIndex().column(), 0);
    selection->setCurrentIndex(m_rows.index(int(row), column),
                               QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void LogGrid::takeCurrentFromView(const QModelIndex &current)
{
    if (!m_placing && current.isValid())
        m_current = m_rows.first() + current.row();
}

} // namespace kx::log
