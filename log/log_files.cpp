#include "log/log_files.h"

#include "log/log_file_checks.h"
#include "log/log_table.h"

#include <QSaveFile>

namespace kx::log {

namespace {

constexpr const char *kEndOfLine = "\r\n";
constexpr qsizetype kWriteChunk = 1 << 16;

void appendLine(QByteArray &out, const QByteArray &no, const QString (&fields)[5])
{
    out += no;
    for (const QString &field : fields) {
        out += '\t';
        out += field.toLocal8Bit();
    }
    out += kEndOfLine;
}

} // namespace

Status saveLogAsText(const LogTable &table, const QString &path)
{
    const auto failed = [&path](const QString &reason) {
        return Status{QStringLiteral("Could not save table to specified file: %1 (%2)").arg(path, reason)};
    };
    if (!table.isOpen())
        return failed(kNoLogOpen);
    if (table.isOpenFile(path) || LogTable::isLockedElsewhere(path))
        return failed(QStringLiteral("it is a log table in use"));
    if (Status s = checkSaveTarget(path); !s.ok())
        return failed(s.error);
    QSaveFile file(path);
    // Unbuffered, so the write that fails tells why (a full disk) rather than the commit after it.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failed(file.errorString());
    QString writeError;
    QByteArray out;
    out.reserve(kWriteChunk + 256);
    const auto put = [&] {
        if (file.write(out) != out.size() && writeError.isEmpty())
            writeError = file.errorString();
        out.clear();
    };
    appendLine(out, "No", {QStringLiteral("Time"), QStringLiteral("DC/AC"), QStringLiteral("Value"),
                           QStringLiteral("Unit"), QStringLiteral("AUTO")});
    const TimeOfDayText timeText;
    const Status read = table.forEach([&](const LogRecord &r) {
        appendLine(out, QByteArray::number(r.no), {timeText(r.time), r.coupling, r.value, r.unit, r.rangeMode});
        if (out.size() >= kWriteChunk)
            put();
    });
    put();
    if (!read.ok()) {
        file.cancelWriting();
        return failed(read.error);
    }
    if (!file.commit())
        return failed(writeError.isEmpty() ? file.errorString() : writeError);
    return {};
}

LogFiles::LogFiles(LogTable &table, FileDialogs &dialogs, MessageBoxes &boxes)
    : m_table(table)
    , m_dialogs(dialogs)
    , m_boxes(boxes)
{
}

bool LogFiles::saveAs()
{
    // A closed log has nothing to save, and an empty file must not replace a saved log.
    if (!m_table.isOpen()) {
        m_boxes.information(kNoLogOpen);
        return false;
    }
    const std::optional<QString> path = m_dialogs.saveFileName(kSaveFilters, kSaveDefaultSuffix);
    if (!path)
        return false;
    const qsizetype dot = path->lastIndexOf(u'.');
    const QString extension = dot < 0 ? QString() : path->mid(dot);
    if (extension == u".db") {
        // No message when the table save succeeds.
        if (Status s = m_table.saveAsTable(*path); !s.ok()) {
            m_boxes.error(s.error);
            return false;
        }
    } else if (Status s = saveLogAsText(m_table, *path); !s.ok()) {
        m_boxes.information(s.error);
        return false;
    } else {
        m_boxes.information(QStringLiteral("save table to specified file: ") + *path + QStringLiteral(" Scuss!"));
    }
    m_table.markSaved();
    return true;
}

void LogFiles::openOldFile()
{
    const std::optional<QString> path = m_dialogs.openFileName(kOpenFilters);
    if (!path || !askBeforeDiscarding())
        return;
    if (Status s = m_table.open(*path); !s.ok())
        m_boxes.error(s.error);
}

bool LogFiles::askBeforeDiscarding()
{
    if (!m_table.hasUnsavedRecords())
        return true;
    switch (m_boxes.askSaveDiscardCancel(QStringLiteral("Records were logged since the last save. Save them?"))) {
    case MessageBoxes::Answer::Save: return saveAs();
    case MessageBoxes::Answer::Discard: return true;
    case MessageBoxes::Answer::Cancel: return false;
    }
    return false;
}

} // namespace kx::log
