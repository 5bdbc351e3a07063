#include "log/log_report.h"

#include "display/unit_glyphs.h"
#include "log/log_table.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPalette>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include <cmath>
#include <vector>

namespace kx::log {

namespace {

// Band sizes and text positions in millimetres from the band's top-left corner.
constexpr double kPrintableHeight = 297.0 - 2 * 10.0;
constexpr double kBandWidth = 189.97;
constexpr double kHeaderHeight = 10.58;
constexpr double kDetailHeight = 6.61;
constexpr double kTitleTop = 2.12;
constexpr double kHeadingTop = 4.23;
constexpr double kFieldTop = 2.12;
constexpr double kFootLeft = 8.47;
constexpr double kFootTop = 4.23;

struct ReportColumn {
    const char *heading;
    double headingLeft;
    double fieldLeft;
};

constexpr ReportColumn kColumns[] = {
    {"No", 8.47, 8.47},     {"Time", 33.87, 33.87},   {"DC/AC", 64.29, 65.62},
    {"Value", 99.48, 99.48}, {"Unit", 132.29, 131.23}, {"AUTO", 162.98, 162.98},
};

class Page {
public:
    Page(QPainter &painter, const QPrinter &printer)
        : m_painter(painter)
        , m_dotsPerMm(printer.resolution() / 25.4)
    {
    }

    // A text sized to its content from (left, top), wrapping at the band's right edge.
    void text(double left, double top, const QString &text, Qt::Alignment align = Qt::AlignLeft)
    {
        const QRectF box(mm(left), mm(top), mm(kBandWidth - left), mm(kHeaderHeight));
        m_painter.drawText(box, int(align | Qt::AlignTop | Qt::TextWordWrap), text);
    }

private:
    double mm(double length) const { return length * m_dotsPerMm; }

    QPainter &m_painter;
    double m_dotsPerMm;
};

void drawBands(Page &page, const std::vector<LogRecord> &records, const TimeOfDayText &timeText)
{
    page.text(0, kTitleTop, QStringLiteral("The Data Print Title"), Qt::AlignHCenter);
    for (const ReportColumn &c : kColumns)
        page.text(c.headingLeft, kHeaderHeight + kHeadingTop, QString::fromLatin1(c.heading));
    double top = 2 * kHeaderHeight;
    for (const LogRecord &r : records) {
        const QString fields[] = {QString::number(r.no), timeText(r.time), r.coupling,
                                  r.value, display::unitGlyphs(r.unit), r.rangeMode};
        for (std::size_t i = 0; i < std::size(kColumns); ++i)
            page.text(kColumns[i].fieldLeft, top + kFieldTop, fields[i]);
        top += kDetailHeight;
    }
    page.text(kFootLeft, kPrintableHeight - kHeaderHeight + kFootTop, QStringLiteral("The Data Print Foot"));
}

} // namespace

int reportRowsPerPage()
{
    return int(std::floor((kPrintableHeight - 3 * kHeaderHeight) / kDetailHeight));
}

void setupReportPrinter(QPrinter &printer)
{
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
    printer.setFullPage(false);
    printer.setCopyCount(1);
    printer.setDuplex(QPrinter::DuplexNone);
    printer.setPrintRange(QPrinter::AllPages);
}

int renderLogReport(QPainter &painter, QPrinter &printer, const LogTable &table, std::int64_t records)
{
    painter.setFont(QFont(QStringLiteral("Arial"), 10));
    painter.setPen(QGuiApplication::palette().color(QPalette::WindowText));
    Page page(painter, printer);
    const int perPage = reportRowsPerPage();
    const TimeOfDayText timeText;
    std::vector<LogRecord> rows;
    int pages = 0;
    for (std::int64_t first = 0; first < records; first += perPage) {
        rows.clear();
        // A record that cannot be read leaves its lines out; the pages still come out.
        (void)table.read(first, std::min<std::int64_t>(perPage, records - first), rows);
        if (pages > 0)
            printer.newPage();
        drawBands(page, rows, timeText);
        ++pages;
    }
    return pages;
}

std::optional<int> printLogReport(QPrinter &printer, const LogTable &table, std::int64_t records)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return std::nullopt;
    const int pages = renderLogReport(painter, printer, table, records);
    if (!painter.end())
        return std::nullopt;
    return pages;
}

Status writeLogReportPdf(const LogTable &table, const QString &path)
{
    const std::int64_t records = table.count();
    if (records == 0)
        return {};
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    setupReportPrinter(printer);
    if (!printLogReport(printer, table, records))
        return {QStringLiteral("Cannot write %1").arg(path)};
    return {};
}

void previewLogReport(const LogTable &table, QWidget *parent)
{
    QCoreApplication::processEvents();
    const std::int64_t records = table.count();
    if (records == 0)
        return;
    QPrinter printer(QPrinter::HighResolution);
    setupReportPrinter(printer);
    QPrintPreviewDialog preview(&printer, parent);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&](QPrinter *target) { printLogReport(*target, table, records); });
    preview.exec();
}

} // namespace kx::log
