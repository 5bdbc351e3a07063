#include "log_fakes.h"

#include "log/reading_log_controls.h"

#include <QActionGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>

namespace kx::log::testing {
namespace {

struct ReadingLogControlsTest : LogFixture {
    FakeClock clock;
    FakeBoxes boxes;
    ReadingLog log{table, clock, boxes};
};

TEST_F(ReadingLogControlsTest, SizeLimitItemsCheckOneAndSetTheLimit)
{
    QMenu menu;
    addSizeLimitItems(&menu, log);
    QStringList captions, checked;
    for (QAction *a : menu.actions()) {
        captions << a->text();
        if (a->isChecked())
            checked << a->text();
    }
    EXPECT_EQ(captions, (QStringList{"1000", "5000", "10000", "50000", "100000", "limitless"}));
    EXPECT_EQ(checked, QStringList{"10000"});
    EXPECT_EQ(log.maxRecords(), 10000);
    menu.findChild<QAction *>("limitess")->trigger();
    EXPECT_EQ(log.maxRecords(), 10000000);
    menu.findChild<QAction *>("N10001")->trigger();
    EXPECT_EQ(log.maxRecords(), 1000);
    EXPECT_FALSE(menu.findChild<QAction *>("limitess")->isChecked());
}

TEST_F(ReadingLogControlsTest, FieldsDriveTheLog)
{
    QCheckBox repeat, sampling;
    QLineEdit interval;
    bindReadingLogControls({&repeat, &sampling, &interval}, log, boxes);
    EXPECT_TRUE(repeat.isChecked());
    EXPECT_FALSE(sampling.isChecked());
    EXPECT_EQ(interval.text(), "10");
    EXPECT_EQ(sampling.text(), "Sampling Interval           'S");

    sampling.setChecked(true);
    interval.setText("3");
    EXPECT_EQ(log.sampleTicks(), 3);
    interval.setText("99999999999");
    EXPECT_EQ(boxes.errors, QStringList{"'99999999999' is not a valid integer value"});
    EXPECT_EQ(log.sampleTicks(), 3);

    repeat.setChecked(false);
    sampling.setChecked(false);
    for (int i = 0; i < 2; ++i)
        ASSERT_TRUE(log.offer({"1", "DC", "V", "", 1}).ok());
    EXPECT_EQ(table.count(), 2);
}

} // namespace
} // namespace kx::log::testing
