// kx52b-window-under-test-<build>: the program's main window as the program runs it, on the
// offscreen platform, driven through its own controls, for the tests that kill it.
//
//   log [MS]            answers "Restore" at start, chooses the "limitless" log, presses
//                       "COM Connect" and logs what the meter on COM1 sends; with MS, ends through
//                       "Exit" after MS milliseconds, else runs until killed
//   export PATH         answers "Restore" at start, exports the log through "saveas" to PATH and
//                       ends through "Exit"
//   save SOURCE TARGET  opens the saved log SOURCE through "OpenDataFiles", saves it through
//                       "saveas" to TARGET and ends through "Exit"
//
// Standard output, one whole line per write, times from the monotonic clock in nanoseconds:
//   "connected NS" or "not connected NS" after "COM Connect"; "saving NS" and "saved NS" around a
//   save; and for every record the log appends, "record" and its fields, tab-separated:
//   no, time (HH:mm:ss), value, DC/AC, unit, AUTO, then NS.
// Every box the window shows goes to standard error; the exit status is 1 when an error box was
// shown. The working directory and XDG_STATE_HOME place the log and its recovery files; KX52B_COM1
// names the meter's port.
#include "app/guarded_application.h"
#include "app/main_window.h"
#include "link/serial_port_driver.h"
#include "log/log_table.h"
#include "tests/support/test_hid_platform.h"

#include <QAction>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

using namespace kx;

void report(const QString &line)
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    const QByteArray bytes = (line + u'\t' + QString::number(std::chrono::nanoseconds(now).count()) + u'\n').toUtf8();
    // One write: a kill never leaves half a line.
    if (::write(STDOUT_FILENO, bytes.constData(), size_t(bytes.size())) != bytes.size())
        std::perror("report");
}

class ScriptedBoxes : public log::MessageBoxes {
public:
    void information(const QString &text) override { std::fprintf(stderr, "information: %s\n", qPrintable(text)); }
    void error(const QString &text) override
    {
        std::fprintf(stderr, "error: %s\n", qPrintable(text));
        failed = true;
    }
    // Nothing the tests keep is unsaved at an exit.
    Answer askSaveDiscardCancel(const QString &text) override
    {
        std::fprintf(stderr, "question: %s -> Discard\n", qPrintable(text));
        return Answer::Discard;
    }
    int choose(const QString &text, const QStringList &choices, int) override
    {
        std::fprintf(stderr, "question: %s -> Restore\n", qPrintable(text));
        return int(choices.indexOf(QStringLiteral("Restore")));
    }
    bool failed = false;
};

class ScriptedDialogs : public log::FileDialogs {
public:
    ScriptedDialogs(QString open, QString save) : m_open(std::move(open)), m_save(std::move(save)) {}
    std::optional<QString> saveFileName(const QStringList &, const QString &) override { return m_save; }
    std::optional<QString> openFileName(const QStringList &) override { return m_open; }
    bool setUpPrinter(QPrinter &) override { return false; }

private:
    QString m_open;
    QString m_save;
};

template <typename T>
T &control(app::TFCOMM &window, const char *name)
{
    T *found = window.findChild<T *>(QString::fromLatin1(name));
    if (!found) {
        std::fprintf(stderr, "no control %s\n", name);
        std::exit(2);
    }
    return *found;
}

void exitThroughMenu(app::TFCOMM &window) { control<QAction>(window, "EXIT1").trigger(); }

void logFromCom1(app::TFCOMM &window, int endAfterMs)
{
    control<QAction>(window, "limitess").trigger();
    control<QPushButton>(window, "COMCon").click();
    report(QString::fromLatin1(window.COMM2().IsConnected() ? "connected" : "not connected"));
    if (endAfterMs > 0)
        QTimer::singleShot(endAfterMs, &window, [&window] { exitThroughMenu(window); });
}

void save(app::TFCOMM &window)
{
    report(QStringLiteral("saving"));
    control<QToolButton>(window, "saveas").click();
    report(QStringLiteral("saved"));
    exitThroughMenu(window);
}

int usage()
{
    std::fprintf(stderr, "usage: kx52b-window-under-test log [MS] | export PATH | save SOURCE TARGET\n");
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    app::GuardedApplication application(argc, argv);
    const QStringList args = application.arguments().mid(1);
    const QString mode = args.value(0);
    const bool valid = (mode == u"log" && args.size() <= 2) || (mode == u"export" && args.size() == 2)
                       || (mode == u"save" && args.size() == 3);
    if (!valid)
        return usage();

    ScriptedBoxes boxes;
    ScriptedDialogs dialogs(mode == u"save" ? args[1] : QString(), mode == u"log" ? QString() : args.last());
    app::TFCOMM window({.boxes = &boxes,
                        .dialogs = &dialogs,
                        .clock = nullptr,
                        .beep = [] {},
                        .hidPlatform = std::make_shared<link::test::TestHidPlatform>()});
    QObject::connect(&window.T38BDB(), &log::LogTable::recordAppended, &window,
                     [](std::int64_t, const log::LogRecord &r) {
                         report(QStringList{QStringLiteral("record"), QString::number(r.no),
                                            r.time.toString(QStringLiteral("HH:mm:ss")), r.value, r.coupling, r.unit,
                                            r.rangeMode}
                                    .join(u'\t'));
                     });
    window.show();
    // The steps run from the event loop, as a user's clicks would.
    QTimer::singleShot(0, &window, [&] {
        if (mode == u"log") {
            logFromCom1(window, args.value(1).toInt());
        } else if (mode == u"export") {
            control<QToolButton>(window, "saveas").click();
            exitThroughMenu(window);
        } else {
            control<QToolButton>(window, "OpenDataFiles").click();
            save(window);
        }
    });
    const int status = application.exec();
    return boxes.failed ? 1 : status;
}
