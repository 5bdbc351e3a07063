#include "log_fakes.h"

#include "log/log_grid.h"

#include <QAccessible>
#include <QAccessibleTableInterface>
#include <QHeaderView>
#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

namespace kx::log::testing {
namespace {

struct LogGridTest : LogFixture {
    // Long enough for the grid to follow what was appended.
    static void settle() { QTest::qWait(LogGrid::kFollowMilliseconds + 50); }
    void showGrid()
    {
        grid.resize(300, 160);
        grid.show();
        settle();
    }
    LogGridView &view() const { return *grid.rowsView(); }
    QAbstractItemModel &rows() const { return *view().model(); }
    QString cell(int viewRow, int column) const { return rows().index(viewRow, column).data().toString(); }
    int selectedRow() const { return view().selectionModel()->selectedRows().value(0, {}).row(); }

    LogGrid grid{table, kGridWidths4k};
};

TEST_F(LogGridTest, ShowsTheSixColumns)
{
    const LogRecord r{7, QTime(8, 1, 2), "-12.34", -1234, "AC", "k*", "MANU"};
    ASSERT_TRUE(table.append(r).ok());
    settle();
    const struct {
        int column;
        const char *heading;
        QString text;
        Qt::Alignment alignment;
    } columns[] = {
        {LogGridRows::No, "No", "7", Qt::AlignLeft | Qt::AlignVCenter},
        {LogGridRows::Time, "Time", TimeOfDayText()(QTime(8, 1, 2)), Qt::AlignCenter},
        {LogGridRows::Coupling, "DC/AC", "AC", Qt::AlignCenter},
        {LogGridRows::Value, "Value", "-12.34", Qt::AlignRight | Qt::AlignVCenter},
        {LogGridRows::Unit, "Unit", u"kΩ"_qs, Qt::AlignRight | Qt::AlignVCenter},
        {LogGridRows::RangeMode, "AUTO", "MANU", Qt::AlignCenter},
    };
    ASSERT_EQ(rows().columnCount(), int(std::size(columns)));
    for (const auto &c : columns) {
        EXPECT_EQ(rows().headerData(c.column, Qt::Horizontal, Qt::DisplayRole).toString(), c.heading);
        EXPECT_EQ(cell(0, c.column), c.text) << c.heading;
        EXPECT_EQ(rows().index(0, c.column).data(Qt::TextAlignmentRole).value<Qt::Alignment>(), c.alignment);
        EXPECT_FALSE(rows().flags(rows().index(0, c.column)) & Qt::ItemIsEditable);
    }
    EXPECT_EQ(view().editTriggers(), QAbstractItemView::NoEditTriggers);
    for (const GridWidths &widths : {kGridWidths40k, kGridWidths4k}) {
        LogGrid build(table, widths);
        for (int c = 0; c < LogGridRows::ColumnCount; ++c)
            EXPECT_EQ(build.rowsView()->columnWidth(c), widths[std::size_t(c)]) << c;
    }
}

TEST_F(LogGridTest, FollowsTheNewestRecordInOneMovePerRefresh)
{
    showGrid();
    const int sight = view().rowsInSight();
    ASSERT_GE(sight, 3);
    QSignalSpy inserted(&rows(), &QAbstractItemModel::rowsInserted);
    QSignalSpy changed(&rows(), &QAbstractItemModel::dataChanged);
    appendRecords(400);
    settle();
    // The view is given the rows in sight, once, not one row per record.
    EXPECT_EQ(inserted.count(), 1);
    EXPECT_EQ(rows().rowCount(), sight);
    appendRecords(3, 401);
    settle();
    EXPECT_EQ(inserted.count(), 1);
    EXPECT_EQ(changed.count(), 1);

    EXPECT_EQ(grid.currentRecord(), 402);
    EXPECT_EQ(grid.firstRecordInSight(), 403 - sight);
    EXPECT_EQ(selectedRow(), sight - 1);
    EXPECT_EQ(cell(sight - 1, LogGridRows::No), "403");
    EXPECT_EQ(cell(0, LogGridRows::No), QString::number(404 - sight));
    EXPECT_TRUE(view().viewport()->rect().contains(view().visualRect(rows().index(sight - 1, 0))));
    EXPECT_EQ(grid.logScrollBar()->value(), grid.logScrollBar()->maximum());
    // The record indicator marks the current row and no other.
    QHeaderView *indicator = view().verticalHeader();
    const QImage marks = indicator->grab().toImage();
    const auto section = [&](int row) {
        return marks.copy(0, indicator->sectionViewportPosition(row), indicator->width(), indicator->sectionSize(row));
    };
    EXPECT_NE(section(sight - 1), section(sight - 2));
    EXPECT_EQ(section(sight - 2), section(sight - 3));
}

TEST_F(LogGridTest, EmptyingOpeningAndClosingShowTheTableAfresh)
{
    showGrid();
    appendRecords(400);
    settle();
    ASSERT_TRUE(table.saveAsTable(path("a.db")).ok());

    ASSERT_TRUE(table.clear().ok());
    EXPECT_EQ(rows().rowCount(), 0);
    EXPECT_EQ(grid.currentRecord(), -1);
    EXPECT_EQ(grid.logScrollBar()->maximum(), 0);
    appendRecords(2, 1);
    settle();
    EXPECT_EQ(cell(0, LogGridRows::No), "1");
    EXPECT_EQ(selectedRow(), 1);

    // Another table is shown from its newest record, with its own records.
    ASSERT_TRUE(table.open(path("a.db")).ok());
    EXPECT_EQ(grid.currentRecord(), 399);
    EXPECT_EQ(cell(selectedRow(), LogGridRows::No), "400");

    table.close();
    EXPECT_EQ(rows().rowCount(), 0);
    EXPECT_EQ(grid.currentRecord(), -1);
    EXPECT_EQ(selectedRow(), -1);
}

TEST_F(LogGridTest, ScrollingShowsOldRecordsOfALargeLog)
{
    for (int i = 0; i < 20000; ++i)
        ASSERT_TRUE(table.append(record(i + 1, qPrintable(QString::number(i * 7)), i % 2 ? "AC" : "DC")).ok());
    showGrid();
    const int sight = view().rowsInSight();
    QScrollBar *bar = grid.logScrollBar();
    EXPECT_EQ(bar->maximum(), 20000 - sight);
    EXPECT_EQ(bar->pageStep(), sight);

    // Dragged to record 12345 (No 12346): its values, and those below it, are in sight.
    bar->setValue(12345);
    EXPECT_EQ(grid.firstRecordInSight(), 12345);
    for (int row = 0; row < sight; ++row) {
        EXPECT_EQ(cell(row, LogGridRows::No), QString::number(12346 + row));
        EXPECT_EQ(cell(row, LogGridRows::Value), QString::number((12345 + row) * 7));
        EXPECT_EQ(cell(row, LogGridRows::Coupling), (12345 + row) % 2 ? "AC" : "DC");
    }
    // The current record stays the newest; out of sight, no row is highlighted for it.
    EXPECT_EQ(grid.currentRecord(), 19999);
    EXPECT_EQ(selectedRow(), -1);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(cell(0, LogGridRows::No), QString::number(12346 + sight));
    bar->setValue(bar->maximum());
    EXPECT_EQ(selectedRow(), sight - 1);
    // Scrolled up by one, the current record is the row half in sight, and the grid stays put.
    bar->setValue(bar->maximum() - 1);
    EXPECT_EQ(grid.firstRecordInSight(), bar->maximum() - 1);
    EXPECT_EQ(selectedRow(), sight);

    // A new record brings the newest back into sight.
    bar->setValue(0);
    appendRecords(1, 20001);
    settle();
    EXPECT_EQ(grid.currentRecord(), 20000);
    EXPECT_EQ(cell(selectedRow(), LogGridRows::No), "20001");
}

TEST_F(LogGridTest, KeysWheelAndClicksMoveAlongTheLog)
{
    appendRecords(100);
    showGrid();
    const int s = view().rowsInSight();
    ASSERT_GE(s, 3);
    view().setFocus();
    const struct {
        Qt::Key key;
        int current;
        int first;
    } steps[] = {
        {Qt::Key_Up, 98, 100 - s},
        {Qt::Key_Home, 0, 0},
        {Qt::Key_Up, 0, 0},
        {Qt::Key_PageDown, s, 1},
        {Qt::Key_Down, s + 1, 2},
        {Qt::Key_Up, s, 2},
        {Qt::Key_PageUp, 0, 0},
        {Qt::Key_End, 99, 100 - s},
        {Qt::Key_Down, 99, 100 - s},
    };
    for (const auto &step : steps) {
        QTest::keyClick(&view(), step.key);
        EXPECT_EQ(grid.currentRecord(), step.current) << step.key;
        EXPECT_EQ(grid.firstRecordInSight(), step.first) << step.key;
        EXPECT_EQ(cell(selectedRow(), LogGridRows::No), QString::number(step.current + 1)) << step.key;
    }

    // The wheel turns the log's bar, not the current record.
    grid.setCurrentRecord(10);
    QWheelEvent down({10, 10}, view().viewport()->mapToGlobal(QPoint(10, 10)), {}, {0, -120}, Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(view().viewport(), &down);
    EXPECT_EQ(grid.firstRecordInSight(), 10 + QApplication::wheelScrollLines());
    EXPECT_EQ(grid.currentRecord(), 10);

    // A click selects its row; a row only partly in sight is brought wholly into it.
    const QModelIndex third = rows().index(2, LogGridRows::Value);
    QTest::mouseClick(view().viewport(), Qt::LeftButton, {}, view().visualRect(third).center());
    EXPECT_EQ(grid.currentRecord(), grid.firstRecordInSight() + 2);
    EXPECT_EQ(selectedRow(), 2);
    QTest::mouseClick(view().viewport(), Qt::LeftButton, Qt::ControlModifier, view().visualRect(third).center());
    EXPECT_EQ(selectedRow(), 2);
    const std::int64_t first = grid.firstRecordInSight();
    ASSERT_EQ(rows().rowCount(), s + 1);
    view().scrollTo(rows().index(s, 0));
    EXPECT_EQ(grid.firstRecordInSight(), first + 1);
    // The grid moved its rows; the view itself still shows them from its first.
    EXPECT_EQ(view().verticalScrollBar()->value(), 0);
}

TEST_F(LogGridTest, ReadableByScreenReaders)
{
    appendRecords(5);
    showGrid();
    EXPECT_EQ(grid.objectName(), "DBGrid1");
    EXPECT_EQ(grid.accessibleName(), "Reading log");
    QAccessibleInterface *table = QAccessible::queryAccessibleInterface(&view());
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->role(), QAccessible::Table);
    EXPECT_EQ(table->text(QAccessible::Name), "Reading log");
    QAccessibleTableInterface *cells = table->tableInterface();
    ASSERT_NE(cells, nullptr);
    EXPECT_EQ(cells->rowCount(), 5);
    EXPECT_EQ(cells->columnDescription(LogGridRows::Unit), "Unit");
    EXPECT_EQ(cells->cellAt(4, LogGridRows::No)->text(QAccessible::Name), "5");
    EXPECT_EQ(cells->cellAt(4, LogGridRows::Unit)->text(QAccessible::Name), "V");
    QAccessibleInterface *bar = QAccessible::queryAccessibleInterface(grid.logScrollBar());
    ASSERT_NE(bar, nullptr);
    EXPECT_FALSE(bar->text(QAccessible::Name).isEmpty());
}

} // namespace
} // namespace kx::log::testing
