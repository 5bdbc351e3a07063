#include "log/log_startup.h"

#include "log/log_files.h"
#include "log/log_prompts.h"
#include "log/reading_log.h"
#include "log/recovery_file.h"

namespace kx::log {

namespace {

enum Choice { Restore, SaveAs, Discard };

// Settles one ended run; true when it was restored into `table`.
bool settle(const EndedRun &run, LogTable &table, FileDialogs &dialogs, MessageBoxes &boxes, const QString &path)
{
    for (;;) {
        switch (boxes.choose(endedRunQuestion(run), kEndedRunChoices, -1)) {
        case Restore:
            if (Status s = table.restore(run, path); s.ok())
                return true;
            else
                boxes.error(s.error);
            break;
        case SaveAs: {
            // A table of its own, so a save that does not happen leaves the run as it was.
            LogTable saved;
            if (Status s = saved.restore(run, path); !s.ok()) {
                boxes.error(s.error);
            } else if (LogFiles(saved, dialogs, boxes).saveAs()) {
                saved.close();
                return false;
            }
            break;
        }
        default:
            run.file->remove();
            return false;
        }
    }
}

} // namespace

QString endedRunQuestion(const EndedRun &run)
{
    const TimeOfDayText time;
    QString text = QStringLiteral("Readings from a run that ended unexpectedly (%1 readings, from %2 to %3)")
                       .arg(run.readings)
                       .arg(time(run.first), time(run.last));
    if (run.logChanged)
        text += QStringLiteral("\n\nThe log file they were added to has changed since, or is gone: %1").arg(run.facts.logPath);
    return text;
}

Status openLogAtStartup(LogTable &table, ReadingLog &log, FileDialogs &dialogs, MessageBoxes &boxes, const QString &path)
{
    QStringList problems;
    const std::vector<EndedRun> runs = findEndedRuns(problems);
    for (const QString &problem : problems)
        boxes.error(problem);
    for (const EndedRun &run : runs) {
        if (settle(run, table, dialogs, boxes, path)) {
            log.resumeRestoredRun();
            return {};
        }
    }
    return table.openStartup(path);
}

} // namespace kx::log
