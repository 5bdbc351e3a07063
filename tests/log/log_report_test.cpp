#include "log_fakes.h"

#include "log/log_report.h"

#include <QFileInfo>
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

} // namespace
} // namespace kx::log::testing
