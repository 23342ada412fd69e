#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <cstdlib>
#include <regex>
#include <sstream>

#include "batch/batch_run.h"
#include "core/text.h"
#include "report/report_html.h"
#include "support/temp_dir.h"

namespace vesk {
namespace {

using testing::TempDir;

const std::string examples = VESK_EXAMPLES_DIR;

// The two tests of the example data as the README runs them.
struct ExampleTest {
    std::vector<std::string> args;
    std::string suffix;                  // of the result file
    std::vector<std::string> statistic;  // result file columns the report shows, 3 decimals
};

const ExampleTest runs_test{
    {"runtest", "--groups", "STATE,SECTOR", "--sample", "SAMPLE", "--param", "AMOUNT"},
    "_run",
    {"n", "m", "zvalue"}};
const ExampleTest chi_test{
    {"chitest", "--groups", "STATE,SECTOR", "--sample", "SAMPLE", "--param", "AGEGRP", "--class",
     "1", "--class", "2", "--class", "3", "--class", "4,5"},
    "_chi",
    {"df", "chisqval"}};

std::vector<std::vector<std::string>> csv_rows(const std::string& path) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(TempDir::read(path));
    for (std::string line; std::getline(lines, line);) {
        rows.push_back(split(line, ','));
    }
    return rows;
}

// A number of the result file as the report's tables show it.
QString shown(const std::string& column, const std::string& value) {
    return column == "zvalue" || column == "chisqval" ? QString::number(std::stod(value), 'f', 3)
                                                      : QString::fromStdString(value);
}

// What an HTML report holds, read back with an XML reader.
struct ParsedPage {
    QString error;
    QStringList outside_references;  // anything the page would fetch from elsewhere
    std::vector<QStringList> group_rows;
    QString text;
};

ParsedPage parse_page(const QByteArray& html) {
    ParsedPage page;
    QXmlStreamReader reader(html);
    bool in_groups = false;
    QStringList row;
    // Elements that fetch, references not within the page, style that imports.
    const QRegularExpression fetching(
        R"(<(script|link|img|iframe|object|embed|image)\b|\b(src|href)\s*=\s*(?!["']?(#|data:))|)"
        R"(url\(|@import)",
        QRegularExpression::CaseInsensitiveOption);
    for (const auto& match : fetching.globalMatch(QString::fromUtf8(html))) {
        page.outside_references.append(match.captured());
    }
    while (!reader.atEnd()) {
        reader.readNext();
        const QString name = reader.name().toString();
        if (reader.isStartElement()) {
            if (name == "table") {
                in_groups = reader.attributes().value("class") == u"groups";
            } else if (in_groups && name == "tr") {
                row.clear();
                if (reader.attributes().value("class") == u"flags") {
                    reader.skipCurrentElement();  // the reasons of the group above
                }
            } else if (in_groups && name == "td") {
                row.append(reader.readElementText(QXmlStreamReader::IncludeChildElements));
            }
        } else if (reader.isEndElement() && in_groups && name == "tr" && !row.isEmpty()) {
            page.group_rows.push_back(row);
        } else if (reader.isCharacters()) {
            page.text += reader.text();
        }
    }
    if (reader.hasError()) {
        page.error = reader.errorString() + " at line " + QString::number(reader.lineNumber());
    }
    return page;
}

class ExampleReport : public ::testing::TestWithParam<ExampleTest> {
  protected:
    // Loads the example data (unless told to use what an earlier run loaded) and runs the test
    // with --details and the options given.
    void run(const std::string& out, std::vector<std::string> options, bool load = true) {
        std::vector<std::string> args = GetParam().args;
        args.insert(args.end(),
                    {"--db", dir.file("example.db"), "--out", dir.file(out), "--details"});
        if (load) {
            args.insert(args.end(), {"--layout", examples + "/layout.csv", "--input",
                                     examples + "/survey.txt"});
        }
        args.insert(args.end(), options.begin(), options.end());
        std::ostringstream output;
        std::ostringstream errors;
        ASSERT_EQ(run_batch(args, output, errors), 0) << errors.str();
    }
    std::string result_file(const std::string& out) { return dir.file(out) + GetParam().suffix; }

    TempDir dir;
};

// The input is named from the database's record of the import, also when an earlier run
// loaded the data; the result files are the same with and without a report.
TEST_P(ExampleReport, HtmlIsWellFormedSelfContainedAndHoldsEveryGroupAndTheInputDigest) {
    run("earlier", {});
    run("example", {"--report", dir.file("report.html")}, false);
    for (const char* file : {".csv", "_stats.csv"}) {
        EXPECT_EQ(TempDir::read(result_file("earlier") + file),
                  TempDir::read(result_file("example") + file))
            << file;
    }
    const QByteArray survey = QByteArray::fromStdString(TempDir::read(examples + "/survey.txt"));
    const QString digest = QCryptographicHash::hash(survey, QCryptographicHash::Sha256).toHex();

    const ParsedPage page =
        parse_page(QByteArray::fromStdString(TempDir::read(dir.file("report.html"))));
    ASSERT_TRUE(page.error.isEmpty()) << page.error.toStdString();
    EXPECT_TRUE(page.outside_references.isEmpty())
        << page.outside_references.join(", ").toStdString();
    EXPECT_TRUE(page.text.contains(digest));
    EXPECT_TRUE(page.text.contains("5277 read, 5277 loaded, 0 rejected"));

    const auto rows = csv_rows(result_file("example") + ".csv");
    ASSERT_EQ(page.group_rows.size(), rows.size() - 1);
    for (std::size_t i = 1; i < rows.size(); ++i) {
        // A blank or a star, the two group values, then the statistics.
        const QStringList& cells = page.group_rows[i - 1];
        const QString line = cells.join("|");
        EXPECT_EQ(cells.mid(1, 2), (QStringList{QString::fromStdString(rows[i][0]),
                                                QString::fromStdString(rows[i][1])}))
            << line.toStdString();
        for (const std::string& column : GetParam().statistic) {
            const auto at = std::find(rows[0].begin(), rows[0].end(), column) - rows[0].begin();
            EXPECT_TRUE(cells.contains(shown(column, rows[i][at])))
                << column << " of row " << i << ": " << line.toStdString();
        }
    }
}

TEST_P(ExampleReport, PdfHoldsTheSummarySentence) {
    run("example", {"--report", dir.file("report.pdf")});
    ASSERT_TRUE(TempDir::read(dir.file("report.pdf")).starts_with("%PDF-"));
    ASSERT_EQ(std::system(("pdftotext -layout " + dir.file("report.pdf")).c_str()), 0);
    const std::string text = TempDir::read(dir.file("report.txt"));
    EXPECT_GE(std::count(text.begin(), text.end(), '\f'), 1) << "no page";

    // The sentence, counted from the statistics file beside the result file.
    const auto stats = csv_rows(result_file("example") + "_stats.csv");
    const auto column = [&](const char* name) {
        return std::find(stats[0].begin(), stats[0].end(), name) - stats[0].begin();
    };
    int differ = 0;
    int flagged = 0;
    for (std::size_t i = 1; i < stats.size(); ++i) {
        const std::string& p_bh = stats[i][column("p_bh")];
        differ += !p_bh.empty() && std::stod(p_bh) < 0.05 ? 1 : 0;
        flagged += stats[i][column("flag")].empty() ? 0 : 1;
    }
    const std::string groups = std::to_string(stats.size() - 1);
    const std::string sentence =
        std::to_string(differ) + " of " + groups + " groups " +
        (differ == 1 ? "differs" : "differ") +
        " at the 5% level after Benjamini\u2013Hochberg adjustment; " +
        (flagged == 0 ? std::string("no group") : std::to_string(flagged) + " group") +
        (flagged > 1 ? "s" : "") + " flagged.";
    EXPECT_NE(std::regex_replace(text, std::regex("\\s+"), " ").find(sentence), std::string::npos)
        << sentence << "\n"
        << text;
}

INSTANTIATE_TEST_SUITE_P(ExampleData, ExampleReport, ::testing::Values(runs_test, chi_test),
                         [](const auto& test) { return test.param.suffix.substr(1); });

TEST(ReportHtml, DataOfAnyBytesKeepThePageWellFormed) {
    ReportData report;
    report.title = "Runs test of <P>";
    report.question.group_variables = {"G"};
    ReportRow row;
    row.groups = {"<b>&\"'\xff\x01"};
    row.point = 1;
    report.rows = {row};
    const ParsedPage page = parse_page(QByteArray::fromStdString(report_html(report)));
    ASSERT_TRUE(page.error.isEmpty()) << page.error.toStdString();
    ASSERT_EQ(page.group_rows.size(), 1u);
    EXPECT_EQ(page.group_rows[0][1], QString::fromUtf8("<b>&\"'\uFFFD\uFFFD"));
}

}  // namespace
}  // namespace vesk
