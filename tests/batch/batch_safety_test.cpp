#include <gtest/gtest.h>

#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "batch_fixture.h"
#include "core/database.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;

// A layout of 40 variables with long names: its export is longer than a kilobyte.
std::string long_layout() {
    std::string text = "name,start,length,type,key,decimals\n";
    for (int i = 1; i <= 40; ++i) {
        text += "VARIABLE_WITH_A_LONG_NAME_" + std::to_string(100 + i) + "," + std::to_string(i) +
                ",1,N," + (i == 1 ? "Y" : "N") + ",\n";
    }
    return text;
}

// Standard output on a full device, a full device named as the file, and a file over an older
// one on a disk without room (the file size limit stands in for it: `ulimit -f 1` leaves a
// kilobyte, and the ignored SIGXFSZ turns the excess into a failed write). Each is an error with
// status 2 naming what could not be written; the older file keeps its content and no temporary
// file stays.
TEST_F(Batch, WritesThatFailAreErrorsAndKeepTheFileThereBefore) {
    ASSERT_EQ(run(with_data({"values", "--param", "AGEGRP"})).status, 0);
    const std::string wide_db = dir.file("wide.db");
    const std::string wide_input = dir.write("wide.txt", std::string(40, '1') + "\n");
    ASSERT_EQ(run({"values", "--db", wide_db, "--layout", dir.write("wide.csv", long_layout()),
                   "--input", wide_input, "--param", "VARIABLE_WITH_A_LONG_NAME_102"})
                  .status,
              0);
    const std::string batch = VESK_BATCH;
    const std::string full = " > /dev/full";
    const std::string groups = " --db " + db + " --groups STATE --sample SAMPLE --param AGEGRP";
    const std::string no_room = "ulimit -f 1 && trap '' XFSZ && ";
    const struct {
        const char* what;
        std::string line;
        const char* named;
    } cases[] = {
        {"values", batch + " values --db " + db + " --param AGEGRP" + full,
         "to standard output: disk full"},
        {"suggest", batch + " suggest" + groups + full, "to standard output: disk full"},
        {"layout export", batch + " layout export --db " + db + full,
         "to standard output: disk full"},
        {"a test's messages", batch + " runtest" + groups + " --out r" + full,
         "to standard output: disk full"},
        {"layout export to the device", batch + " layout export --db " + db + " /dev/full",
         "the file /dev/full: disk full"},
        {"layout export over a file",
         no_room + batch + " layout export --db " + wide_db + " old.csv", "the file old.csv"},
    };
    for (const auto& [what, line, named] : cases) {
        dir.write("old.csv", "the layout exported before\n");
        const Outcome r = shell(line);
        EXPECT_EQ(r.status, 2) << what << "\n" << r.err;
        EXPECT_NE(r.err.find(std::string("cannot write ") + named), std::string::npos)
            << what << "\n"
            << r.err;
        EXPECT_EQ(TempDir::read(dir.file("old.csv")), "the layout exported before\n") << what;
        for (const auto& entry : fs::directory_iterator(dir.path())) {
            EXPECT_EQ(entry.path().string().find(".tmp"), std::string::npos) << what;
        }
        EXPECT_TRUE(fs::is_character_file("/dev/full"));
    }
}

// Under a locale that writes numbers with a comma (de_DE, built for the test by localedef),
// everything a run writes is what it writes under the C locale: the report's table, its chart.
TEST_F(Batch, NumbersAreWrittenWithAPointWhateverTheLocale) {
    ASSERT_EQ(run(with_data({"values", "--param", "AGEGRP"})).status, 0);
    const Outcome made =
        shell("mkdir -p locales && localedef -i de_DE -f UTF-8 locales/de_DE.utf8");
    ASSERT_EQ(made.status, 0) << made.err;
    const std::string comma = "LOCPATH=" + dir.file("locales") + " LC_ALL=de_DE.UTF-8";
    ASSERT_EQ(shell("env " + comma + " printf %.1f 1").out, "1,0");
    // What a run writes, read back: the result file, the report's text without
    // its date line, and its pages as images below the date (rows from 40 at 30 dots an inch).
    const auto written_under = [&](const std::string& environment) {
        const Outcome r =
            shell("rm -f page-* && env " + environment + " " + VESK_BATCH + " runtest --db " + db +
                  " --groups STATE,SECTOR --sample SAMPLE --param AMOUNT --out r --report " +
                  "r.pdf && pdftotext r.pdf r.txt && grep -v '^Created ' r.txt > text.txt && " +
                  "pdftoppm -r 30 -gray -y 40 -W 300 -H 400 r.pdf page");
        EXPECT_EQ(r.status, 0) << environment << "\n" << r.err;
        std::string files;
        for (const char* name : {"r_run.csv", "text.txt", "page-1.pgm", "page-2.pgm"}) {
            files += std::string(name) + ":\n" + TempDir::read(dir.file(name));
        }
        return files;
    };
    const std::string point = written_under("LC_ALL=C");
    EXPECT_EQ(written_under(comma), point);
    EXPECT_NE(point.find("page-2.pgm:\nP5"), std::string::npos);
}

// Runs `prepare` on every connection the program opens while it lives: how a test sets the
// engine's limits for a whole command.
class EveryConnection {
  public:
    explicit EveryConnection(std::function<void(sqlite3*)> prepare) {
        prepare_ = std::move(prepare);
        sqlite3_auto_extension(reinterpret_cast<void (*)()>(&entry));
    }
    ~EveryConnection() { sqlite3_cancel_auto_extension(reinterpret_cast<void (*)()>(&entry)); }
    EveryConnection(const EveryConnection&) = delete;
    EveryConnection& operator=(const EveryConnection&) = delete;

  private:
    static int entry(sqlite3* db, const char**, const sqlite3_api_routines*) {
        prepare_(db);
        return SQLITE_OK;
    }
    static inline std::function<void(sqlite3*)> prepare_;
};

// A database that may not grow by a page: a disk without room, whatever the test writes.
TEST_F(Batch, AFullDiskIsAnErrorWithStatusTwoForEitherTestAndALoad) {
    ASSERT_EQ(run(with_data({"values", "--param", "AGEGRP"})).status, 0);
    Database::open(db).execute("vacuum");  // no free page left to fill
    const std::string before = run({"values", "--db", db, "--param", "AGEGRP"}).out;
    const EveryConnection full([](sqlite3* connection) {
        sqlite3_exec(connection, "pragma max_page_count = 1", nullptr, nullptr, nullptr);
    });
    const struct {
        const char* what;
        std::vector<std::string> args;
    } cases[] = {
        {"runs test", on_db("runtest", "AMOUNT", {"--out", dir.file("r")})},
        {"chi-square test",
         on_db("chitest", "AGEGRP", {"--out", dir.file("c"), "--class", "1,2", "--class", "3,4"})},
        {"load", with_data({"values", "--param", "AMOUNT"})},
    };
    for (const auto& [what, args] : cases) {
        const Outcome r = run(args);
        EXPECT_EQ(r.status, 2) << what << "\n" << r.err;
        EXPECT_NE(r.err.find("disk full"), std::string::npos) << what << "\n" << r.err;
    }
    EXPECT_EQ(run({"values", "--db", db, "--param", "AGEGRP"}).out, before);
}

// A filter's token can be as long as the filter, and the engine quotes it whole: the message keeps
// the token's start and the reason.
TEST_F(Batch, EngineMessagesAreCutTo200Characters) {
    const std::string token(100000, 'X');
    const std::pair<std::string, const char*> cases[] = {
        {token + " = 1", "no such column"},
        {"SECTOR = 1 " + token, "syntax error"},
        {"STATE = '" + token, "unrecognized token"},
    };
    for (const auto& [filter, reason] : cases) {
        const Outcome r = run(with_data({"values", "--filter", filter, "--param", "AGEGRP"}));
        EXPECT_EQ(r.status, 2) << reason;
        EXPECT_NE(r.err.find(reason), std::string::npos) << r.err.substr(0, 300);
        EXPECT_NE(r.err.find(std::string(100, 'X')), std::string::npos) << reason;
        EXPECT_LT(r.err.size(), 600u) << reason;
    }
}

// With the engine's column limit at 30, the chi-square tables of one group variable hold at most
// (30 - 6) / 3 = 8 classes; more classes of the amount meet the smallest expected count.
TEST_F(Batch, SuggestNeverProposesMoreClassesThanTheTestTakes) {
    ASSERT_EQ(run(with_data({"values", "--param", "AMOUNT"})).status, 0);
    const Outcome unlimited = run(on_db("suggest", "AMOUNT", {"--min-expected", "0.5"}));
    ASSERT_GT(std::count(unlimited.out.begin(), unlimited.out.end(), '\n'), 8) << unlimited.out;

    const EveryConnection narrow(
        [](sqlite3* connection) { sqlite3_limit(connection, SQLITE_LIMIT_COLUMN, 30); });
    const Outcome joined = run(on_db("suggest", "AMOUNT", {"--min-expected", "0.5"}));
    ASSERT_EQ(joined.status, 0) << joined.err;
    EXPECT_EQ(std::count(joined.out.begin(), joined.out.end(), '\n'), 8) << joined.out;
    EXPECT_NE(joined.err.find("but a test takes at most 8"), std::string::npos) << joined.err;
    const Outcome tested =
        run(on_db("chitest", "AMOUNT",
                  {"--out", dir.file("joined"), "--suggest-classes", "--min-expected", "0.5"}));
    EXPECT_EQ(tested.status, 0) << tested.err;
}

}  // namespace
}  // namespace vesk
