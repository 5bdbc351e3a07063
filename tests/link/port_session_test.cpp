#include "link/port_session.h"
#include "pty.h"

#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

namespace kx::link {
namespace {

using test::Pty;

TEST(PortSession, EndsWhenFinishedAndHandsOnEveryByte)
{
    Pty pty;
    std::string received;
    PortSession session{pty.slavePath(), TComPortBaudRate::br19200,
                        [&](TSerialPortDriver *, const char *data, std::int32_t size) { received.append(data, size); },
                        [&] { return received.size() >= 6; }, 10};
    // Written once the port is open (opening discards what waits).
    QTimer::singleShot(100, [&] { pty.write("abc"); });
    QTimer::singleShot(200, [&] { pty.write("def"); });
    EXPECT_EQ(runPortSession(session), std::nullopt);
    EXPECT_EQ(received, "abcdef");
}

TEST(PortSession, ReportsWhyItEnded)
{
    {
        const PortSession missing{"/dev/kx52b-no-such-port", TComPortBaudRate::br2400, {}, {}, 0};
        EXPECT_EQ(runPortSession(missing), "cannot open /dev/kx52b-no-such-port: No such file or directory");
    }
    {
        Pty pty;
        const PortSession lost{pty.slavePath(), TComPortBaudRate::br2400, {}, {}, 10};
        QTimer::singleShot(100, [&] { pty.closeMaster(); });
        const auto error = runPortSession(lost);
        ASSERT_TRUE(error);
        EXPECT_TRUE(error->starts_with(pty.slavePath() + " was lost: ")) << *error;
    }
    {
        Pty pty;
        const PortSession timed{pty.slavePath(), TComPortBaudRate::br2400, {}, {}, 1};
        QElapsedTimer clock;
        clock.start();
        EXPECT_EQ(runPortSession(timed), std::nullopt);
        EXPECT_GE(clock.elapsed(), 900);
    }
    {
        // Some fifty days, more milliseconds than an int holds: the run must not end early.
        Pty pty;
        const PortSession days{pty.slavePath(), TComPortBaudRate::br2400, {}, {}, 4'294'968};
        QTimer::singleShot(1200, [&] { pty.closeMaster(); });
        const auto error = runPortSession(days);
        ASSERT_TRUE(error);
        EXPECT_TRUE(error->starts_with(pty.slavePath() + " was lost: ")) << *error;
    }
}

} // namespace
} // namespace kx::link
