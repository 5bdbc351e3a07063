// Every way out of the window asks before unsaved readings are lost.

#include "log/log_table.h"
#include "window_fixture.h"

#include <QMenuBar>
#include <QPushButton>

namespace kx::app::testing {
namespace {

class WindowExits : public WindowFixture {
protected:
    void logAReading()
    {
        window->meter().state.DisplayText = "1.000";
        window->INDataToTable(0);
        ASSERT_TRUE(window->T38BDB().hasUnsavedRecords());
    }
    QAction *exitItem()
    {
        for (QAction *item : window->menuBar()->actions())
            if (item->objectName() == "EXIT1")
                return item;
        return nullptr;
    }
};

TEST_F(WindowExits, EachExitAsksAndCancelKeepsTheWindowAndItsLog)
{
    open();
    logAReading();
    boxes.answer = log::MessageBoxes::Answer::Cancel;
    const std::function<void()> exits[] = {
        [&] { exitItem()->trigger(); },
        [&] { child<QPushButton>("BitBtn1")->click(); },
        [&] { child<QPushButton>("BtExit")->click(); },
        [&] { window->close(); },
    };
    for (const auto &exit : exits)
        exit();
    EXPECT_EQ(boxes.questions, 4);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->T38BDB().isOpen());
    EXPECT_EQ(window->T38BDB().count(), 1);
}

TEST_F(WindowExits, DiscardEndsTheRunAndClosesTheLog)
{
    open();
    logAReading();
    boxes.answer = log::MessageBoxes::Answer::Discard;
    child<QPushButton>("BitBtn1")->click();
    EXPECT_EQ(boxes.questions, 1);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->T38BDB().isOpen());
}

TEST_F(WindowExits, NothingIsAskedWithoutUnsavedReadings)
{
    open();
    window->close();
    EXPECT_EQ(boxes.questions, 0);
    EXPECT_FALSE(window->isVisible());
}

} // namespace
} // namespace kx::app::testing
