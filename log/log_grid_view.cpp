#include "log/log_grid_view.h"

#include <QAccessible>
#include <QAccessibleTableInterface>
#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cstdlib>
#include <iterator>

namespace kx::log {

namespace {

struct MoveKey {
    int key;
    LogGridView::Move move;
};

// Whole rows are selected, so Home and End go to the first and last record, as with Ctrl.
constexpr MoveKey kMoveKeys[] = {
    {Qt::Key_Up, LogGridView::Move::Up},         {Qt::Key_Down, LogGridView::Move::Down},
    {Qt::Key_PageUp, LogGridView::Move::PageUp}, {Qt::Key_PageDown, LogGridView::Move::PageDown},
    {Qt::Key_Home, LogGridView::Move::First},    {Qt::Key_End, LogGridView::Move::Last},
};

// The record indicator: a narrow row header that marks the current row. Its size is fixed, so a
// new row never makes it measure the texts of other rows.
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

} // namespace

LogGridView::LogGridView(LogGridRows *rows, const GridWidths &widths, QWidget *parent)
    : QTableView(parent)
{
    setModel(rows);
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setShowGrid(true);
    // Narrow columns clip their text rather than hide it behind an ellipsis.
    setTextElideMode(Qt::ElideNone);
    setFont(QFont(QStringLiteral("Arial"), 9));
    QPalette look = palette();
    look.setColor(QPalette::Base, QColor(0xC0, 0xC0, 0xC0));
    look.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    // Highlighted even while another control has the focus.
    for (const auto role : {QPalette::Highlight, QPalette::HighlightedText})
        look.setColor(QPalette::Inactive, role, look.color(QPalette::Active, role));
    setPalette(look);

    auto *indicator = new RecordIndicator(this);
    setVerticalHeader(indicator);
    indicator->setDefaultSectionSize(fontMetrics().height() + 4);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, indicator,
            [indicator] { indicator->viewport()->update(); });
    QHeaderView *columns = horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setHighlightSections(false);
    for (int c = 0; c < LogGridRows::ColumnCount; ++c)
        setColumnWidth(c, widths[std::size_t(c)]);
}

int LogGridView::rowsInSight() const
{
    return std::max(1, viewport()->height() / verticalHeader()->defaultSectionSize());
}

void LogGridView::announceCurrent()
{
    const QModelIndex current = currentIndex();
    if (!QAccessible::isActive() || !current.isValid())
        return;
    QAccessibleInterface *table = QAccessible::queryAccessibleInterface(this);
    QAccessibleTableInterface *cells = table ? table->tableInterface() : nullptr;
    QAccessibleInterface *cell = cells ? cells->cellAt(current.row(), current.column()) : nullptr;
    if (!cell)
        return;
    QAccessibleEvent event(this, QAccessible::Focus);
    event.setChild(table->indexOfChild(cell));
    QAccessible::updateAccessibility(&event);
}

void LogGridView::scrollTo(const QModelIndex &index, ScrollHint hint)
{
    if (index.isValid())
        emit rowInSightRequested(index.row());
    // What is left is the column: the rows stay where the grid put them.
    QTableView::scrollTo(index, hint);
}

void LogGridView::keyPressEvent(QKeyEvent *event)
{
    const auto found = std::find_if(std::begin(kMoveKeys), std::end(kMoveKeys),
                                    [event](const MoveKey &k) { return k.key == event->key(); });
    if (found == std::end(kMoveKeys)) {
        QTableView::keyPressEvent(event);
        return;
    }
    emit moveRequested(found->move);
    event->accept();
}

void LogGridView::wheelEvent(QWheelEvent *event)
{
    const QPoint turn = event->angleDelta();
    const bool alongTheLog = std::abs(turn.y()) >= std::abs(turn.x()) && !(event->modifiers() & Qt::AltModifier);
    if (m_logBar && alongTheLog)
        QCoreApplication::sendEvent(m_logBar, event);
    else
        QTableView::wheelEvent(event);
}

bool LogGridView::viewportEvent(QEvent *event)
{
    const bool handled = QTableView::viewportEvent(event);
    if (event->type() == QEvent::Resize)
        emit sightResized();
    return handled;
}

void LogGridView::updateGeometries()
{
    QTableView::updateGeometries();
    // The view's model holds only rows in sight, and a partly shown last row must not let the
    // view scroll itself: the grid scrolls by moving its window.
    verticalScrollBar()->setRange(0, 0);
}

QItemSelectionModel::SelectionFlags LogGridView::selectionCommand(const QModelIndex &index, const QEvent *) const
{
    // A click or key never takes the highlight off the row it lands on (Ctrl+click would).
    return index.isValid() ? QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows
                           : QItemSelectionModel::NoUpdate;
}

} // namespace kx::log
