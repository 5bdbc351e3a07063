#pragma once

#include "link/serial_port_driver.h"
#include "tests/link/pty.h"
#include "window_fixture.h"

#include <QPushButton>

namespace kx::app::testing {

// The window with a meter on a pseudo-terminal mapped to COM1; the test writes the meter's bytes.
class WindowOnMeter : public WindowFixture {
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        ASSERT_FALSE(meter.slavePath().empty());
        qputenv("KX52B_COM1", QByteArray::fromStdString(meter.slavePath()));
    }
    void TearDown() override
    {
        WindowFixture::TearDown();
        qunsetenv("KX52B_COM1");
    }
    void connectCom()
    {
        child<QPushButton>("COMCon")->click();
        ASSERT_TRUE(window->COMM2().IsConnected()) << boxes.shown.join("\n").toStdString();
    }
    bool decoded(const std::string &displayText)
    {
        return waitFor([&] { return window->meter().state.DisplayText == displayText; });
    }

    link::test::Pty meter;
};

} // namespace kx::app::testing
