#include <gtest/gtest.h>

#include <QXmlStreamReader>

#include "report/report_html.h"

namespace vesk {
namespace {

// The report's content on the example data is pinned byte for byte by the walkthrough's
// reference (tests/app/walkthrough); here the page stays well-formed whatever bytes the data hold.
TEST(ReportHtml, DataOfAnyBytesKeepThePageWellFormed) {
    ReportData report;
    report.title = "Runs test of <P>";
    report.question.group_variables = {"G"};
    ReportRow row;
    row.groups = {"<b>&\"'\xff\x01"};
    row.point = 1;
    report.rows = {row};
    QXmlStreamReader reader(QByteArray::fromStdString(report_html(report)));
    // The cells of the table of groups: a blank or a star, then the group value.
    QStringList cells;
    bool in_groups = false;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == u"table") {
            in_groups = reader.attributes().value("class") == u"groups";
        } else if (reader.isStartElement() && in_groups && reader.name() == u"td") {
            cells.append(reader.readElementText(QXmlStreamReader::IncludeChildElements));
        }
    }
    ASSERT_FALSE(reader.hasError())
        << reader.errorString().toStdString() << " at line " << reader.lineNumber();
    ASSERT_GE(cells.size(), 2);
    EXPECT_EQ(cells[1], QString::fromUtf8("<b>&\"'\uFFFD\uFFFD"));
}

}  // namespace
}  // namespace vesk
