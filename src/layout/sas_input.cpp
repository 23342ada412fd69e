#include "layout/sas_input.h"

#include <algorithm>
#include <optional>

#include "core/error.h"
#include "core/text.h"
#include "layout/setup_text.h"

namespace vesk {

namespace {

constexpr std::string_view sas_punct = "/()=-@+#$";

// The program with comments blanked out, and its statements.
struct SasProgram {
    std::string text;
    std::vector<std::pair<std::size_t, std::size_t>> statements;
};

SasProgram sas_program(std::string_view original) {
    SasProgram program{std::string(original), {}};
    blank_block_comments(program.text, false);
    for (const auto& [begin, end] : statements(program.text, ';')) {
        std::size_t first = begin;
        while (first < end && std::isspace(static_cast<unsigned char>(program.text[first]))) {
            ++first;
        }
        if (first < end &&
            (program.text[first] == '*' || program.text.compare(first, 2, "%*") == 0)) {
            blank_out(program.text, begin, end + 1);
        } else {
            program.statements.emplace_back(begin, end);
        }
    }
    return program;
}

struct Informat {
    std::string type;  // C or N
    std::int64_t width = 0;
    std::string decimals;
    std::string reason;  // why such a field cannot be read; empty when it can
};

bool is_informat(const Token& token) {
    return !token.quoted && token.text.find('.') != std::string::npos &&
           (std::isalpha(static_cast<unsigned char>(token.text[0])) ||
            std::isdigit(static_cast<unsigned char>(token.text[0])) || token.text[0] == '_');
}

// "6.", "8.2", "CHAR6.", "F8.2", "COMMA10.2"; character when a $ came before it.
Informat informat(const std::string& text, bool character) {
    std::size_t i = 0;
    while (i < text.size() &&
           (std::isalpha(static_cast<unsigned char>(text[i])) || text[i] == '_')) {
        ++i;
    }
    const std::string name = to_upper(text.substr(0, i));
    const std::size_t point = text.find('.');
    const std::string width = text.substr(i, point - i);
    Informat result;
    result.decimals = text.substr(point + 1);
    if (width.empty() || width.size() > 9 ||
        width.find_first_not_of("0123456789") != std::string::npos) {
        result.reason = "its informat " + text + " gives no width";
        return result;
    }
    result.width = std::stoll(width);
    if (character) {
        result.type = "C";
        result.decimals.clear();
        return result;
    }
    for (const char* binary : {"PD", "PIB", "IB", "RB", "ZD", "PK", "HEX", "BITS", "S370FPD",
                               "S370FIB", "S370FRB", "S370FZD", "S370FPIB"}) {
        if (name == binary) {
            result.reason = "its informat " + text + " is binary";
            return result;
        }
    }
    const bool numeric =
        name.empty() || name == "F" || name == "BEST" || name == "E" || name == "Z" || name == "D";
    // Dates, currencies and the like are kept as the text they are.
    result.type = numeric ? "N" : "C";
    if (!numeric) {
        result.decimals.clear();
    }
    return result;
}

bool is_word_token(const Token& token) {
    return !token.quoted && !token.text.empty() &&
           (std::isalpha(static_cast<unsigned char>(token.text[0])) || token.text[0] == '_');
}

class InputReader {
  public:
    InputReader(const LineIndex& lines, LayoutSource& source) : lines_(lines), source_(source) {}

    // Reads the items of one INPUT statement from tokens[at]. A statement under a record type
    // starts on the line the record type's INPUT held.
    void read(const std::vector<Token>& tokens, std::size_t at,
              const std::vector<std::string>& types);

  private:
    static bool number_at(const std::vector<Token>& tokens, std::size_t i);
    // A trailing @ or @@ holds the line for the next INPUT; any other pointer is refused.
    bool read_trailing_pointer(const std::vector<Token>& tokens, std::size_t i);
    // (names) (informats): refused, and stepped over.
    std::size_t skip_grouped_list(const std::vector<Token>& tokens, std::size_t i);
    // One variable from tokens[i], its name; returns where the next item starts.
    std::size_t read_variable(const std::vector<Token>& tokens, std::size_t i,
                              const std::vector<std::string>& types);
    void add(const Token& name, std::int64_t start, std::int64_t length, const std::string& type,
             const std::string& decimals, const std::vector<std::string>& types);
    void refuse(const Token& name, const std::string& reason) {
        source_.refusals.push_back({lines_.line_of(name.offset), name.text, reason});
    }
    // Where the next INPUT starts: on this line after a trailing @, else on the next line.
    // The INPUTs of record types are alternatives, each starting where the held line was.
    void finish(bool held, bool typed) {
        if (typed) {
            return;
        }
        base_line_ = held ? line_ : line_ + 1;
        held_column_ = held ? column_ : 1;
    }

    const LineIndex& lines_;
    LayoutSource& source_;
    std::int64_t base_line_ = 1;  // the line the next INPUT outside record types starts on
    std::int64_t held_column_ = 1;
    std::int64_t line_ = 1;
    std::int64_t column_ = 1;
};

void InputReader::add(const Token& name, std::int64_t start, std::int64_t length,
                      const std::string& type, const std::string& decimals,
                      const std::vector<std::string>& types) {
    if (line_ > 1) {
        refuse(name, "it is on line " + std::to_string(line_) +
                         " of each case: vesk reads every line as one record");
        return;
    }
    source_.variables.push_back({lines_.line_of(name.offset), name.text, std::to_string(start),
                                 std::to_string(length), type, "", decimals, types});
}

bool InputReader::number_at(const std::vector<Token>& tokens, std::size_t i) {
    return i < tokens.size() && tokens[i].is_number();
}

bool InputReader::read_trailing_pointer(const std::vector<Token>& tokens, std::size_t i) {
    const bool held = i + 1 == tokens.size() || (tokens[i + 1].is('@') && i + 2 == tokens.size());
    if (!held) {
        // @(expression), @'text' or @variable: the position is known only while reading.
        for (std::size_t j = i + 1; j < tokens.size(); ++j) {
            if (is_word_token(tokens[j]) && !is_informat(tokens[j])) {
                refuse(tokens[j], "it follows a pointer that is not a column number");
            }
        }
    }
    return held;
}

std::size_t InputReader::skip_grouped_list(const std::vector<Token>& tokens, std::size_t i) {
    for (++i; i < tokens.size() && !tokens[i].is(')'); ++i) {
        refuse(tokens[i],
               "it is read by a grouped list (names)(informats), which vesk "
               "does not read; write @start name informat. instead");
    }
    int depth = 0;
    for (++i; i < tokens.size(); ++i) {
        depth += tokens[i].is('(') ? 1 : tokens[i].is(')') ? -1 : 0;
        if (depth == 0 && tokens[i].is(')')) {
            return i + 1;
        }
    }
    return i;
}

std::size_t InputReader::read_variable(const std::vector<Token>& tokens, std::size_t i,
                                       const std::vector<std::string>& types) {
    const Token& name = tokens[i];
    std::size_t j = i + 1;
    const bool character = j < tokens.size() && tokens[j].is('$');
    j += character ? 1 : 0;
    if (number_at(tokens, j)) {
        // Column input: name [$] start[-end] [.decimals]
        const std::int64_t start = tokens[j].number();
        std::int64_t end = start;
        ++j;
        if (j + 1 < tokens.size() && tokens[j].is('-') && tokens[j + 1].is_number()) {
            end = tokens[j + 1].number();
            j += 2;
        }
        std::string decimals;
        if (j < tokens.size() && !tokens[j].quoted && tokens[j].text.size() > 1 &&
            tokens[j].text[0] == '.') {
            decimals = tokens[j].text.substr(1);
            ++j;
        }
        add(name, start, end - start + 1, character ? "C" : "N", character ? "" : decimals, types);
        column_ = end + 1;
    } else if (j < tokens.size() && is_informat(tokens[j])) {
        // Formatted input: name informat. at the current column.
        const Informat format = informat(tokens[j].text, character);
        if (format.reason.empty()) {
            add(name, column_, format.width, format.type, format.decimals, types);
        } else {
            refuse(name, format.reason);
        }
        column_ += format.width;
        ++j;
    } else {
        refuse(name, "it is read by list input, which gives no column");
    }
    return j;
}

void InputReader::read(const std::vector<Token>& tokens, std::size_t at,
                       const std::vector<std::string>& types) {
    line_ = base_line_;
    column_ = held_column_;
    bool held = false;
    std::size_t i = at;
    while (i < tokens.size()) {
        const Token& token = tokens[i];
        if (token.is('@') && number_at(tokens, i + 1)) {
            column_ = tokens[i + 1].number();
            i += 2;
        } else if (token.is('@')) {
            held = read_trailing_pointer(tokens, i);
            break;
        } else if (token.is('+') && number_at(tokens, i + 1)) {
            column_ += tokens[i + 1].number();
            i += 2;
        } else if (token.is('#') && number_at(tokens, i + 1)) {
            line_ = base_line_ + tokens[i + 1].number() - 1;
            i += 2;
        } else if (token.is('/')) {
            ++line_;
            column_ = 1;
            ++i;
        } else if (token.is('(')) {
            i = skip_grouped_list(tokens, i);
        } else if (is_word_token(token) && !is_informat(token)) {
            i = read_variable(tokens, i, types);
        } else {
            ++i;
        }
    }
    finish(held, !types.empty());
}

// "IF RECTYPE = 'H' THEN" or "ELSE IF (RECTYPE EQ 1) THEN": the variable and the value, and
// where the statement goes on after THEN.
struct TypeCondition {
    std::string variable;
    std::string value;
    std::size_t next = 0;
};

std::optional<TypeCondition> type_condition(const std::vector<Token>& tokens) {
    std::size_t i = 0;
    if (i < tokens.size() && tokens[i].is_word("ELSE")) {
        ++i;
    }
    if (i >= tokens.size() || !tokens[i].is_word("IF")) {
        return std::nullopt;
    }
    ++i;
    const bool parenthesised = i < tokens.size() && tokens[i].is('(');
    i += parenthesised ? 1 : 0;
    if (i + 2 >= tokens.size() || !is_word_token(tokens[i]) ||
        !(tokens[i + 1].is('=') || tokens[i + 1].is_word("EQ"))) {
        return std::nullopt;
    }
    TypeCondition condition{tokens[i].text, tokens[i + 2].text, 0};
    i += 3;
    if (parenthesised) {
        if (i >= tokens.size() || !tokens[i].is(')')) {
            return std::nullopt;
        }
        ++i;
    }
    if (i >= tokens.size() || !tokens[i].is_word("THEN")) {
        return std::nullopt;
    }
    condition.next = i + 1;
    return condition;
}

bool has_input(const SasProgram& program) {
    bool in_data_step = false;
    for (const auto& [begin, end] : program.statements) {
        const std::vector<Token> tokens = tokenize(program.text, begin, end, sas_punct);
        if (tokens.empty()) {
            continue;
        }
        if (tokens[0].is_word("DATA")) {
            in_data_step = true;
        }
        const auto condition = type_condition(tokens);
        const std::size_t at = condition ? condition->next : 0;
        if (in_data_step && at < tokens.size() && tokens[at].is_word("INPUT")) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool is_sas_input(std::string_view text) {
    return has_input(sas_program(text));
}

LayoutSource read_sas_input(std::string_view original, const std::string& path) {
    const SasProgram program = sas_program(original);
    const LineIndex lines(program.text);
    LayoutSource source{"SAS INPUT", false, {}, {}, {}};
    InputReader input(lines, source);
    // The record type of each DO block open, empty for a block that is not a record type's.
    std::vector<std::string> blocks;
    const auto add_type = [&source](const std::string& variable, const std::string& value) {
        if (!source.record_type) {
            source.record_type = RecordTypeField{variable, {}};
        }
        auto& values = source.record_type->values;
        if (std::find(values.begin(), values.end(), value) == values.end()) {
            values.push_back(value);
        }
    };
    for (const auto& [begin, end] : program.statements) {
        const std::vector<Token> tokens = tokenize(program.text, begin, end, sas_punct);
        if (tokens.empty()) {
            continue;
        }
        std::vector<std::string> types;
        for (const std::string& block : blocks) {
            if (!block.empty()) {
                types = {block};
            }
        }
        std::size_t at = 0;
        if (const auto condition = type_condition(tokens)) {
            add_type(condition->variable, condition->value);
            types = {condition->value};
            at = condition->next;
            if (at < tokens.size() && tokens[at].is_word("DO")) {
                blocks.push_back(condition->value);
                continue;
            }
        } else if (tokens[0].is_word("DO") || tokens[0].is_word("SELECT") ||
                   (tokens[0].is_word("ELSE") && tokens.size() > 1 && tokens[1].is_word("DO"))) {
            blocks.emplace_back();
            continue;
        } else if (tokens[0].is_word("END")) {
            if (!blocks.empty()) {
                blocks.pop_back();
            }
            continue;
        }
        if (at < tokens.size() && tokens[at].is_word("INPUT")) {
            input.read(tokens, at + 1, types);
        }
    }
    if (source.variables.empty() && source.refusals.empty()) {
        throw Error(path + " holds no INPUT statement that reads a variable");
    }
    return source;
}

}  // namespace vesk
