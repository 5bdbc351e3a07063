#include "process_rig.h"

#include "log/log_record.h"

#include <map>

namespace kx::process::testing {

namespace {

QString exportedTime(const QString &reported)
{
    static const log::TimeOfDayText timeText;
    return timeText(QTime::fromString(reported, QStringLiteral("HH:mm:ss")));
}

} // namespace

ExportFigures checkExport(const std::vector<KilledRun> &runs, const QByteArray &exported,
                          const std::vector<SentReading> &sent)
{
    ExportFigures figures;
    // A run restores the records the runs before it kept and numbers on after them, so a number
    // reported again belongs to the later run, and the earlier run's record of it was lost.
    std::map<int, std::pair<std::size_t, const ReportedRecord *>> latest;
    for (std::size_t run = 0; run < runs.size(); ++run)
        for (const ReportedRecord &r : runs[run].records)
            latest[r.no] = {run, &r};

    const QStringList lines = QString::fromLocal8Bit(exported).split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines.front(), "No\tTime\tDC/AC\tValue\tUnit\tAUTO");
    EXPECT_EQ(lines.back(), "") << "the last line ends with CR LF";
    std::size_t nextSent = 0;
    for (qsizetype i = 1; i + 1 < lines.size(); ++i) {
        const QStringList f = lines[i].split(u'\t');
        const auto found = latest.find(int(i));
        if (f.size() != 6 || f[0].toInt() != i || found == latest.end()) {
            ADD_FAILURE() << "line " << i << " is not the record numbered " << i << " that a run logged: " << lines[i].toStdString();
            return figures;
        }
        const ReportedRecord &r = *found->second.second;
        const QStringList logged{QString::number(r.no), exportedTime(r.time), r.coupling, r.value, r.unit, r.mode};
        if (f != logged) {
            ADD_FAILURE() << "line " << i << " is " << lines[i].toStdString() << ", logged as " << logged.join(u'\t').toStdString();
            return figures;
        }
        // Each record comes from a frame of its own, later than the last record's.
        while (nextSent < sent.size() && !(sent[nextSent] == SentReading{r.value, r.unit}))
            ++nextSent;
        if (nextSent++ == sent.size()) {
            ADD_FAILURE() << "record " << i << " (" << r.value.toStdString() << " " << r.unit.toStdString()
                          << ") is no reading the simulator sent after the record before it";
            return figures;
        }
    }
    figures.records = lines.size() - 2;

    // A run loses only its last records, those reported in the last `kMostLost` before its kill.
    for (std::size_t run = 0; run < runs.size(); ++run) {
        bool lost = false;
        bool kept = false;
        for (const ReportedRecord &r : runs[run].records) {
            const bool isKept = r.no <= figures.records && latest.at(r.no).first == run;
            if (!isKept && !lost) {
                lost = true;
                const std::chrono::nanoseconds span(runs[run].killedAt - r.at);
                figures.worstLoss = std::max(figures.worstLoss, span);
                EXPECT_LE(span.count(), std::chrono::nanoseconds(kMostLost).count()) << "run " << run << " lost record " << r.no;
            }
            EXPECT_FALSE(lost && isKept) << "run " << run << " kept record " << r.no << " after losing one";
            kept = kept || isKept;
        }
        figures.runsWithRecordsKept += kept;
    }
    return figures;
}

} // namespace kx::process::testing
