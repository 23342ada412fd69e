#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/error.h"
#include "layout/layout_file.h"
#include "layout/layout_import.h"
#include "support/error_text.h"

namespace vesk {
namespace {

using testing::error_text;

// Person records of 32 characters in a file whose household records (RECTYPE H) share it.
constexpr std::int64_t record_length = 32;

// The person layout every file below describes, as a CSV layout.
constexpr const char* person_csv =
    "name,start,length,type,key,decimals\n"
    "RECTYPE,1,1,C,N,\n"
    "SERIALNO,2,6,C,N,\n"
    "PERNUM,8,2,N,N,\n"
    "AGE,10,3,N,N,\n"
    "ORDER,13,2,N,N,\n"
    "INCOME_TOTAL_YEAR,15,8,N,N,2\n"
    "SEX,23,1,C,N,\n";

// The same as a spreadsheet saves it: a byte-order mark, every field quoted, CR LF.
constexpr const char* spreadsheet_csv =
    "\xEF\xBB\xBF\"name\",\"start\",\"length\",\"type\",\"key\",\"decimals\"\r\n"
    "\"RECTYPE\",\"1\",\"1\",\"C\",\"N\",\"\"\r\n"
    "\"SERIALNO\",\"2\",\"6\",\"C\",\"N\",\"\"\r\n"
    "\"PERNUM\",\"8\",\"2\",\"N\",\"N\",\"\"\r\n"
    "\"AGE\",\"10\",\"3\",\"N\",\"N\",\"\"\r\n"
    "\"ORDER\",\"13\",\"2\",\"N\",\"N\",\"\"\r\n"
    "\"INCOME_TOTAL_YEAR\",\"15\",\"8\",\"N\",\"N\",\"2\"\r\n"
    "\"SEX\",\"23\",\"1\",\"C\",\"N\",\"\"\r\n";

// Variables listed by subject, not by position; household variables overlap the person ones.
constexpr const char* ddi =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<codeBook xmlns=\"ddi:codebook:2_5\" version=\"2.5\">\n"
    "  <!-- <var name=\"COMMENTED\"><location StartPos=\"1\" width=\"1\"/></var> -->\n"
    "  <fileDscr ID=\"F1\"><fileTxt><fileStrc type=\"hierarchical\">\n"
    "    <recGrp ID=\"RG_H\" rectype=\"H\" recidvar=\"V1\"><labl>Household</labl></recGrp>\n"
    "    <recGrp ID=\"RG_P\" rectype=\"P\" recidvar=\"V1\"><labl>Person</labl></recGrp>\n"
    "  </fileStrc></fileTxt></fileDscr>\n"
    "  <dataDscr>\n"
    "    <var ID=\"V1\" name=\"RECTYPE\" rectype=\"RG_H RG_P\">\n"
    "      <location StartPos=\"1\" EndPos=\"1\" width=\"1\"/>\n"
    "      <varFormat type=\"character\" schema=\"other\"/></var>\n"
    "    <var ID=\"V2\" name=\"SERIALNO\" rectype=\"RG_H RG_P\">\n"
    "      <location StartPos=\"2\" width=\"6\"/><varFormat type=\"character\"/></var>\n"
    "    <var ID=\"V3\" name=\"HHWEIGHT\" rectype=\"RG_H\" dcml=\"2\">\n"
    "      <location StartPos=\"8\" EndPos=\"15\"/><varFormat type=\"numeric\"/></var>\n"
    "    <var ID=\"V9\" name=\"SEX\" rectype=\"RG_P\">\n"
    "      <location StartPos=\"23\" EndPos=\"23\"/><varFormat type=\"character\"/></var>\n"
    "    <var ID=\"V4\" name=\"PERNUM\" rectype=\"RG_P\" dcml=\"0\">\n"
    "      <location StartPos=\"8\" EndPos=\"9\" width=\"2\"/></var>\n"
    "    <var ID=\"V5\" name=\"AGE\" rectype=\"RG_P\">\n"
    "      <location StartPos=\"10\" EndPos=\"12\"/><labl>Age in years</labl></var>\n"
    "    <var ID=\"V7\" name=\"INCOME_TOTAL_YEAR\" rectype=\"RG_P\" dcml=\"2\">\n"
    "      <location StartPos=\"15\" EndPos=\"22\"/><varFormat type=\"numeric\"/></var>\n"
    "    <var ID=\"V6\" name=\"ORDER\" rectype=\"RG_P\">\n"
    "      <location StartPos=\"13\" width=\"2\"/></var>\n"
    "  </dataDscr>\n"
    "</codeBook>\n";

constexpr const char* spss =
    "* Person and household records of the test round.\n"
    "* A comment that names DATA LIST / X 1-2 is no command.\n"
    "FILE TYPE NESTED FILE='round.dat' RECORD=RECTYPE 1 (A).\n"
    "RECORD TYPE 'H'.\n"
    "DATA LIST /SERIALNO 2-7 (A) HHWEIGHT 8-15 (2).\n"
    "RECORD TYPE 'P'.\n"
    "DATA LIST FIXED RECORDS=1\n"
    "  /1 SERIALNO 2-7 (A) /* the household's number */\n"
    "     PERNUM 8-9 AGE 10-12\n"
    "     ORDER 13-14 INCOME_TOTAL_YEAR 15-22 (2)\n"
    "     SEX 23 (A)\n"
    ".\n"
    "END FILE TYPE.\n"
    "VARIABLE LABELS AGE 'Age in years'.\n";

constexpr const char* sas =
    "/* Reads the test round. The input statement below reads:\n"
    "   input X 1-2; */\n"
    "* A statement comment: input Y 3-4;\n"
    "DATA person;\n"
    "  INFILE 'round.dat' LRECL=32;\n"
    "  INPUT @1 RECTYPE $1. @;\n"
    "  IF RECTYPE = 'H' THEN INPUT SERIALNO $ 2-7 HHWEIGHT 8-15 .2;\n"
    "  ELSE IF RECTYPE = 'P' THEN DO;\n"
    "    INPUT @2 SERIALNO $CHAR6. PERNUM 2. AGE 10-12\n"
    "          ORDER 13-14 @15 INCOME_TOTAL_YEAR 8.2\n"
    "          SEX $ 23;\n"
    "    OUTPUT;\n"
    "  END;\n"
    "RUN;\n";

constexpr const char* stata_dictionary =
    "* The person records of the test round\n"
    "infile dictionary using round.dat {\n"
    "  _lrecl(32)\n"
    "  _column(1)  str1  RECTYPE  %1s  \"Record type\"\n"
    "  _column(2)  str6  SERIALNO %6s  // the household's number\n"
    "              byte  PERNUM   %2f\n"
    "  _column(10) int   AGE      %3f  \"Age in years\"\n"
    "  * ORDER is the person's place in the household\n"
    "              byte  ORDER    %2f\n"
    "  _column(15) double INCOME_TOTAL_YEAR %8.2f\n"
    "  _column(23) str1  SEX      %1s\n"
    "}\n";

constexpr const char* stata_infix =
    "// The person records of the test round\n"
    "clear\n"
    "infix str RECTYPE 1 str SERIALNO 2-7 byte PERNUM 8-9 /// continued\n"
    "      int AGE 10-12 ORDER 13-14 /* two lines */ ///\n"
    "      double INCOME_TOTAL_YEAR 15-22 str SEX 23 using round.dat\n"
    "replace INCOME_TOTAL_YEAR = INCOME_TOTAL_YEAR / 100\n";

// The variables as the grid would hold them, with the implied decimals, one line each.
std::vector<std::string> taken(const ImportedLayout& layout) {
    std::vector<std::string> lines;
    for (const ImportedVariable& v : layout.variables) {
        lines.push_back(*v.row.name + " " + std::to_string(*v.row.start) + " " +
                        std::to_string(*v.row.length) + " " + *v.row.type + " " + *v.row.key + " " +
                        (v.row.decimals ? std::to_string(*v.row.decimals) : "-"));
    }
    return lines;
}

ImportedLayout imported(const std::string& text, LayoutChoice choice = {}) {
    return import_layout(read_layout_text(text, "layout"), choice, record_length);
}

TEST(LayoutFiles, EverySyntaxGivesTheLayoutOfItsCsvTwin) {
    const std::vector<std::string> twin = taken(imported(person_csv));
    ASSERT_EQ(twin.size(), 7u);
    EXPECT_EQ(twin[4], "ORDER_ 13 2 N N -");
    EXPECT_EQ(twin[5], "INCOME_TOTAL_YEAR 15 8 N N 2");
    // The Stata infix command has no implied decimals: the do-file divides afterwards.
    std::vector<std::string> twin_without_decimals = twin;
    twin_without_decimals[5] = "INCOME_TOTAL_YEAR 15 8 N N -";
    const struct {
        const char* what;
        const char* text;
        std::string format;
        std::vector<std::string> expected;
    } cases[] = {
        {"CSV as a spreadsheet writes it", spreadsheet_csv, "CSV layout", twin},
        {"DDI codebook", ddi, "DDI codebook", twin},
        {"SPSS syntax", spss, "SPSS syntax", twin},
        {"SAS INPUT", sas, "SAS INPUT", twin},
        {"Stata dictionary", stata_dictionary, "Stata dictionary", twin},
        {"Stata infix", stata_infix, "Stata infix", twin_without_decimals},
    };
    for (const auto& c : cases) {
        try {
            const ImportedLayout layout = imported(c.text, {{}, {}, "P"});
            EXPECT_EQ(layout.format, c.format) << c.what;
            EXPECT_EQ(taken(layout), c.expected) << c.what;
            EXPECT_TRUE(layout.refused.empty()) << c.what << "\n" << import_report(layout, "x");
            EXPECT_EQ(layout.renamed, std::vector<std::string>{"ORDER is taken as ORDER_: "
                                                               "\"ORDER\" is a word the database "
                                                               "reserves"})
                << c.what;
        } catch (const Error& e) {
            ADD_FAILURE() << c.what << ": " << e.what();
        }
    }
}

TEST(LayoutFiles, RecordTypesOfACodebookChooseTheirVariables) {
    const struct {
        const char* what;
        const char* text;
    } cases[] = {{"DDI", ddi}, {"SPSS", spss}, {"SAS", sas}};
    for (const auto& [what, text] : cases) {
        const ImportedLayout household = imported(text, {{}, {}, "H"});
        ASSERT_TRUE(household.record_type) << what;
        EXPECT_EQ(household.record_type->variable, "RECTYPE") << what;
        EXPECT_EQ(household.record_type->values, (std::vector<std::string>{"H", "P"})) << what;
        EXPECT_EQ(taken(household),
                  (std::vector<std::string>{"RECTYPE 1 1 C N -", "SERIALNO 2 6 C N -",
                                            "HHWEIGHT 8 8 N N 2"}))
            << what;
        // Without a record type every variable is taken, and PERNUM overlaps HHWEIGHT.
        EXPECT_EQ(imported(text).variables.size(), 8u) << what;
        EXPECT_NE(error_text([&] {
                      imported(text, {{}, {}, "Q"});
                  }).find("no record type Q; its record types are H, P"),
                  std::string::npos)
            << what;
    }
}

// The ways each syntax places a field: ranges shared among names, numbered ranges, FORTRAN-like
// lists with tabs and skips, pointers that move from the last field, informats, #delimit.
TEST(LayoutFiles, PositionsFollowEachSyntaxsPointersAndFormats) {
    const struct {
        const char* what;
        const char* text;
        std::vector<std::string> expected;
    } cases[] = {
        {"SPSS ranges and formats",
         "DATA LIST / V1 TO V3 1-6 A B C (T10, 2F4.1, 2X, A3) D 30-31 (COMMA,1).\n",
         {"V1 1 2 N N -", "V2 3 2 N N -", "V3 5 2 N N -", "A 10 4 N N 1", "B 14 4 N N 1",
          "C 20 3 C N -", "D 30 2 C N -"}},
        {"SAS pointers and informats",
         "DATA x;\n INPUT A 1-2 +2 B 3. @10 C $CHAR4. D COMMA6.2\n E 20-21 .1 F $ 22 G F3.1;\n",
         {"A 1 2 N N -", "B 5 3 N N -", "C 10 4 C N -", "D 14 6 C N -", "E 20 2 N N 1",
          "F 22 1 C N -", "G 23 3 N N 1"}},
        {"Stata after #delimit",
         "#delimit ;\n* a comment;\ninfix str A 1-2\n B 3-5 using x.dat;\n",
         {"A 1 2 C N -", "B 3 3 N N -"}},
        {"Stata skips",
         "dictionary {\n byte A %2f\n _skip(3) str4 B %4s\n C %5.0f\n}\n",
         {"A 1 2 N N -", "B 6 4 C N -", "C 10 5 N N -"}},
    };
    for (const auto& c : cases) {
        try {
            const ImportedLayout layout = imported(c.text);
            EXPECT_EQ(taken(layout), c.expected) << c.what << "\n" << import_report(layout, "x");
            EXPECT_TRUE(layout.refused.empty()) << c.what << "\n" << import_report(layout, "x");
        } catch (const Error& e) {
            ADD_FAILURE() << c.what << ": " << e.what();
        }
    }
}

// What the file describes but a record of 32 characters, read one line a record, cannot take:
// refused with the reason, the rest taken.
TEST(LayoutFiles, AVariableThatCannotBeReadIsRefusedWithTheReason) {
    const struct {
        const char* what;
        std::string text;
        std::string refused;  // "NAME: reason"
    } cases[] = {
        {"SPSS, a second line per case", "DATA LIST RECORDS=2 /1 A 1-2 /2 B 1-2.\n",
         "B: it is on line 2 of each case (RECORDS=2)"},
        {"SPSS, columns beyond the record", "DATA LIST / A 1-2 B 30-40.\n",
         "B: End 40 is beyond the record length 32"},
        {"SPSS, columns that do not divide", "DATA LIST / A 1-2 B C 3-5.\n",
         "B: the columns 3-5 do not divide among 2 variables"},
        {"SAS, list input", "DATA x; INPUT A 1-2 B $;\n", "B: it is read by list input"},
        {"SAS, a binary informat", "DATA x; INPUT A 1-2 @3 B PD4.;\n",
         "B: its informat PD4. is binary"},
        {"SAS, a line pointer", "DATA x; INPUT A 1-2 #2 B 1-2;\n",
         "B: it is on line 2 of each case"},
        {"Stata, a second line", "dictionary {\n A %2f\n _line(2)\n B %2f\n}\n",
         "B: it is on line 2 of each case"},
        {"Stata, no format", "dictionary {\n A %2f\n int B\n}\n", "B: it has no %w format"},
        {"Stata, a name of 33 characters",
         "infix A 1-2 ABCDEFGHIJABCDEFGHIJABCDEFGHIJABC 3-4 using x\n",
         "ABCDEFGHIJABCDEFGHIJABCDEFGHIJABC: Min 1 Max 32 Character Name please: "
         "\"ABCDEFGHIJABCDEFGHIJABCDEFGHIJABC\" has 33 characters"},
        {"DDI, a second segment",
         "<codeBook><var name=\"A\"><location StartPos=\"1\" width=\"2\"/></var>"
         "<var name=\"B\"><location StartPos=\"1\" width=\"2\" RecSegNo=\"2\"/></var></codeBook>",
         "B: it is on line 2 of each case (RecSegNo)"},
        {"DDI, a location at odds with itself",
         "<codeBook><var name=\"A\"><location StartPos=\"1\" width=\"2\"/></var>"
         "<var name=\"B\"><location StartPos=\"3\" EndPos=\"5\" width=\"2\"/></var></codeBook>",
         "B: its location disagrees with itself: 3 to 5 is not 2 wide"},
        {"DDI, a name with a point",
         "<codeBook><var name=\"A\"><location StartPos=\"1\" width=\"2\"/></var>"
         "<var name=\"B.1\"><location StartPos=\"3\" width=\"2\"/></var></codeBook>",
         "B.1: Name \"B.1\" holds \".\": a name has letters, digits and _ only"},
        {"CSV, one name at two places",
         "name,start,length,type,key\nA,1,2,N,Y\nB,3,1,C,N\na,4,1,C,N\n",
         "a: the name A is defined twice (also at line 2)"},
    };
    for (const auto& c : cases) {
        try {
            const ImportedLayout layout = imported(c.text);
            ASSERT_FALSE(layout.refused.empty()) << c.what << "\n" << import_report(layout, "x");
            const std::string refused = layout.refused[0].name + ": " + layout.refused[0].reason;
            EXPECT_TRUE(refused.starts_with(c.refused)) << c.what << "\n" << refused;
            ASSERT_FALSE(layout.variables.empty()) << c.what;
            EXPECT_EQ(*layout.variables[0].row.name, "A") << c.what;
        } catch (const Error& e) {
            ADD_FAILURE() << c.what << ": " << e.what();
        }
    }
}

TEST(LayoutFiles, AFileNoSyntaxDescribesIsRefusedNamingWhy) {
    const std::pair<const char*, const char*> cases[] = {
        {"just some notes\nabout the data\n", "layout is not a layout vesk reads"},
        {"<codeBook><var name=\"A\"></codeBook>", "layout line 1: not a well-formed codebook"},
        {"<codeBook><stdyDscr/></codeBook>", "describes no variable"},
        {"DATA LIST FREE / A B C.\n", "reads values between separators"},
        {"name,start,length\nA,1,2\n", "is not a layout vesk reads"},
        {"name,start,length,type,key\nA,1,2,N\n", "layout line 2: expected 5 fields"},
        {"name,start,length,type,key\nA,\"1,2,N,N\n",
         "layout line 2: a field's quotes do not pair"},
        {"name,start,length,type,key\nA,1\"2,1,N,N\n",
         "layout line 2: a field's quotes do not pair"},
        {"DATA LIST / A B C (F2, A1).\n", "the format list holds fewer fields than names"},
    };
    for (const auto& [text, message] : cases) {
        const std::string error = error_text([&] { read_layout_text(text, "layout"); });
        EXPECT_NE(error.find(message), std::string::npos) << text << "\n" << error;
    }
}

// A SAS program may name its data set LIST, and its comments may hold anything.
TEST(LayoutFiles, TheSyntaxIsToldFromTheContent) {
    const std::pair<const char*, const char*> cases[] = {
        {"data list; /* DATA LIST / X 1-2. */ input A 1-2 / B 3-4; run;\n", "SAS INPUT"},
        {"* data x; input A 1-2.\nDATA LIST FIXED / A 1-2 (A) B 3-4.\n", "SPSS syntax"},
        {"* input A 1-2;\ninfix A 1-2 using x.dat\n", "Stata infix"},
        {"infix dictionary using x.dat {\n2 lines\n1: A 1-2\n}\n", "Stata infix dictionary"},
    };
    for (const auto& [text, format] : cases) {
        try {
            EXPECT_EQ(read_layout_text(text, "layout").format, format) << text;
        } catch (const Error& e) {
            ADD_FAILURE() << text << ": " << e.what();
        }
    }
}

TEST(LayoutFiles, VarsKeepTheVariablesNamedAndKeysMakeTheKey) {
    const ImportedLayout layout =
        imported(ddi, {{"age", "Order_", "serialno", "PERNUM"}, {"SERIALNO", "pernum"}, "P"});
    EXPECT_EQ(taken(layout), (std::vector<std::string>{"SERIALNO 2 6 C Y -", "PERNUM 8 2 N Y -",
                                                       "AGE 10 3 N N -", "ORDER_ 13 2 N N -"}));
    EXPECT_EQ(error_text([] {
                  imported(ddi, {{"AGE", "WEIGHT"}, {}, "P"});
              }),
              "--vars names WEIGHT, which the layout does not define");
    EXPECT_EQ(error_text([] {
                  imported(ddi, {{"AGE"}, {"SEX"}, "P"});
              }),
              "--keys names SEX, which the layout does not define");
}

}  // namespace
}  // namespace vesk
