#include "log/log_print.h"

#include "log/log_prompts.h"
#include "log/log_report.h"
#include "log/log_table.h"

#include <QCoreApplication>
#include <QPrinter>

namespace kx::log {

namespace {

enum Choice { Print, SavePdf, Cancel };
const QStringList kLargeReportChoices{QStringLiteral("Print"), QStringLiteral("Save as PDF"), QStringLiteral("Cancel")};

void printDirectly(const LogTable &table, std::int64_t records, MessageBoxes &boxes, FileDialogs &dialogs)
{
    QPrinter printer(QPrinter::HighResolution);
    setupReportPrinter(printer);
    if (dialogs.setUpPrinter(printer) && !printLogReport(printer, table, records))
        boxes.error(QStringLiteral("Cannot print the report on %1").arg(printer.printerName()));
}

void savePdf(const LogTable &table, MessageBoxes &boxes, FileDialogs &dialogs)
{
    const std::optional<QString> path = dialogs.saveFileName({QStringLiteral("PDF File(*.pdf)")}, QStringLiteral("pdf"));
    if (!path)
        return;
    if (Status s = writeLogReportPdf(table, *path); !s.ok())
        boxes.error(s.error);
}

} // namespace

void printLog(const LogTable &table, MessageBoxes &boxes, FileDialogs &dialogs, QWidget *parent)
{
    QCoreApplication::processEvents();
    if (!table.isOpen()) {
        boxes.information(kNoLogOpen);
        return;
    }
    const std::int64_t records = table.count();
    const std::int64_t pages = (records + reportRowsPerPage() - 1) / reportRowsPerPage();
    if (pages <= kLargestPreviewPages) {
        previewLogReport(table, parent);
        return;
    }
    const QString question = QStringLiteral("The report of %1 records has %2 pages, too many for the preview. "
                                            "Print it directly, or save it as a PDF file?")
                                 .arg(records)
                                 .arg(pages);
    switch (boxes.choose(question, kLargeReportChoices, Cancel)) {
    case Print: printDirectly(table, records, boxes, dialogs); break;
    case SavePdf: savePdf(table, boxes, dialogs); break;
    default: break;
    }
}

} // namespace kx::log
