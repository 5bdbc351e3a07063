// The window drawn into an image shows the digits of the last frame on its LCD.

#include "build_frames.h"
#include "link/serial_port_driver.h"
#include "tests/link/pty.h"
#include "window_fixture.h"

#include <QImage>
#include <QPushButton>

namespace kx::app::testing {
namespace {

class WindowPicture : public WindowFixture {
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        qputenv("KX52B_COM1", QByteArray::fromStdString(meter.slavePath()));
    }
    void TearDown() override
    {
        WindowFixture::TearDown();
        qunsetenv("KX52B_COM1");
    }
    // The LCD's part of the whole window's picture after FRAME.
    QImage lcdAfter(const BuildFrame &frame)
    {
        meter.write(frame.bytes);
        EXPECT_TRUE(waitFor([&] { return window->meter().state.DisplayText == frame.displayText; }));
        const QImage picture = window->grab().toImage();
        QWidget *lcd = child("Panel1");
        return picture.copy(QRect(lcd->mapTo(window.get(), QPoint(0, 0)), lcd->size()));
    }

    link::test::Pty meter;
};

TEST_F(WindowPicture, TheLcdShowsTheLastFramesDigits)
{
    open();
    child<QPushButton>("COMCon")->click();
    ASSERT_TRUE(window->COMM2().IsConnected());
    const QImage first = lcdAfter(readingFrame(0));
    const QImage second = lcdAfter(readingFrame(1));
    const QImage firstAgain = lcdAfter(readingFrame(0));
    EXPECT_NE(first, second) << "the control differs, so the picture shows the digits";
    EXPECT_EQ(first, firstAgain);
}

} // namespace
} // namespace kx::app::testing
