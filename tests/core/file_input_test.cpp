#include <gtest/gtest.h>

#include "core/error.h"
#include "core/file_input.h"
#include "support/temp_dir.h"

namespace vesk {
namespace {

TEST(ReadReclen, TakesTheWholeFirstLineAndAnEmptyOrMissingFileKeepsTheOldLength) {
    testing::TempState t;
    const std::string eighty(80, 'x');
    const std::string blank_led = "  " + std::string(76, 'y') + "  ";
    const std::pair<std::string, std::int64_t> files[] = {
        {eighty + "\r\n" + "short\r\n", 80},
        {eighty + "\n" + std::string(100, 'z') + "\n", 80},
        {blank_led + "\r\nnext", 80},
        {"abc", 3},           // no line end at all
        {"abcd\rnext\r", 4},  // a lone CR ends a line too
        {"\nsecond line\n", 0},
    };
    for (const auto& [content, expected] : files) {
        t.state.inp_file = t.dir.write("input.txt", content);
        read_reclen(t.state);
        EXPECT_EQ(t.state.rec_len, expected) << content;
    }
    t.state.rec_len = 42;
    // Empty, missing, a folder, no name.
    for (const std::string& file : {t.dir.write("empty.txt", ""), t.dir.file("missing.txt"),
                                    t.dir.path().string(), std::string()}) {
        t.state.inp_file = file;
        EXPECT_THROW(read_reclen(t.state), Error) << file;
        EXPECT_EQ(t.state.rec_len, 42);
    }
}

TEST(LineReader, SplitsOnEveryKindOfLineEndAcrossBufferBoundaries) {
    testing::TempDir dir;
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

TEST(LineReader, AByteOrderMarkAtTheStartIsSkippedButCountedAsRead) {
    testing::TempDir dir;
    const std::string mark = "\xEF\xBB\xBF";
    const struct {
        std::string content;
        std::vector<std::string> lines;
        bool skipped;
    } cases[] = {
        {mark + "0010212\r\n" + mark + "002\n", {"0010212", mark + "002"}, true},
        {mark + "\n", {""}, true},
        {mark, {}, true},
        {"\xEF\xBBx\n", {"\xEF\xBBx"}, false},
        {" " + mark + "\n", {" " + mark}, false},
    };
    for (const auto& c : cases) {
        const std::string path = dir.write("input.txt", c.content);
        LineReader looked_at(path);
        const auto first = looked_at.first_line();
        EXPECT_EQ(first ? first->length : 0, c.lines.empty() ? 0 : c.lines[0].size());
        LineReader reader(path);
        std::vector<std::string> lines;
        std::string_view line;
        while (reader.next(line)) {
            lines.emplace_back(line);
        }
        EXPECT_EQ(lines, c.lines) << c.content;
        EXPECT_EQ(reader.byte_order_mark(), c.skipped) << c.content;
        EXPECT_EQ(reader.bytes_read(), c.content.size()) << c.content;
    }
}

}  // namespace
}  // namespace vesk
