#include <gtest/gtest.h>

#include "core/error.h"
#include "core/routines.h"
#include "support/temp_dir.h"

namespace vesk {
namespace {

using testing::TempDir;
using testing::TempState;

TEST(ToDouble, BlankTextIsZeroAndNumbersAreRead) {
    EXPECT_EQ(to_double(""), 0);
    EXPECT_EQ(to_double("     "), 0);
    EXPECT_EQ(to_double("          "), 0);
    EXPECT_EQ(to_double(" 12 "), 12);
    EXPECT_EQ(to_double("2.5"), 2.5);
}

TEST(ToDouble, TextThatIsNotANumberIsAnErrorForTheCaller) {
    for (const char* text : {"abc", "1,5", "12x", "nan"}) {
        EXPECT_THROW(to_double(text), Error) << text;
    }
}

TEST(PadField, RightJustifiesWithinTheFillLimit) {
    struct Case {
        std::string value;
        std::int64_t width;
        bool blanks;
        std::string expected;
    };
    const Case cases[] = {
        {"42", 8, true, "      42"},
        {" 7", 3, false, "007"},
        {"", 3, false, "000"},
        {"ABCDEFGHIJ", 4, true, "ABCD"},
        {"ABCD", 4, true, "ABCD"},
        {"ABC ", 4, true, " ABC"},  // the trailing blank is trimmed, the value moves right
        {"  ABCDEF", 4, true, "  AB"},  // the cut is taken from the untrimmed value
        {"12", 70, true, std::string(64, ' ') + "12"},  // at most 64 fill characters
        {"12", 66, false, std::string(64, '0') + "12"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(pad_field(c.value, c.width, c.blanks), c.expected)
            << '"' << c.value << "\" width " << c.width;
    }
}

TEST(ReadReclen, TakesTheWholeFirstLineWithoutItsLineEnd) {
    TempState t;
    const std::string eighty(80, 'x');
    const std::string blank_led = "  " + std::string(76, 'y') + "  ";
    const std::pair<std::string, std::int64_t> files[] = {
        {eighty + "\r\n" + "short\r\n", 80},
        {eighty + "\n" + std::string(100, 'z') + "\n", 80},
        {blank_led + "\r\nnext", 80},
        {"abc", 3},                 // no line end at all
        {"abcd\rnext\r", 4},        // a lone CR ends a line too
        {"\nsecond line\n", 0},
    };
    for (const auto& [content, expected] : files) {
        t.state.inp_file = t.dir.write("input.txt", content);
        read_reclen(t.state);
        EXPECT_EQ(t.state.rec_len, expected) << content;
    }
}

TEST(ReadReclen, EmptyOrMissingFileIsAnErrorAndKeepsTheOldLength) {
    TempState t;
    t.state.rec_len = 42;
    t.state.inp_file = t.dir.write("empty.txt", "");
    EXPECT_THROW(read_reclen(t.state), Error);
    t.state.inp_file = t.dir.file("missing.txt");
    EXPECT_THROW(read_reclen(t.state), Error);
    t.state.inp_file = t.dir.path().string();  // a folder
    EXPECT_THROW(read_reclen(t.state), Error);
    t.state.inp_file = "";
    EXPECT_THROW(read_reclen(t.state), Error);
    EXPECT_EQ(t.state.rec_len, 42);
}

TEST(LineReader, SplitsOnEveryKindOfLineEndAcrossBufferBoundaries) {
    TempDir dir;
    // Lines long enough that CR LF pairs straddle the reader's 1 MiB chunks.
    std::string content;
    std::vector<std::string> expected;
    for (int i = 0; i < 30000; ++i) {
        std::string line(37 + i % 11, static_cast<char>('a' + i % 26));
        content += line;
        content += (i % 3 == 0) ? "\r\n" : (i % 3 == 1) ? "\n" : "\r";
        expected.push_back(line);
    }
    content += "last";
    expected.emplace_back("last");
    LineReader reader(dir.write("lines.txt", content));
    std::vector<std::string> lines;
    std::string_view line;
    while (reader.next(line)) {
        lines.emplace_back(line);
    }
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(reader.bytes_read(), content.size());
    EXPECT_EQ(reader.file_size(), content.size());
}

TEST(OpenOutput, CreatesOrEmptiesAndNamesThePathWhenItCannot) {
    TempDir dir;
    const std::string path = dir.write("out.csv", "old content");
    {
        auto out = open_output(path);
        out << "new";
    }
    EXPECT_EQ(TempDir::read(path), "new");
    try {
        open_output(dir.file("no/such/folder/out.csv"));
        FAIL() << "expected an error";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("no/such/folder/out.csv"), std::string::npos);
    }
}

TEST(ClearVars, DropsDataEmptiesVariableAndIsHarmlessTwice) {
    TempState t;
    t.state.db_conn.execute("insert into variable (ID, VN) values (1, 'A')");
    t.state.db_conn.execute("create table data (A varchar(1))");
    t.state.data_loaded = true;
    clear_vars(t.state);
    EXPECT_FALSE(t.state.data_loaded);
    EXPECT_FALSE(t.state.db_conn.table_exists("data"));
    auto count = t.state.db_conn.prepare("select count(*) from variable");
    ASSERT_TRUE(count.step());
    EXPECT_EQ(count.integer(0), 0);
    EXPECT_NO_THROW(clear_vars(t.state));
    EXPECT_TRUE(t.state.db_conn.table_exists("variable"));
}

}  // namespace
}  // namespace vesk
