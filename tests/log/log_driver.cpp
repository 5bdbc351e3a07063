// kx52b-log-driver: the reading log on an event loop, as the program runs it, for tests that kill it.
//
//   log RUN MARKS      takes up an ended run, then logs readings "RUN.SEQ" five to the millisecond
//                      until killed; after each five it appends "RUN SEQ NANOSECONDS" (monotonic
//                      clock) to MARKS
//   export OUT         takes up an ended run, exports it as text to OUT and ends normally
//   save TARGET N MARKS  discards any ended run, logs N readings, saves them to TARGET (a table for
//                      ".db", text otherwise) between the lines "saving NS" and "saved NS" in MARKS,
//                      and ends normally
//
// The working directory and XDG_STATE_HOME say where the log and its recovery files are. Messages go
// to standard error; the exit status is 1 when a step failed.
#include "log/log_files.h"
#include "log/log_startup.h"
#include "log/log_table.h"
#include "log/reading_log.h"

#include <QCoreApplication>
#include <QFile>
#include <QTimer>

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>

namespace {

using namespace kx::log;

class DriverBoxes : public MessageBoxes {
public:
    explicit DriverBoxes(const QString &answer) : m_answer(answer) {}
    void information(const QString &text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
    void error(const QString &text) override
    {
        std::fprintf(stderr, "error: %s\n", qPrintable(text));
        failed = true;
    }
    Answer askSaveDiscardCancel(const QString &) override { return Answer::Discard; }
    int choose(const QString &, const QStringList &choices, int) override { return int(choices.indexOf(m_answer)); }
    bool failed = false;

private:
    QString m_answer;
};

class DriverDialogs : public FileDialogs {
public:
    explicit DriverDialogs(const QString &target) : m_target(target) {}
    std::optional<QString> saveFileName(const QStringList &, const QString &) override { return m_target; }
    std::optional<QString> openFileName(const QStringList &) override { return std::nullopt; }
    bool setUpPrinter(QPrinter &) override { return false; }

private:
    QString m_target;
};

// Lines appended to a file with one write each, so a kill never leaves half a line.
class Marks {
public:
    explicit Marks(const QString &path) : m_fd(::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644)) {}
    ~Marks()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Marks(const Marks &) = delete;
    Marks &operator=(const Marks &) = delete;
    void write(const std::string &what)
    {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        const std::string line = what + " " + std::to_string(std::chrono::nanoseconds(now).count()) + "\n";
        if (::write(m_fd, line.data(), line.size()) != ssize_t(line.size()))
            std::perror("marks");
    }

private:
    int m_fd;
};

int logUntilKilled(const QString &run, const QString &marksPath)
{
    LogTable table;
    SystemClock clock;
    DriverBoxes boxes(QStringLiteral("Restore"));
    DriverDialogs dialogs({});
    ReadingLog log(table, clock, boxes);
    log.setRepeatFilter(false);
    log.setMaxRecords(kSizeLimits.back().records);
    if (!openLogAtStartup(table, log, dialogs, boxes).ok())
        return 1;
    Marks marks(marksPath);
    QTimer readings;
    readings.setInterval(1);
    int seq = 0;
    QObject::connect(&readings, &QTimer::timeout, &readings, [&] {
        for (int i = 0; i < 5; ++i) {
            const QString value = run + u'.' + QString::number(++seq);
            if (!log.offer({value, QStringLiteral("DC"), QStringLiteral("V"), QStringLiteral("AUTO"), 1}).ok())
                QCoreApplication::exit(1);
        }
        marks.write(run.toStdString() + " " + std::to_string(seq));
    });
    readings.start();
    return QCoreApplication::exec();
}

int exportRun(const QString &out)
{
    LogTable table;
    SystemClock clock;
    DriverBoxes boxes(QStringLiteral("Restore"));
    DriverDialogs dialogs({});
    ReadingLog log(table, clock, boxes);
    if (!openLogAtStartup(table, log, dialogs, boxes).ok())
        return 1;
    if (Status s = saveLogAsText(table, out); !s.ok())
        boxes.error(s.error);
    table.close();
    return boxes.failed ? 1 : 0;
}

int saveRun(const QString &target, int records, const QString &marksPath)
{
    LogTable table;
    SystemClock clock;
    DriverBoxes boxes(QStringLiteral("Discard"));
    DriverDialogs dialogs(target);
    ReadingLog log(table, clock, boxes);
    if (!openLogAtStartup(table, log, dialogs, boxes).ok())
        return 1;
    for (int no = 1; no <= records; ++no) {
        if (!table.append({no, clock.now(), QString::number(no), double(no), QStringLiteral("DC"), QStringLiteral("V"), QStringLiteral("AUTO")}).ok())
            return 1;
    }
    // Committed first, so the marks span the save alone.
    if (!table.commit().ok())
        return 1;
    Marks marks(marksPath);
    marks.write("saving");
    LogFiles files(table, dialogs, boxes);
    if (!files.saveAs())
        return 1;
    marks.write("saved");
    table.close();
    return boxes.failed ? 1 : 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const QString mode = args.value(0);
    if (mode == u"log" && args.size() == 3)
        return logUntilKilled(args[1], args[2]);
    if (mode == u"export" && args.size() == 2)
        return exportRun(args[1]);
    if (mode == u"save" && args.size() == 4)
        return saveRun(args[1], args[2].toInt(), args[3]);
    std::fprintf(stderr, "usage: kx52b-log-driver log RUN MARKS | export OUT | save TARGET N MARKS\n");
    return 2;
}
