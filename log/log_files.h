#pragma once

#include "log/log_prompts.h"
#include "log/sqlite_db.h"

#include <QString>
#include <QStringList>

namespace kx::log {

class LogTable;

// `SaveDialog2` and `OpenDialog1`. The open filter also matches lower-case ".db", since saved
// tables get that extension and names are case-sensitive here.
inline const QStringList kSaveFilters{
    QStringLiteral("Excel File(*.xls)"), QStringLiteral("DB File(*.db)"),
    QStringLiteral("Txt File(*.txt)"), QStringLiteral("All File(*.*)")};
inline const QString kSaveDefaultSuffix = QStringLiteral("xls");
inline const QStringList kOpenFilters{QStringLiteral("access data files (*.DB *.db)"),
                                      QStringLiteral("All files (*.*)")};

// `SaveLogAsText`: the tab-separated text export, header line and one line per record, CR LF after
// each line. Written through a temporary file beside `path`, so a failed write leaves any file
// there as it was; a log table in use, by this log or another program, a file this user may not
// write or one that is no regular file is never overwritten. A failure says why; a closed log
// writes nothing.
Status saveLogAsText(const LogTable &table, const QString &path);

// Save, export and open of the log, with their dialogs and messages.
class LogFiles {
public:
    LogFiles(LogTable &table, FileDialogs &dialogs, MessageBoxes &boxes);

    // `saveasClick`: ".db" exactly saves a table, every other name exports text. True when
    // something was saved. A closed log says that no log is open.
    bool saveAs();
    // `SpeedButton2Click`: opens a saved table as the log, after asking about unsaved records. A file
    // that cannot be opened is reported and leaves the log as it was.
    void openOldFile();
    // Called before anything discards the log's unsaved records (exit, opening another file): asks
    // whether to save them first. False when the user cancels or the save does not happen; the
    // caller then keeps the log as it is.
    bool askBeforeDiscarding();

private:
    LogTable &m_table;
    FileDialogs &m_dialogs;
    MessageBoxes &m_boxes;
};

} // namespace kx::log
