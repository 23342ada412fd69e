#include "layout/stata_syntax.h"

#include <optional>

#include "core/error.h"
#include "core/text.h"
#include "layout/setup_text.h"

namespace vesk {

namespace {

constexpr std::string_view stata_punct = "(){}%:-,";

bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

// The file with its comments blanked out, and its commands: lines, joined where /// continues
// one, or the parts between semicolons after #delimit ;.
struct StataFile {
    std::string text;
    std::vector<std::pair<std::size_t, std::size_t>> commands;
};

StataFile stata_file(std::string_view original) {
    StataFile file{std::string(original), {}};
    std::string& text = file.text;
    blank_block_comments(text, false);
    bool semicolons = false;
    bool continued = false;  // the line before ended with ///
    std::size_t command_begin = 0;
    std::size_t line_start = 0;
    while (line_start < text.size()) {
        std::size_t line_end = text.find('\n', line_start);
        if (line_end == std::string::npos) {
            line_end = text.size();
        }
        std::size_t first = line_start;
        while (first < line_end && is_blank(text[first])) {
            ++first;
        }
        if (!continued && first < line_end && text[first] == '*') {
            blank_out(text, first, line_end);
        }
        if (text.compare(first, 8, "#delimit") == 0) {
            semicolons = text.find(';', first) < line_end;
            blank_out(text, first, line_end);
        }
        bool continues = false;
        for (std::size_t i = first; i < line_end; ++i) {
            if (text[i] == '"' || text[i] == '\'') {
                i = skip_string(text, i) - 1;
            } else if (text.compare(i, 2, "//") == 0 && (i == first || is_blank(text[i - 1]))) {
                continues = text.compare(i, 3, "///") == 0;
                blank_out(text, i, line_end);
                break;
            }
        }
        if (!semicolons && !continues) {
            file.commands.emplace_back(command_begin, line_end);
            command_begin = line_end + 1;
        }
        continued = continues;
        line_start = line_end + 1;
    }
    if (semicolons || command_begin < text.size()) {
        // After #delimit ; the whole file is cut at its semicolons instead.
        if (semicolons) {
            file.commands = statements(text, ';');
        } else {
            file.commands.emplace_back(command_begin, text.size());
        }
    }
    return file;
}

class StataReader {
  public:
    StataReader(const LineIndex& lines, const std::string& path, LayoutSource& source)
        : lines_(lines), path_(path), source_(source) {}

    // One line of an infile dictionary.
    void dictionary_entry(const std::vector<Token>& tokens);
    // The items of an infix command or of one line of an infix dictionary, from tokens[at].
    void infix_items(const std::vector<Token>& tokens, std::size_t at);

    void start_over() {
        line_ = 1;
        column_ = 1;
    }

  private:
    void add(const Token& name, std::int64_t start, std::int64_t length, const std::string& type,
             const std::string& decimals) {
        if (line_ > 1) {
            refuse(name, "it is on line " + std::to_string(line_) +
                             " of each case: vesk reads every line as one record");
            return;
        }
        source_.variables.push_back({lines_.line_of(name.offset),
                                     name.text,
                                     std::to_string(start),
                                     std::to_string(length),
                                     type,
                                     "",
                                     decimals,
                                     {}});
    }
    void refuse(const Token& name, const std::string& reason) {
        source_.refusals.push_back({lines_.line_of(name.offset), name.text, reason});
    }
    [[noreturn]] void fail(const Token& at, const std::string& what) const {
        throw Error(path_ + " line " + std::to_string(lines_.line_of(at.offset)) + ": " + what);
    }

    const LineIndex& lines_;
    const std::string& path_;
    LayoutSource& source_;
    std::int64_t line_ = 1;
    std::int64_t column_ = 1;
};

bool is_storage_type(const Token& token) {
    if (token.quoted) {
        return false;
    }
    const std::string word = to_upper(token.text);
    if (word == "BYTE" || word == "INT" || word == "LONG" || word == "FLOAT" || word == "DOUBLE" ||
        word == "STR" || word == "STRL") {
        return true;
    }
    return word.size() > 3 && word.starts_with("STR") &&
           word.find_first_not_of("0123456789", 3) == std::string::npos;
}

bool is_string_type(const Token& token) {
    return to_upper(token.text).starts_with("STR");
}

void StataReader::dictionary_entry(const std::vector<Token>& tokens) {
    std::size_t i = 0;
    while (i < tokens.size() && !tokens[i].quoted && tokens[i].text.starts_with('_')) {
        const std::string directive = to_upper(tokens[i].text);
        std::optional<std::int64_t> argument;
        if (i + 3 < tokens.size() && tokens[i + 1].is('(') && tokens[i + 2].is_number() &&
            tokens[i + 3].is(')')) {
            argument = tokens[i + 2].number();
            i += 4;
        } else {
            ++i;
        }
        if (directive == "_COLUMN" && argument) {
            column_ = *argument;
        } else if (directive == "_SKIP") {
            column_ += argument.value_or(1);
        } else if (directive == "_LINE" && argument) {
            line_ = *argument;
        } else if (directive == "_NEWLINE") {
            line_ += argument.value_or(1);
            column_ = 1;
        } else if (directive != "_LINES" && directive != "_LRECL" && directive != "_FIRST" &&
                   directive != "_FIRSTLINEOFFILE") {
            fail(tokens[i - 1], "the directive " + tokens[i - 1].text + " is not one vesk reads");
        }
    }
    if (i >= tokens.size() || tokens[i].quoted) {
        return;
    }
    const bool typed = is_storage_type(tokens[i]);
    const bool string_type = typed && is_string_type(tokens[i]);
    i += typed ? 1 : 0;
    if (i >= tokens.size()) {
        fail(tokens[i - 1], "a storage type without a variable name");
    }
    const Token& name = tokens[i++];
    if (i + 1 < tokens.size() && tokens[i].is(':')) {
        i += 2;  // the value label's name
    }
    if (i + 1 >= tokens.size() || !tokens[i].is('%')) {
        refuse(name, "it has no %w format, so its width is not given");
        return;
    }
    const std::string format = tokens[i + 1].text;
    const char kind =
        format.empty() ? ' '
                       : static_cast<char>(std::tolower(static_cast<unsigned char>(format.back())));
    const std::string numbers = format.substr(0, format.size() - 1);
    const std::size_t point = numbers.find('.');
    const std::string width = numbers.substr(0, point);
    if (width.empty() || width.size() > 9 ||
        width.find_first_not_of("0123456789") != std::string::npos ||
        (kind != 's' && kind != 'f' && kind != 'g' && kind != 'e')) {
        refuse(name, "its format %" + format + " gives no width vesk reads");
        return;
    }
    const bool character = kind == 's' || string_type;
    // %w.df inserts a decimal point where the field has none: implied decimals.
    const std::string decimals =
        !character && kind == 'f' && point != std::string::npos ? numbers.substr(point + 1) : "";
    add(name, column_, std::stoll(width), character ? "C" : "N", decimals);
    column_ += std::stoll(width);
}

void StataReader::infix_items(const std::vector<Token>& tokens, std::size_t at) {
    std::size_t i = at;
    while (i < tokens.size()) {
        if (tokens[i].is_word("USING") || tokens[i].is(',') || tokens[i].is('{')) {
            return;
        }
        if (tokens[i].is_number() && i + 1 < tokens.size() && tokens[i + 1].is(':')) {
            line_ = tokens[i].number();
            i += 2;
            continue;
        }
        if (tokens[i].is_number() && i + 1 < tokens.size() && tokens[i + 1].is_word("LINES")) {
            i += 2;
            continue;
        }
        const bool typed = is_storage_type(tokens[i]) && i + 1 < tokens.size() &&
                           !tokens[i + 1].is_number() && !tokens[i + 1].is(':');
        const bool character = typed && is_string_type(tokens[i]);
        i += typed ? 1 : 0;
        if (i >= tokens.size()) {
            return;
        }
        const Token& name = tokens[i++];
        if (i + 1 < tokens.size() && tokens[i].is_number() && tokens[i + 1].is(':')) {
            line_ = tokens[i].number();
            i += 2;
        }
        if (i >= tokens.size() || !tokens[i].is_number()) {
            fail(name, "no columns follow " + name.text);
        }
        const std::int64_t start = tokens[i++].number();
        std::int64_t end = start;
        if (i + 1 < tokens.size() && tokens[i].is('-') && tokens[i + 1].is_number()) {
            end = tokens[i + 1].number();
            i += 2;
        }
        add(name, start, end - start + 1, character ? "C" : "N", "");
    }
}

// Where a dictionary's braces open and close in the command's tokens; nothing when the command
// does not open one.
std::optional<std::size_t> dictionary_brace(const std::vector<Token>& tokens) {
    for (std::size_t i = 0; i + 1 < tokens.size(); ++i) {
        if (tokens[i].is_word("DICTIONARY")) {
            for (std::size_t j = i + 1; j < tokens.size(); ++j) {
                if (tokens[j].is('{')) {
                    return j;
                }
            }
        }
    }
    return std::nullopt;
}

}  // namespace

bool is_stata_syntax(std::string_view original) {
    const StataFile file = stata_file(original);
    for (const auto& [begin, end] : file.commands) {
        const std::vector<Token> tokens = tokenize(file.text, begin, end, stata_punct);
        if (dictionary_brace(tokens) || (tokens.size() > 2 && tokens[0].is_word("INFIX"))) {
            return true;
        }
    }
    return false;
}

LayoutSource read_stata_syntax(std::string_view original, const std::string& path) {
    const StataFile file = stata_file(original);
    const std::string& text = file.text;
    const LineIndex lines(text);
    LayoutSource source{"Stata dictionary", false, {}, {}, {}};
    StataReader reader(lines, path, source);
    for (std::size_t c = 0; c < file.commands.size(); ++c) {
        const auto [begin, end] = file.commands[c];
        const std::vector<Token> tokens = tokenize(text, begin, end, stata_punct);
        const auto brace = dictionary_brace(tokens);
        const bool infix = !tokens.empty() && tokens[0].is_word("INFIX");
        if (!brace && !infix) {
            continue;
        }
        reader.start_over();
        if (!brace) {
            source.format = "Stata infix";
            reader.infix_items(tokens, 1);
            continue;
        }
        // The entries of a dictionary are its lines, up to the closing brace.
        source.format = infix ? "Stata infix dictionary" : "Stata dictionary";
        const std::size_t open = tokens[*brace].offset;
        const std::size_t close = text.find('}', open);
        const std::size_t stop = close == std::string::npos ? text.size() : close;
        std::size_t line_begin = open + 1;
        while (line_begin < stop) {
            std::size_t line_end = std::min(text.find('\n', line_begin), stop);
            const std::vector<Token> entry = tokenize(text, line_begin, line_end, stata_punct);
            if (infix) {
                reader.infix_items(entry, 0);
            } else {
                reader.dictionary_entry(entry);
            }
            line_begin = line_end + 1;
        }
        while (c + 1 < file.commands.size() && file.commands[c + 1].first <= stop) {
            ++c;
        }
    }
    if (source.variables.empty() && source.refusals.empty()) {
        throw Error(path + " holds no Stata dictionary or infix command that reads a variable");
    }
    return source;
}

}  // namespace vesk
