#include "log_fakes.h"

#include "log/log_grid.h"

#include <QHeaderView>
#include <QImage>
#include <QSignalSpy>
#include <QTableView>

namespace kx::log::testing {
namespace {

struct LogGridTest : LogFixture {
    QString cell(int row, int column) const { return model.index(row, column).data().toString(); }
    LogGridModel model{table};
};

TEST_F(LogGridTest, ShowsTheSixColumns)
{
    const LogRecord r{7, QTime(8, 1, 2), "-12.34", -1234, "AC", "k*", "MANU"};
    ASSERT_TRUE(table.append(r).ok());
    const struct {
        int column;
        const char *heading;
        QString text;
        Qt::Alignment alignment;
    } columns[] = {
        {LogGridModel::No, "No", "7", Qt::AlignLeft | Qt::AlignVCenter},
        {LogGridModel::Time, "Time", TimeOfDayText()(QTime(8, 1, 2)), Qt::AlignCenter},
        {LogGridModel::Coupling, "DC/AC", "AC", Qt::AlignCenter},
        {LogGridModel::Value, "Value", "-12.34", Qt::AlignRight | Qt::AlignVCenter},
        {LogGridModel::Unit, "Unit", u"kΩ"_qs, Qt::AlignRight | Qt::AlignVCenter},
        {LogGridModel::RangeMode, "AUTO", "MANU", Qt::AlignCenter},
    };
    ASSERT_EQ(model.columnCount(), int(std::size(columns)));
    for (const auto &c : columns) {
        EXPECT_EQ(model.headerData(c.column, Qt::Horizontal, Qt::DisplayRole).toString(), c.heading);
        EXPECT_EQ(cell(0, c.column), c.text) << c.heading;
        EXPECT_EQ(model.index(0, c.column).data(Qt::TextAlignmentRole).value<Qt::Alignment>(), c.alignment);
        EXPECT_FALSE(model.flags(model.index(0, c.column)) & Qt::ItemIsEditable);
    }
}

TEST_F(LogGridTest, AppendsRowsWithoutReloading)
{
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    appendRecords(1000);
    EXPECT_EQ(model.rowCount(), 1000);
    EXPECT_EQ(inserted.count(), 1000);
    EXPECT_EQ(reset.count(), 0);
    // Rows far apart, read back through the window cache, more windows than it keeps.
    for (int row : {999, 0, 300, 511, 512, 767, 100, 999, 256})
        EXPECT_EQ(cell(row, LogGridModel::No), QString::number(row + 1)) << row;

    ASSERT_TRUE(table.clear().ok());
    EXPECT_EQ(reset.count(), 1);
    EXPECT_EQ(model.rowCount(), 0);
    appendRecords(3, 1);
    EXPECT_EQ(cell(2, LogGridModel::No), "3");
}

TEST_F(LogGridTest, ViewFollowsTheNewestRecord)
{
    QTableView view;
    setupLogGrid(&view, &model, kGridWidths4k);
    view.resize(284, 152);
    view.show();
    appendRecords(400);
    QCoreApplication::processEvents();
    EXPECT_EQ(view.selectionModel()->selectedRows().value(0).row(), 399);
    const QRect last = view.visualRect(model.index(399, 0));
    EXPECT_TRUE(view.viewport()->rect().intersects(last));
    // The record indicator marks the newest row and no other.
    QHeaderView *indicator = view.verticalHeader();
    const QImage marks = indicator->grab().toImage();
    const auto section = [&](int row) {
        return marks.copy(0, indicator->sectionViewportPosition(row), indicator->width(), indicator->sectionSize(row));
    };
    EXPECT_NE(section(399), section(398));
    EXPECT_EQ(section(397), section(398));
    EXPECT_EQ(view.columnWidth(LogGridModel::No), 39);
    EXPECT_EQ(view.columnWidth(LogGridModel::Unit), 36);
    EXPECT_EQ(view.editTriggers(), QAbstractItemView::NoEditTriggers);

    // Opening another table shows it from its newest record as well.
    ASSERT_TRUE(table.saveAsTable(path("a.db")).ok());
    ASSERT_TRUE(table.open(path("a.db")).ok());
    EXPECT_EQ(model.rowCount(), 400);
    QCoreApplication::processEvents();
    EXPECT_EQ(view.selectionModel()->selectedRows().value(0).row(), 399);
}

} // namespace
} // namespace kx::log::testing
