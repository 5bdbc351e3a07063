#pragma once

#include "log/sqlite_db.h"

#include <QString>

#include <cstdint>
#include <optional>

class QPainter;
class QPrinter;
class QWidget;

namespace kx::log {

class LogTable;

// `LogReport`: the log printed as a banded table report on A4 portrait with 10 mm margins: title
// and column headings at the top of every page, one line per record, the footer at the bottom of
// every page.

// Detail lines that fit on one page between the header bands and the footer.
int reportRowsPerPage();

// Sets the report's page on a printer: A4 portrait, 10 mm margins, one copy, all pages.
void setupReportPrinter(QPrinter &printer);

// Draws the first `records` records of the log with a painter begun on `printer`, one page after
// another; the one render function of the preview, the printer and PDF. Returns the pages drawn.
int renderLogReport(QPainter &painter, QPrinter &printer, const LogTable &table, std::int64_t records);

// Paints the first `records` records on the printer's pages (a preview's printer too): the pages
// drawn, or nothing when the printer cannot be painted on.
std::optional<int> printLogReport(QPrinter &printer, const LogTable &table, std::int64_t records);

// The report as a PDF file. An empty log produces no report and no file.
Status writeLogReportPdf(const LogTable &table, const QString &path);

// `BtPrintClick`: the report of the records logged so far in the print preview, from which the user
// prints; returns when the preview is closed. Records logged meanwhile are not in it.
void previewLogReport(const LogTable &table, QWidget *parent);

} // namespace kx::log
