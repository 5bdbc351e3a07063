#include "log_fakes.h"

#include "log/log_print.h"
#include "log/log_report.h"

#include <QApplication>
#include <QFileInfo>
#include <QPrintPreviewWidget>
#include <QTimer>

#include <functional>
#include <QProcess>
#include <QRegularExpression>

namespace kx::log::testing {
namespace {

using LogReportTest = LogFixture;

QString pageText(const QString &pdf, int page)
{
    QProcess p;
    p.start("pdftotext", {"-layout", "-f", QString::number(page), "-l", QString::number(page), pdf, "-"});
    EXPECT_TRUE(p.waitForFinished(10000));
    return QString::fromUtf8(p.readAllStandardOutput());
}

int pageCount(const QString &pdf)
{
    return int(QString::fromLatin1(fileBytes(pdf)).count(QRegularExpression("/Type\\s*/Page[^s]")));
}

TEST_F(LogReportTest, SixtyRecordsGiveTwoFullPages)
{
    const int perPage = reportRowsPerPage();
    ASSERT_EQ(perPage, 37);
    for (int i = 1; i <= 60; ++i)
        ASSERT_TRUE(table.append(record(i, "3.999", i % 2 ? "AC" : "", "k*", "AUTO")).ok());
    const QString pdf = path("log.pdf");
    ASSERT_TRUE(writeLogReportPdf(table, pdf).ok());
    ASSERT_EQ(pageCount(pdf), 2);
    for (int page = 1; page <= 2; ++page) {
        const QString text = pageText(pdf, page);
        EXPECT_TRUE(text.contains("The Data Print Title")) << page;
        EXPECT_TRUE(text.contains(QRegularExpression("No\\s+Time\\s+DC/AC\\s+Value\\s+Unit\\s+AUTO"))) << page;
        EXPECT_TRUE(text.contains("The Data Print Foot")) << page;
        EXPECT_TRUE(text.contains(u"kΩ"_qs)) << page;
        // Each page's lines: the first and last record on it and not the next page's first.
        const int first = (page - 1) * perPage + 1, last = std::min(60, page * perPage);
        for (int no : {first, last})
            EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("\\n\\s*%1\\s").arg(no)))) << no;
        EXPECT_FALSE(text.contains(QRegularExpression(QStringLiteral("\\n\\s*%1\\s").arg(last + 1)))) << page;
    }
}

TEST_F(LogReportTest, EmptyLogGivesNoReport)
{
    const QString pdf = path("empty.pdf");
    ASSERT_TRUE(writeLogReportPdf(table, pdf).ok());
    EXPECT_FALSE(QFileInfo::exists(pdf));
    appendRecords(1);
    ASSERT_TRUE(writeLogReportPdf(table, pdf).ok());
    EXPECT_EQ(pageCount(pdf), 1);
}

// Runs `act` on the modal window once one is up; stops looking when `timer` goes.
void whenModal(QTimer &timer, std::function<void(QWidget *)> act)
{
    timer.setInterval(10);
    QObject::connect(&timer, &QTimer::timeout, &timer, [&timer, act] {
        if (QWidget *dialog = QApplication::activeModalWidget()) {
            timer.stop();
            act(dialog);
        }
    });
    timer.start();
}

TEST_F(LogReportTest, PreviewShowsTheRecordsLoggedBeforeIt)
{
    appendRecords(37);
    int pages = -1, pagesAfterMore = -1;
    QTimer poll;
    whenModal(poll, [&](QWidget *dialog) {
        auto *pagesView = dialog->findChild<QPrintPreviewWidget *>();
        ASSERT_NE(pagesView, nullptr);
        pages = pagesView->pageCount();
        // Readings keep coming while the preview is open; a new layout leaves them out.
        appendRecords(40, 38);
        pagesView->updatePreview();
        pagesAfterMore = pagesView->pageCount();
        dialog->close();
    });
    QWidget parent;
    previewLogReport(table, &parent);
    EXPECT_EQ(pages, 1);
    EXPECT_EQ(pagesAfterMore, 1);
}

TEST_F(LogReportTest, EmptyLogOpensNoPreview)
{
    bool opened = false;
    QTimer poll;
    whenModal(poll, [&](QWidget *dialog) {
        opened = true;
        dialog->close();
    });
    previewLogReport(table, nullptr);
    EXPECT_FALSE(opened);
}

TEST_F(LogReportTest, PrintShowsASmallLogInThePreview)
{
    appendRecords(37);
    FakeBoxes boxes;
    FakeDialogs dialogs;
    int pages = -1;
    QTimer poll;
    whenModal(poll, [&](QWidget *dialog) {
        pages = dialog->findChild<QPrintPreviewWidget *>()->pageCount();
        dialog->close();
    });
    QWidget parent;
    printLog(table, boxes, dialogs, &parent);
    EXPECT_EQ(pages, 1);
    EXPECT_TRUE(boxes.asked.isEmpty());
}

TEST_F(LogReportTest, PrintOffersALongLogToPrinterOrPdfWithoutPreview)
{
    const int records = kLargestPreviewPages * reportRowsPerPage() + 1;
    appendRecords(records);
    FakeBoxes boxes;
    FakeDialogs dialogs;
    bool previewed = false;
    QTimer poll;
    whenModal(poll, [&](QWidget *dialog) {
        previewed = true;
        dialog->close();
    });
    const QString printed = path("printed.pdf"), saved = path("saved.pdf");
    dialogs.printTo = printed;
    dialogs.answers = {saved};
    boxes.choices = {"Print", "Save as PDF", "Cancel"};
    for (int i = 0; i < 3; ++i)
        printLog(table, boxes, dialogs, nullptr);
    EXPECT_FALSE(previewed);
    ASSERT_EQ(boxes.asked.size(), 3);
    EXPECT_EQ(boxes.asked[0], QStringLiteral("The report of %1 records has %2 pages, too many for the preview. "
                                             "Print it directly, or save it as a PDF file?")
                                  .arg(records)
                                  .arg(kLargestPreviewPages + 1));
    EXPECT_EQ(pageCount(printed), kLargestPreviewPages + 1);
    EXPECT_EQ(pageCount(saved), kLargestPreviewPages + 1);
    EXPECT_TRUE(boxes.errors.isEmpty());
}

} // namespace
} // namespace kx::log::testing
