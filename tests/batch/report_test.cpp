#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <cstdlib>
#include <regex>
#include <set>
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
    std::vector<QStringList> class_rows;  // of the question's table of classes
    QString text;
};

ParsedPage parse_page(const QByteArray& html) {
    ParsedPage page;
    QXmlStreamReader reader(html);
    std::vector<QStringList>* rows = nullptr;  // of the table read, where it is one of those
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
                const auto kind = reader.attributes().value("class");
                rows = kind == u"groups"    ? &page.group_rows
                       : kind == u"classes" ? &page.class_rows
                                            : nullptr;
            } else if (rows != nullptr && name == "tr") {
                row.clear();
                if (reader.attributes().value("class") == u"flags") {
                    reader.skipCurrentElement();  // the reasons of the group above
                }
            } else if (rows != nullptr && name == "td") {
                row.append(reader.readElementText(QXmlStreamReader::IncludeChildElements));
            }
        } else if (reader.isEndElement() && rows != nullptr && name == "tr" && !row.isEmpty()) {
            rows->push_back(row);
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

// The pages of a PDF as pdftotext reads them, each a list of its lines that hold text, without
// the footer.
std::vector<std::vector<std::string>> pdf_pages(const std::string& pdf) {
    const std::string txt = pdf + ".txt";
    EXPECT_EQ(std::system(("pdftotext " + pdf + " " + txt).c_str()), 0);
    std::vector<std::vector<std::string>> pages;
    for (const std::string& page : split(TempDir::read(txt), '\f')) {
        std::vector<std::string> lines;
        for (const std::string& line : split(page, '\n')) {
            if (!line.empty() && line.find(" \u2014 page ") == std::string::npos) {
                lines.push_back(line);
            }
        }
        if (!lines.empty()) {
            pages.push_back(lines);
        }
    }
    return pages;
}

TEST_P(ExampleReport, ClassesGiveTheirCentralAndStateRecordsSummedOverTheGroups) {
    run("example", {"--report", dir.file("report.html")});
    const ParsedPage page =
        parse_page(QByteArray::fromStdString(TempDir::read(dir.file("report.html"))));
    EXPECT_TRUE(
        page.text.contains("n counts the records of the central sample, m those of the "
                           "state sample"));
    if (GetParam().suffix != "_chi") {
        EXPECT_TRUE(page.class_rows.empty());
        return;
    }
    // From the result file: cfrq_clK and sfrq_clK of every group.
    const auto rows = csv_rows(result_file("example") + ".csv");
    const auto column = [&](const std::string& name) {
        return std::find(rows[0].begin(), rows[0].end(), name) - rows[0].begin();
    };
    ASSERT_EQ(page.class_rows.size(), 4u);
    for (int k = 1; k <= 4; ++k) {
        long central = 0;
        long state = 0;
        for (std::size_t i = 1; i < rows.size(); ++i) {
            central += std::stol(rows[i][column("cfrq_cl" + std::to_string(k))]);
            state += std::stol(rows[i][column("sfrq_cl" + std::to_string(k))]);
        }
        EXPECT_EQ(page.class_rows[k - 1].mid(2),
                  (QStringList{QString::number(central), QString::number(state),
                               QString::number(central + state)}))
            << "class " << k;
    }
}

TEST_P(ExampleReport, PdfHoldsTheSummarySentence) {
    run("example", {"--report", dir.file("report.pdf")});
    ASSERT_TRUE(TempDir::read(dir.file("report.pdf")).starts_with("%PDF-"));
    ASSERT_EQ(std::system(("pdftotext -layout " + dir.file("report.pdf")).c_str()), 0);
    const std::string text = TempDir::read(dir.file("report.txt"));
    EXPECT_GE(std::count(text.begin(), text.end(), '\f'), 1) << "no page";

    // No heading ends a page; the answer's heading shares its page with the summary and the
    // table of groups.
    const std::set<std::string> headings = {"The data",       "Record layout",
                                            "The question",   "Classes of AGEGRP",
                                            "The answer",     "Where the samples differ",
                                            "How to read it", "Result files"};
    bool answer_seen = false;
    for (const auto& page : pdf_pages(dir.file("report.pdf"))) {
        EXPECT_EQ(headings.count(page.back()), 0u) << page.back() << " ends a page";
        const auto answer = std::find(page.begin(), page.end(), "The answer");
        if (answer != page.end()) {
            answer_seen = true;
            ASSERT_LT(answer + 1, page.end());
            EXPECT_NE(answer[1].find(" of 4 groups"), std::string::npos) << answer[1];
            const auto table = std::find_if(answer, page.end(), [](const std::string& line) {
                return line.starts_with("STATE SECTOR n");
            });
            EXPECT_NE(table, page.end()) << "the table of groups is not on the answer's page";
        }
    }
    EXPECT_TRUE(answer_seen);

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

TEST(ExampleCells, OneGroupByHand) {
    TempDir dir;
    std::vector<std::string> args = chi_test.args;
    args.insert(args.end(),
                {"--db", dir.file("example.db"), "--out", dir.file("example"), "--details",
                 "--layout", examples + "/layout.csv", "--input", examples + "/survey.txt"});
    std::ostringstream output;
    std::ostringstream errors;
    ASSERT_EQ(run_batch(args, output, errors), 0) << errors.str();
    const std::string cells = TempDir::read(dir.file("example") + "_chi_cells.csv");
    EXPECT_EQ(std::count(cells.begin(), cells.end(), '\n'), 17);  // the header, 4 x 4 classes

    // Group 19 / 1 of the result file: 125, 139, 127, 224 central (n = 615) and 182, 175, 140,
    // 210 state records (m = 707) in classes of 307, 314, 267 and 434 of N = 1322. By hand:
    // class 4 expects 615 x 434 / 1322 = 201.898638 central records, and its residual is
    // (224 - 201.898638) / sqrt(201.898638 x (707 / 1322) x (888 / 1322)) = 2.595181.
    struct Class {
        const char* values;
        double central_share, state_share, expected_central, expected_state, residual;
        const char* marked;
    };
    const Class by_hand[] = {
        {"1", 0.2032520, 0.2574257, 142.817700, 164.182300, -2.326748, "yes"},
        {"2", 0.2260163, 0.2475248, 146.074130, 167.925870, -0.916596, "no"},
        {"3", 0.2065041, 0.1980198, 124.209531, 142.790469, 0.383262, "no"},
        {"4,5", 0.3642276, 0.2970297, 201.898638, 232.101362, 2.595181, "yes"},
    };
    std::vector<std::vector<std::string>> group;
    for (const std::string& line : split(cells, '\n')) {
        if (line.starts_with("19,1,")) {
            // The class values "4,5" are quoted: read the fields after them from the end.
            group.push_back(split(line, ','));
        }
    }
    ASSERT_EQ(group.size(), 4u);
    for (std::size_t k = 0; k < 4; ++k) {
        const std::vector<std::string>& f = group[k];
        const std::size_t end = f.size();
        const Class& want = by_hand[k];
        EXPECT_EQ(f[2], std::to_string(k + 1));
        EXPECT_EQ(f[3], k < 3 ? want.values : "\"4");
        EXPECT_NEAR(std::stod(f[end - 8]), want.central_share, 1e-7) << k;
        EXPECT_NEAR(std::stod(f[end - 6]), want.state_share, 1e-7) << k;
        EXPECT_NEAR(std::stod(f[end - 5]), want.expected_central, 1e-6) << k;
        EXPECT_NEAR(std::stod(f[end - 4]), want.expected_state, 1e-6) << k;
        EXPECT_NEAR(std::stod(f[end - 3]), want.residual, 1e-6) << k;
        EXPECT_NEAR(std::stod(f[end - 2]), -want.residual, 1e-6) << k;
        EXPECT_EQ(f[end - 1], want.marked) << k;
    }
    EXPECT_NE(cells.find("19,1,4,\"4,5\",224,"), std::string::npos);
    // V = sqrt(X2 / N) = sqrt(9.438311 / 1322).
    const std::string stats = TempDir::read(dir.file("example") + "_chi_stats.csv");
    const std::vector<std::string> header = split(split(stats, '\n')[0], ',');
    const std::vector<std::string> line = split(split(stats, '\n')[3], ',');
    const auto v = std::find(header.begin(), header.end(), "cramers_v") - header.begin();
    EXPECT_EQ(line[0] + "," + line[1], "19,1");
    EXPECT_NEAR(std::stod(line[v]), 0.0844951, 1e-7);
}

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
