#pragma once

#include "app/main_window.h"
#include "app/window_layout.h"
#include "tests/log/log_fakes.h"
#include "tests/support/test_hid_platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace kx::app::testing {

// The main window of this build in a working directory of its own, with the desktop's boxes,
// dialogs, clock and bell answered and recorded by the test.
class WindowFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        previousDir = QDir::currentPath();
        QDir::setCurrent(dir.path());
        qputenv("XDG_STATE_HOME", QFile::encodeName(dir.filePath(QStringLiteral("state"))));
    }
    void TearDown() override
    {
        window.reset();
        QDir::setCurrent(previousDir);
    }

    TFCOMM &open()
    {
        window = std::make_unique<TFCOMM>(WindowServices{
            .boxes = &boxes, .dialogs = &dialogs, .clock = &clock, .beep = [this] { ++beeps; }, .hidPlatform = hid});
        window->show();
        return *window;
    }

    template <typename T = QWidget>
    T *child(const char *name) const
    {
        return window->findChild<T *>(QString::fromLatin1(name));
    }

    // Runs the event loop until DONE or the time is up; DONE's last answer.
    static bool waitFor(const std::function<bool()> &done, int milliseconds = 3000)
    {
        QElapsedTimer clock;
        clock.start();
        while (!done() && clock.elapsed() < milliseconds)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return done();
    }

    QTemporaryDir dir;
    QString previousDir;
    log::testing::FakeBoxes boxes;
    log::testing::FakeDialogs dialogs;
    log::testing::FakeClock clock;
    int beeps = 0;
    // HID devices in memory: the tests never reach the machine's own.
    std::shared_ptr<link::test::TestHidPlatform> hid = std::make_shared<link::test::TestHidPlatform>();
    std::unique_ptr<TFCOMM> window;
};

} // namespace kx::app::testing
