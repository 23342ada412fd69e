#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vesk {

// Helpers shared by the readers of setup files (SPSS, SAS, Stata): comments are blanked out in
// place, so every offset still points at the same line, then statements are cut into tokens.

// Replaces text[begin, end) by blanks, keeping its line ends.
void blank_out(std::string& text, std::size_t begin, std::size_t end);

// The offset just past the string that starts with a quote at begin (quotes doubled inside);
// the end of the text when it does not close.
std::size_t skip_string(std::string_view text, std::size_t begin);

// Blanks out every /* ... */ outside strings; with to_line_end, an unclosed one ends at its line.
void blank_block_comments(std::string& text, bool to_line_end);

// Line numbers of offsets, from 1.
class LineIndex {
  public:
    explicit LineIndex(std::string_view text);
    std::int64_t line_of(std::size_t offset) const;

  private:
    std::vector<std::size_t> starts_;
};

struct Token {
    std::string text;  // a string without its quotes
    std::size_t offset = 0;
    bool quoted = false;

    bool is(char c) const { return !quoted && text.size() == 1 && text[0] == c; }
    // The word in any case, not a string.
    bool is_word(std::string_view word) const;
    bool is_number() const;
    std::int64_t number() const;  // for a token that is_number()
};

// The tokens of text[begin, end): strings, each character of punct alone, and runs of other
// characters up to a blank, a quote or one of punct.
std::vector<Token> tokenize(std::string_view text, std::size_t begin, std::size_t end,
                            std::string_view punct);

// The parts of text between separators that stand outside strings, as [begin, end) pairs.
std::vector<std::pair<std::size_t, std::size_t>> statements(std::string_view text, char separator);

// Variables numbered by a range: V1 TO V3 (SPSS) or V1-V3 (SAS) is V1, V2, V3. Empty when the
// two names do not share a stem followed by numbers rising from the first to the last.
std::vector<std::string> numbered_range(std::string_view first, std::string_view last);

}  // namespace vesk
