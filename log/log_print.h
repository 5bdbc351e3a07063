#pragma once

class QWidget;

namespace kx::log {

class FileDialogs;
class LogTable;
class MessageBoxes;

// A preview draws and keeps every page (a hundred thousand records took 89 MB); a report longer than
// this many pages is printed or written to PDF page by page instead.
inline constexpr int kLargestPreviewPages = 500;

// `BtPrintClick`: the report of the records logged so far. Nothing for an empty log; a closed log
// says that no log is open; a report of up to `kLargestPreviewPages` pages opens in the print
// preview as ever; a longer one asks, with its page count, whether to print it through the print
// dialog, save it as a PDF file, or cancel.
void printLog(const LogTable &table, MessageBoxes &boxes, FileDialogs &dialogs, QWidget *parent);

} // namespace kx::log
