#include "layout/setup_text.h"

#include <algorithm>
#include <charconv>

#include "core/text.h"

namespace vesk {

namespace {

bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

bool is_quote(char c) {
    return c == '\'' || c == '"';
}

}  // namespace

void blank_out(std::string& text, std::size_t begin, std::size_t end) {
    for (std::size_t i = begin; i < end && i < text.size(); ++i) {
        if (text[i] != '\n' && text[i] != '\r') {
            text[i] = ' ';
        }
    }
}

std::size_t skip_string(std::string_view text, std::size_t begin) {
    const char quote = text[begin];
    std::size_t i = begin + 1;
    while (i < text.size()) {
        if (text[i] == quote) {
            if (i + 1 < text.size() && text[i + 1] == quote) {
                i += 2;
                continue;
            }
            return i + 1;
        }
        if (text[i] == '\n') {
            return i;  // a string never runs past its line
        }
        ++i;
    }
    return i;
}

void blank_block_comments(std::string& text, bool to_line_end) {
    std::size_t i = 0;
    while (i < text.size()) {
        if (is_quote(text[i])) {
            i = skip_string(text, i);
        } else if (text.compare(i, 2, "/*") == 0) {
            std::size_t end = text.find("*/", i + 2);
            const std::size_t line_end = text.find('\n', i);
            if (to_line_end && (end == std::string::npos || end > line_end)) {
                end = line_end == std::string::npos ? text.size() : line_end;
            } else {
                end = end == std::string::npos ? text.size() : end + 2;
            }
            blank_out(text, i, end);
            i = end;
        } else {
            ++i;
        }
    }
}

LineIndex::LineIndex(std::string_view text) {
    starts_.push_back(0);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))) {
            starts_.push_back(i + 1);
        }
    }
}

std::int64_t LineIndex::line_of(std::size_t offset) const {
    return std::upper_bound(starts_.begin(), starts_.end(), offset) - starts_.begin();
}

bool Token::is_word(std::string_view word) const {
    return !quoted && iequals(text, word);
}

bool Token::is_number() const {
    return !quoted && !text.empty() && text.size() <= 15 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::int64_t Token::number() const {
    std::int64_t value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

std::vector<Token> tokenize(std::string_view text, std::size_t begin, std::size_t end,
                            std::string_view punct) {
    std::vector<Token> tokens;
    std::size_t i = begin;
    while (i < end) {
        const char c = text[i];
        if (is_blank(c)) {
            ++i;
        } else if (is_quote(c)) {
            const std::size_t close = std::min(skip_string(text, i), end);
            const std::size_t content_end =
                close > i + 1 && text[close - 1] == c ? close - 1 : close;
            std::string content;
            for (std::size_t j = i + 1; j < content_end; ++j) {
                content += text[j];
                if (text[j] == c) {
                    ++j;  // a doubled quote stands for one
                }
            }
            tokens.push_back({content, i, true});
            i = close;
        } else if (punct.find(c) != std::string_view::npos) {
            tokens.push_back({std::string(1, c), i, false});
            ++i;
        } else {
            const std::size_t start = i;
            while (i < end && !is_blank(text[i]) && !is_quote(text[i]) &&
                   punct.find(text[i]) == std::string_view::npos) {
                ++i;
            }
            tokens.push_back({std::string(text.substr(start, i - start)), start, false});
        }
    }
    return tokens;
}

std::vector<std::pair<std::size_t, std::size_t>> statements(std::string_view text, char separator) {
    std::vector<std::pair<std::size_t, std::size_t>> parts;
    std::size_t begin = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        if (is_quote(text[i])) {
            i = skip_string(text, i);
        } else if (text[i] == separator) {
            parts.emplace_back(begin, i);
            begin = ++i;
        } else {
            ++i;
        }
    }
    parts.emplace_back(begin, text.size());
    return parts;
}

std::vector<std::string> numbered_range(std::string_view first, std::string_view last) {
    const auto stem_length = [](std::string_view name) {
        std::size_t n = name.size();
        while (n > 0 && name[n - 1] >= '0' && name[n - 1] <= '9') {
            --n;
        }
        return n;
    };
    const std::size_t stem = stem_length(first);
    if (stem == first.size() || stem != stem_length(last) ||
        !iequals(first.substr(0, stem), last.substr(0, stem)) || last.size() - stem > 9 ||
        first.size() - stem > 9) {
        return {};
    }
    int from = 0;
    int to = 0;
    std::from_chars(first.data() + stem, first.data() + first.size(), from);
    std::from_chars(last.data() + stem, last.data() + last.size(), to);
    if (to < from || to - from > 10000) {
        return {};
    }
    // V01 TO V10 keeps the width of its numbers.
    const std::size_t width = first.size() - stem;
    std::vector<std::string> names;
    for (int n = from; n <= to; ++n) {
        std::string digits = std::to_string(n);
        if (digits.size() < width) {
            digits.insert(0, width - digits.size(), '0');
        }
        names.push_back(std::string(first.substr(0, stem)) + digits);
    }
    return names;
}

}  // namespace vesk
