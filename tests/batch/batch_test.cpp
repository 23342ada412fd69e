#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QJsonDocument>
#include <QJsonObject>

#include <filesystem>

#include "batch_fixture.h"
#include "core/database.h"
#include "support/data_table.h"

namespace vesk {
namespace {

TEST_F(Batch, ChiSquareTestTakesTheClassesInOrderAndWarnsOfAValueTheDataLack) {
    const Outcome r = run(chi_test({"--class", "1,2", "--class", "3", "--class", "4,5"}));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("warning"), std::string::npos);
    EXPECT_NE(r.err.find("\"5\""), std::string::npos) << r.err;
    EXPECT_TRUE(
        TempDir::read(dir.file("round1_chi.csv"))
            .starts_with("STATE,cfrq_tot,sfrq_tot,pfrq_tot,cfrq_cl1,cfrq_cl2,cfrq_cl3,"
                         "sfrq_cl1,sfrq_cl2,sfrq_cl3,pfrq_cl1,pfrq_cl2,pfrq_cl3,df,chisqval\n"));
}

TEST_F(Batch, SuggestedClassesFedBackThroughClassGiveTheSameResultFile) {
    ASSERT_EQ(run(with_data({"values", "--param", "AMOUNT"})).status, 0);
    const Outcome suggested = run(on_db("suggest", "AMOUNT", {"--min-expected", "2"}));
    ASSERT_EQ(suggested.status, 0) << suggested.err;
    EXPECT_EQ(suggested.err, "");
    std::vector<std::string> by_hand = {"--out", dir.file("by_hand")};
    std::istringstream lines(suggested.out);
    for (std::string line; std::getline(lines, line);) {
        by_hand.insert(by_hand.end(), {"--class", line});
    }
    EXPECT_GT(by_hand.size(), 6u) << suggested.out;  // at least three classes
    const Outcome hand = run(on_db("chitest", "AMOUNT", by_hand));
    ASSERT_EQ(hand.status, 0) << hand.err;
    EXPECT_EQ(hand.err, "");
    const Outcome direct =
        run(on_db("chitest", "AMOUNT",
                  {"--out", dir.file("direct"), "--suggest-classes", "--min-expected", "2"}));
    ASSERT_EQ(direct.status, 0) << direct.err;
    EXPECT_EQ(TempDir::read(dir.file("direct_chi.csv")),
              TempDir::read(dir.file("by_hand_chi.csv")));
}

TEST_F(Batch, LayoutRoundTripsThroughExportAndLayoutAndTestsRunOnTheDataInTheDatabase) {
    ASSERT_EQ(run(with_data({"values", "--param", "AGEGRP"})).status, 0);
    const Outcome exported = run({"layout", "export", "--db", db});
    ASSERT_EQ(exported.status, 0) << exported.err;
    std::string upper = layout_csv;
    upper.replace(upper.find("n,n"), 3, "N,N");
    EXPECT_EQ(exported.out, upper);

    const std::string again = dir.write("again.csv", exported.out);
    const std::string db2 = dir.file("other.db");
    ASSERT_EQ(run({"values", "--db", db2, "--layout", again, "--input", input, "--param", "AGEGRP"})
                  .status,
              0);
    ASSERT_EQ(run({"layout", "export", "--db", db2, dir.file("exported.csv")}).status, 0);
    EXPECT_EQ(TempDir::read(dir.file("exported.csv")), upper);

    const std::string out = dir.file("again");
    const Outcome r = run(on_db("runtest", "AMOUNT", {"--out", out}));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Generated Test result in file: " + out + "_run.csv\n");
}

TEST_F(Batch, AStartOrLengthWithAFractionIsStoredAsTheNearestWholeNumber) {
    // STATE is columns 5-6 of the survey file, SECTOR column 7.
    const std::string fractions =
        dir.write("fractions.csv",
                  "name,start,length,type,key\nHHID,1,4,C,Y\nSTATE,4.7,1.6,C,N\n"
                  "SECTOR,7.4,0.5,N,N\nSAMPLE,8,1,N,N\n");
    const std::string decimals =
        dir.write("decimals.csv",
                  "name,start,length,type,key,decimals\nHHID,1,4,C,Y,\nSTATE,5,2,C,N,\n"
                  "SECTOR,7,1,N,N,0\nSAMPLE,8,1,N,N,1\n");
    const Outcome listed =
        run({"values", "--db", db, "--layout", fractions, "--input", input, "--param", "STATE"});
    ASSERT_EQ(listed.status, 0) << listed.err;
    EXPECT_NE(listed.out.find("\n01 "), std::string::npos) << listed.out;
    EXPECT_NE(listed.out.find("\n02 "), std::string::npos) << listed.out;
    EXPECT_EQ(run({"layout", "export", "--db", db}).out,
              "name,start,length,type,key,decimals\nHHID,1,4,C,Y,\nSTATE,5,2,C,N,\n"
              "SECTOR,7,1,N,N,\nSAMPLE,8,1,N,N,\n");
    // Implied decimals go out as they came in; 0 is none.
    ASSERT_EQ(
        run({"values", "--db", db, "--layout", decimals, "--input", input, "--param", "STATE"})
            .status,
        0);
    EXPECT_EQ(run({"layout", "export", "--db", db}).out,
              "name,start,length,type,key,decimals\nHHID,1,4,C,Y,\nSTATE,5,2,C,N,\n"
              "SECTOR,7,1,N,N,\nSAMPLE,8,1,N,N,1\n");
}

TEST_F(Batch, UserErrorsExitTwoWithTheirMessage) {
    const std::string header = "name,start,length,type,key\nHHID,1,4,C,Y\nSTATE,";
    const std::string bad_start = dir.write("bad.csv", header + "19,2,C,N\n");
    const std::string three = dir.write("three.csv", header + "5,2,C,N\nSECTOR,7,1,N,N\n");
    const std::string no_key = dir.write("nokey.csv",
                                         "name,start,length,type,key\nHHID,1,4,C,N\nSTATE,5,2,C,N\n"
                                         "SECTOR,7,1,N,N\nSAMPLE,8,1,N,N\n");
    const std::string out = dir.file("x");
    const auto loading = [&](const std::string& layout_file, const char* sample) {
        return std::vector<std::string>{"runtest", "--db",    db,         "--layout", layout_file,
                                        "--input", input,     "--groups", "STATE",    "--sample",
                                        sample,    "--param", "HHID",     "--out",    out};
    };
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"runtest", "--groups", "STATE"}, "needs --sample"},
        {{"frobnicate"}, "unknown command frobnicate"},
        {{"values", "--db", "", "--param", "STATE"}, "--db needs a file name"},
        {runs_test({"--groups", "STATE,SECTOR,state", "--out", out}), "--groups names state twice"},
        {{"runtest", "--db", db, "--layout", layout, "--groups", "STATE", "--sample", "SAMPLE",
          "--param", "AMOUNT", "--out", out},
         "--layout needs --input"},
        {loading(bad_start, "SAMPLE"), "STATE (line 3): Start 19 is beyond the record length 18"},
        {{"values", "--db", dir.file("fresh.db"), "--param", "STATE"}, "No data are loaded"},
        {loading(three, "SECTOR"),
         "Minimum of 4 variables should be defined\nGroup var, primary key, sample and parameter"},
        {loading(no_key, "SAMPLE"), "Either Variables or Data Groupining not defined"},
        {runs_test({"--groups", "REGION", "--out", out}), "REGION is not a defined variable"},
        {chi_test({"--class", "1,2", "--class", "3"}), "Some parameter values are not classified"},
        {chi_test({"--class", "1,2", "--class", "2,3,4"}),
         "The value \"2\" is given in class 1 and in class 2"},
        {chi_test({"--class", "1,2,3,4", "--suggest-classes"}), "either --class or"},
        {chi_test({"--suggest-classes", "--min-expected", "0"}), "a number above 0"},
        {chi_test({"--class", "1,2,3,4", "--min-expected", "2"}),
         "--min-expected needs --suggest-classes"},
        {on_db("runtest", "AMOUNT", {"--out", out, "--filter", "SECTOR = 1"}),
         "--filter needs --input"},
        {runs_test({"--filter", "NOSUCH = 1", "--groups", "STATE", "--out", out}), "filter"},
        {with_data({"values", "--filter", "STATE = 1", "--param", "STATE"}),
         "The filter leaves no record: it removes all 60 rows loaded.\nSTATE is a character "
         "variable: compare it with a value in single quotes, as it stands in the file, for "
         "example STATE = '01'.\nNothing was replaced; the data loaded before are kept.\n"},
        {runs_test({"--groups", "STATE", "--out", dir.file("no/such/folder/x")}),
         "no/such/folder/x_run.csv"},
        {runs_test({"--groups", "STATE", "--out", out, "--report", "x.doc"}),
         "A report is written as .html or .pdf, not as x.doc"},
        {{"layout", "export", "--db", db, dir.file("no/such/folder/l.csv")},
         "no/such/folder/l.csv"},
    };
    for (const auto& [args, message] : cases) {
        const Outcome r = run(args);
        EXPECT_EQ(r.status, 2) << args[0] << " " << message << "\n" << r.err;
        EXPECT_NE(r.err.find(message), std::string::npos) << message << "\n" << r.err;
    }
    EXPECT_FALSE(std::filesystem::exists(default_db()));  // an empty --db opened no database
}

// The program itself under bash, which makes the pipes: --input reads its stream in one pass. A
// stream ending before its first line end is empty: refused, and the data loaded before stay.
TEST_F(Batch, InputThatIsAStreamLoadsEveryLineAndAnEmptyOneKeepsTheData) {
    const std::string command = std::string(VESK_BATCH) + " values --db " + db + " --layout " +
                                layout + " --param AGEGRP --input ";
    const struct {
        const char* what;
        std::string line;
        int status;
    } cases[] = {
        {"standard input", command + "- < " + input, 0},
        {"process substitution", command + "<(cat " + input + ")", 0},
        {"a FIFO", "mkfifo fifo && { cat " + input + " > fifo & } && " + command + "fifo", 0},
        {"a stream cut before its line end", "printf 0001 | " + command + "-", 2},
    };
    for (const auto& [what, line, expected] : cases) {
        const Outcome r = shell("rm -f fifo && " + line);
        EXPECT_EQ(r.status, expected) << what << "\n" << r.err;
        EXPECT_EQ(r.err.find("60 lines read: 60 loaded, 0 rejected.") != std::string::npos,
                  expected == 0)
            << what << "\n"
            << r.err;
        EXPECT_EQ(r.out.find("lines read"), std::string::npos) << what;
    }
    const Outcome kept = run({"values", "--db", db, "--param", "AGEGRP"});
    EXPECT_NE(kept.out.find("1           #       15"), std::string::npos) << kept.out;
}

// The layout and the data go together: a load refused for any reason leaves both, and the result
// tables, as they were, and the next run tests them.
TEST_F(Batch, ARefusedLoadKeepsTheLayoutTheDataAndTheResultTablesForTheNextRun) {
    ASSERT_EQ(run(runs_test({"--groups", "STATE", "--out", dir.file("before")})).status, 0);
    const std::string layout_before = run({"layout", "export", "--db", db}).out;
    const auto tables = [&] {
        Database d = Database::open(db);
        return std::pair(testing::rows(d, "select * from data_run"),
                         testing::rows(d, "select * from data"));
    };
    const auto tables_before = tables();

    std::string renamed = layout_csv;
    renamed.replace(renamed.find("AMOUNT"), 6, "EUROS");
    std::string wide = "name,start,length,type,key\n";
    for (int i = 1; i <= 2100; ++i) {
        wide += "V" + std::to_string(i) + ",1,1,C," + (i == 1 ? "Y" : "N") + "\n";
    }
    std::string blank_amounts;
    std::istringstream lines(survey_file());
    for (std::string line; std::getline(lines, line);) {
        blank_amounts += line.replace(8, 8, 8, ' ') + "\n";
    }
    int layouts = 0;
    const auto loading = [&](const std::string& layout_text, const std::string& input_file,
                             std::vector<std::string> filter = {}) {
        const std::string layout_file =
            dir.write("layout" + std::to_string(++layouts) + ".csv", layout_text);
        std::vector<std::string> args = {"values",  "--db",     db,        "--layout", layout_file,
                                         "--input", input_file, "--param", "STATE"};
        args.insert(args.end(), filter.begin(), filter.end());
        return args;
    };
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {loading(renamed, input, {"--filter", "EUROS > 1000"}), "The filter leaves no record"},
        {loading("name,start,length,type,key\n", input), "Minimum of 4 variables"},
        {loading(std::string(layout_csv) + "STATE,9,2,C,N,\n", input), "defined twice"},
        {loading(wide, input), "The table data cannot be created"},
        {loading(layout_csv, dir.write("blank.txt", blank_amounts)),
         "No line was loaded. 60 lines read: 0 loaded, 60 rejected.\nRejected lines:\nline 1: "
         "AMOUNT is blank\n"},
        {loading(layout_csv, dir.write("empty.txt", "")), "empty"},
        {loading(layout_csv, dir.file("missing.txt")), "cannot open input file"},
    };
    for (const auto& [args, message] : cases) {
        const Outcome refused = run(args);
        EXPECT_EQ(refused.status, 2) << message;
        EXPECT_NE(refused.err.find(message), std::string::npos) << refused.err;
        EXPECT_EQ(run({"layout", "export", "--db", db}).out, layout_before) << message;
        EXPECT_EQ(tables(), tables_before) << message;
        const Outcome after = run(on_db("runtest", "AMOUNT", {"--out", dir.file("after")}));
        EXPECT_EQ(after.status, 0) << message << "\n" << after.err;
        EXPECT_EQ(TempDir::read(dir.file("after_run.csv")),
                  TempDir::read(dir.file("before_run.csv")))
            << message;
    }
}

TEST_F(Batch, DetailsOfARunOnDataLoadedBeforeGoBesideItsFileAndNameTheImport) {
    // The input named relative to the working folder; the provenance names it absolute.
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    const Outcome loaded = run({"values", "--db", db, "--layout", layout, "--input", "survey.txt",
                                "--filter", "SECTOR = 1", "--param", "AGEGRP"});
    std::filesystem::current_path(before);
    ASSERT_EQ(loaded.status, 0) << loaded.err;

    // The details go beside the result file, which stays the same.
    ASSERT_EQ(run(on_db("runtest", "AMOUNT", {"--out", dir.file("plain")})).status, 0);
    const std::string out = dir.file("later");
    const Outcome r = run(on_db("runtest", "AMOUNT", {"--out", out, "--details"}));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Statistics per group in file: " + out + "_run_stats.csv"),
              std::string::npos);
    EXPECT_EQ(TempDir::read(out + "_run.csv"), TempDir::read(dir.file("plain") + "_run.csv"));
    const std::string stats = TempDir::read(out + "_run_stats.csv");
    EXPECT_EQ(std::count(stats.begin(), stats.end(), '\n'), 3);  // the header and two states
    const QByteArray json = QByteArray::fromStdString(TempDir::read(out + "_run.provenance.json"));
    const QJsonObject provenance = QJsonDocument::fromJson(json).object();
    EXPECT_EQ(provenance["input"]["path"].toString().toStdString(), input);
    EXPECT_EQ(provenance["input"]["size"].toInt(), static_cast<int>(survey_file().size()));
    EXPECT_EQ(provenance["input"]["sha256"].toString(),
              QCryptographicHash::hash(survey_file().c_str(), QCryptographicHash::Sha256).toHex());
    EXPECT_EQ(provenance["filter"].toString(), "SECTOR = 1");
    EXPECT_EQ(provenance["load"]["lines_loaded"].toInt(), 60);
    EXPECT_EQ(provenance["load"]["rows_removed_by_filter"].toInt(), 30);
    EXPECT_EQ(provenance["layout"][5]["name"].toString(), "AGEGRP");
}

// The survey's layout as a codebook lists it: by subject, keys not named, with a variable the
// test does not need.
constexpr const char* codebook =
    "<?xml version=\"1.0\"?>\n<codeBook xmlns=\"ddi:codebook:2_5\"><dataDscr>\n"
    "<var name=\"AGEGRP\"><location StartPos=\"17\" EndPos=\"18\"/></var>\n"
    "<var name=\"HHID\"><location StartPos=\"1\" width=\"4\"/>"
    "<varFormat type=\"character\"/></var>\n"
    "<var name=\"SAMPLE\"><location StartPos=\"8\" width=\"1\"/></var>\n"
    "<var name=\"STATE\"><location StartPos=\"5\" width=\"2\"/>"
    "<varFormat type=\"character\"/></var>\n"
    "<var name=\"SECTOR\"><location StartPos=\"7\" width=\"1\"/></var>\n"
    "<var name=\"AMOUNT\"><location StartPos=\"9\" width=\"8\"/></var>\n"
    "</dataDscr></codeBook>\n";

TEST_F(Batch, ACodebookAndItsCsvTwinGiveTheSameResultFiles) {
    const std::string ddi = dir.write("survey.xml", codebook);
    const auto runs = [&](const std::string& out, std::vector<std::string> load) {
        std::vector<std::string> args = {"runtest",    "--db",     dir.file(out + ".db"),
                                         "--input",    input,      "--groups",
                                         "STATE",      "--sample", "SAMPLE",
                                         "--param",    "AMOUNT",   "--out",
                                         dir.file(out)};
        args.insert(args.end(), load.begin(), load.end());
        return run(args);
    };
    const Outcome from_csv = runs("csv", {"--layout", layout});
    ASSERT_EQ(from_csv.status, 0) << from_csv.err;
    const Outcome from_ddi =
        runs("ddi", {"--layout", ddi, "--keys", "HHID", "--vars", "HHID,STATE,SAMPLE,AMOUNT"});
    ASSERT_EQ(from_ddi.status, 0) << from_ddi.err;
    EXPECT_EQ(TempDir::read(dir.file("ddi_run.csv")), TempDir::read(dir.file("csv_run.csv")));
    EXPECT_EQ(run({"layout", "export", "--db", dir.file("ddi.db")}).out,
              "name,start,length,type,key,decimals\nHHID,1,4,C,Y,\nSTATE,5,2,C,N,\n"
              "SAMPLE,8,1,N,N,\nAMOUNT,9,8,N,N,\n");

    const std::pair<std::vector<std::string>, std::string> refused[] = {
        {{"--layout", ddi, "--keys", "HHID,"}, "--keys holds an empty name: HHID,"},
        {{"--vars", "HHID"}, "--vars needs --layout"},
        {{"--layout", dir.write("short.csv",
                                "name,start,length,type,key\nHHID,1,4,C,Y\n"
                                "TAIL,17,3,N,N\n")},
         "TAIL (line 3): End 19 is beyond the record length 18"},
    };
    for (const auto& [load, message] : refused) {
        const Outcome r = runs("refused", load);
        EXPECT_EQ(r.status, 2) << message;
        EXPECT_NE(r.err.find(message), std::string::npos) << message << "\n" << r.err;
    }
}

// Household and person lines: the person lines load by their record type, each household line is
// counted apart instead of taking a person's key, and the record type is in the provenance.
TEST_F(Batch, AHierarchicalFileLoadsTheLinesOfOneRecordType) {
    const std::string households = dir.write("households.txt", testing::household_person_file(30));
    const std::string persons = dir.write("persons.csv",
                                          "name,start,length,type,key,decimals\n"
                                          "RECTYPE,1,1,C,N,\nHHID,2,4,C,Y,\nPERSON,6,2,N,Y,\n"
                                          "STATE,8,2,C,N,\nSAMPLE,10,1,N,N,\nAGE,11,3,N,N,\n"
                                          "INCOME,14,8,N,N,2\nWEIGHT,22,11,N,N,4\n");
    std::vector<std::string> load = {"values",  "--db",     db,        "--layout", persons,
                                     "--input", households, "--param", "STATE"};
    const Outcome by_first_line = run(load);
    EXPECT_EQ(by_first_line.status, 2);
    EXPECT_NE(by_first_line.err.find("record length 25"), std::string::npos) << by_first_line.err;

    load.insert(load.end(), {"--record-type", "RECTYPE=P"});
    const Outcome loaded = run(load);
    ASSERT_EQ(loaded.status, 0) << loaded.err;
    // 30 households of 1 + h % 3 persons: 10 of each size.
    EXPECT_EQ(loaded.err,
              "90 lines read: 60 loaded, 0 rejected, 30 of other record types skipped (record "
              "type RECTYPE = P).\n");
    EXPECT_TRUE(loaded.out.starts_with("STATE")) << loaded.out;

    const std::string out = dir.file("persons");
    const Outcome tested = run(on_db("runtest", "INCOME", {"--out", out, "--details"}));
    ASSERT_EQ(tested.status, 0) << tested.err;
    const QJsonObject provenance =
        QJsonDocument::fromJson(
            QByteArray::fromStdString(TempDir::read(out + "_run.provenance.json")))
            .object();
    EXPECT_EQ(provenance["load"]["record_type"].toString(), "RECTYPE = P");
    EXPECT_EQ(provenance["load"]["lines_of_other_record_types"].toInt(), 30);
    EXPECT_FALSE(provenance["load"]["line_number_key"].toBool());
    EXPECT_EQ(provenance["layout"][7]["decimals"].toInt(), 4);
}

TEST_F(Batch, TheLineKeyLoadsRepeatedLinesAndStaysTheKeyForLaterRuns) {
    const std::string twice = dir.write("twice.txt", survey_file() + survey_file());
    std::string no_key = layout_csv;
    no_key.replace(no_key.find("HHID,1,4,C,Y"), 12, "HHID,1,4,C,N");
    const std::vector<std::string> load = {
        "values",  "--db", db,        "--layout", dir.write("nokey.csv", no_key),
        "--input", twice,  "--param", "STATE",    "--line-key"};
    const Outcome loaded = run(load);
    ASSERT_EQ(loaded.status, 0) << loaded.err;
    EXPECT_EQ(loaded.err,
              "120 lines read: 120 loaded, 0 rejected.\nKey: LINE_NO, each line's number in the "
              "file.\n");
    const Outcome tested = run(on_db("runtest", "AMOUNT", {"--out", dir.file("twice")}));
    EXPECT_EQ(tested.status, 0) << tested.err;
    EXPECT_EQ(run({"layout", "export", "--db", db}).out.find("LINE_NO"), std::string::npos);
}

// A sample variable that never reads 1, or always does, leaves every group without one sample:
// one warning names the rule, the result file is written as usual.
TEST_F(Batch, ASampleVariableWithoutOneOfTheSamplesIsToldOnceWithTheRule) {
    const std::string rule =
        " so every group lacks its %s sample and has no p-value. The rule is central = the value "
        "1: a record whose SAMPLE reads exactly 1 is central, any other value is state.";
    const auto with_kind = [&rule](const char* kind) {
        std::string text = rule;
        text.replace(text.find("%s"), 2, kind);
        return text;
    };
    const struct {
        const char* filter;
        std::string warning;  // empty: none
    } cases[] = {
        {"SAMPLE <> 1", "warning: No record of the sample variable SAMPLE reads 1," +
                            with_kind("central") + " Its values here: 2.\n"},
        {"SAMPLE = 1", "warning: Every record of the sample variable SAMPLE reads 1," +
                           with_kind("state") + "\n"},
        {"SAMPLE >= 1", ""},
    };
    for (const auto& c : cases) {
        for (const bool chi : {false, true}) {
            std::vector<std::string> args =
                chi ? chi_test({"--class", "1,2", "--class", "3,4", "--filter", c.filter})
                    : runs_test(
                          {"--groups", "STATE", "--out", dir.file("round1"), "--filter", c.filter});
            const Outcome r = run(args);
            const std::string what = std::string(c.filter) + (chi ? " chi" : " runs");
            ASSERT_EQ(r.status, 0) << what << "\n" << r.err;
            // After the load summary, once.
            EXPECT_TRUE(r.err.ends_with(c.warning)) << what << "\n" << r.err;
            EXPECT_EQ(r.err.find("central = the value 1"), r.err.rfind("central = the value 1"))
                << r.err;
            EXPECT_EQ(r.err.find("warning") != std::string::npos, !c.warning.empty()) << r.err;
            EXPECT_NE(r.out.find("Generated Test result in file: "), std::string::npos) << what;
        }
    }
}

TEST_F(Batch, HelpAndVersion) {
    const std::string help = run({"--help"}).out;
    for (const char* named : {"vesk-batch runtest", "--vars A,B,C", "--keys A,B", "DDI codebook",
                              "--record-type NAME=VALUE", "--line-key"}) {
        EXPECT_NE(help.find(named), std::string::npos) << named;
    }
    EXPECT_EQ(run({"--version"}).out.rfind("vesk-batch ", 0), 0u);
}

}  // namespace
}  // namespace vesk
