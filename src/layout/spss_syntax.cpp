#include "layout/spss_syntax.h"

#include <optional>

#include "core/error.h"
#include "core/text.h"
#include "layout/setup_text.h"

namespace vesk {

namespace {

constexpr std::string_view spss_punct = "/()=-,";

// The commands of the file, comments blanked out: a command ends with a period that ends its
// line, or at a blank line.
std::vector<std::pair<std::size_t, std::size_t>> spss_commands(const std::string& text) {
    std::vector<std::pair<std::size_t, std::size_t>> commands;
    std::size_t begin = 0;
    std::size_t line_start = 0;
    while (line_start <= text.size()) {
        std::size_t line_end = text.find('\n', line_start);
        if (line_end == std::string::npos) {
            line_end = text.size();
        }
        const std::string_view line =
            trim(std::string_view(text).substr(line_start, line_end - line_start));
        const std::string_view content =
            line.empty() || line.back() != '\r' ? line : trim(line.substr(0, line.size() - 1));
        if (content.empty()) {
            if (begin < line_start) {
                commands.emplace_back(begin, line_start);
            }
            begin = line_end + 1;
        } else if (content.back() == '.') {
            const std::size_t period = text.rfind('.', line_end);
            commands.emplace_back(begin, period);
            begin = line_end + 1;
        }
        line_start = line_end + 1;
    }
    if (begin < text.size()) {
        commands.emplace_back(begin, text.size());
    }
    return commands;
}

struct Format {
    std::string type = "N";
    std::string decimals;
    std::string reason;  // why such a field cannot be read; empty when it can
};

bool is_binary_format(const std::string& code) {
    for (const char* binary : {"AHEX", "PIB", "PIBHEX", "IB", "P", "PK", "RB", "RBHEX", "CCA"}) {
        if (code == binary) {
            return true;
        }
    }
    return false;
}

// "(A)", "(2)", "(F,2)", "(N)", "(COMMA,2)" after a column range.
Format column_format(const std::vector<std::string>& parts) {
    Format format;
    if (parts.empty()) {
        return format;
    }
    const std::string code = to_upper(parts[0]);
    if (code.find_first_not_of("0123456789") == std::string::npos) {
        format.decimals = code;
    } else if (code == "A") {
        format.type = "C";
    } else if (is_binary_format(code)) {
        format.reason = "its format " + code + " is binary";
    } else if (code != "F" && code != "N" && code != "E" && code != "Z") {
        format.type = "C";  // dates, currencies and the like: kept as the text they are
    }
    if (parts.size() > 1 && format.type == "N") {
        format.decimals = parts[1];
    }
    return format;
}

// One item of a FORTRAN-like list: "A10", "F8.2", "2F4.0" (repeated), "T10", "3X".
struct FortranItem {
    std::int64_t lead = 0;  // the repeat, or the columns X skips; 0 when not written
    std::string code;
    std::int64_t width = 0;
    std::string decimals;
};

std::optional<FortranItem> fortran_item(const std::string& text) {
    const auto digits = [&text](std::size_t& i) {
        const std::size_t from = i;
        while (i < text.size() && i - from < 9 && text[i] >= '0' && text[i] <= '9') {
            ++i;
        }
        return i > from ? std::stoll(text.substr(from, i - from)) : 0;
    };
    FortranItem item;
    std::size_t i = 0;
    item.lead = digits(i);
    const std::size_t code_start = i;
    while (i < text.size() && std::isalpha(static_cast<unsigned char>(text[i]))) {
        ++i;
    }
    item.code = to_upper(text.substr(code_start, i - code_start));
    item.width = digits(i);
    if (i < text.size() && text[i] == '.') {
        item.decimals = text.substr(i + 1);
        i = text.size();
    }
    if (item.code.empty() || i != text.size()) {
        return std::nullopt;
    }
    return item;
}

class DataListReader {
  public:
    DataListReader(const LineIndex& lines, const std::string& path, LayoutSource& source)
        : lines_(lines), path_(path), source_(source) {}

    void set_record_types(std::vector<std::string> types, bool other) {
        types_ = std::move(types);
        other_ = other;
    }

    // Reads one DATA LIST command from the token after LIST; false when it gives no columns.
    bool read(const std::vector<Token>& tokens, std::size_t at);

  private:
    void add(const Token& name, std::int64_t start, std::int64_t length, const Format& format);
    void refuse(const Token& name, const std::string& reason) {
        source_.refusals.push_back({lines_.line_of(name.offset), name.text, reason});
    }
    [[noreturn]] void fail(const Token& at, const std::string& what) const {
        throw Error(path_ + " line " + std::to_string(lines_.line_of(at.offset)) + ": " + what);
    }
    // The options before the first /: FREE and LIST refused, RECORDS= kept. Returns where the
    // variables start.
    std::size_t read_options(const std::vector<Token>& tokens, std::size_t i);
    // "/" or "/2": the next line of the case, or the one numbered.
    void read_record_mark(const std::vector<Token>& tokens, std::size_t& i);
    // start[-end] [(format)] after one or more names.
    void read_columns(const std::vector<Token>& tokens, std::size_t& i);
    // "V1 TO V9": the names in between.
    void expand_range(const std::vector<Token>& tokens, std::size_t& i);
    void read_fortran(const std::vector<Token>& tokens, std::size_t& i);

    const LineIndex& lines_;
    const std::string& path_;
    LayoutSource& source_;
    std::vector<std::string> types_;
    bool other_ = false;

    std::int64_t records_ = 0;  // RECORDS=, 0 when not given
    std::int64_t record_ = 1;
    std::int64_t column_ = 1;  // where a FORTRAN-like format reads next
    std::vector<Token> pending_;
};

void DataListReader::add(const Token& name, std::int64_t start, std::int64_t length,
                         const Format& format) {
    if (!format.reason.empty()) {
        refuse(name, format.reason);
    } else if (record_ > 1) {
        refuse(name, "it is on line " + std::to_string(record_) + " of each case" +
                         (records_ > 0 ? " (RECORDS=" + std::to_string(records_) + ")" : "") +
                         ": vesk reads every line as one record");
    } else if (other_) {
        refuse(name, "it belongs to RECORD TYPE OTHER, which names no record type");
    } else {
        source_.variables.push_back({lines_.line_of(name.offset), name.text, std::to_string(start),
                                     std::to_string(length), format.type, "", format.decimals,
                                     types_});
    }
}

void DataListReader::read_fortran(const std::vector<Token>& tokens, std::size_t& i) {
    const Token& open = tokens[i++];
    std::vector<FortranItem> items;
    while (i < tokens.size() && !tokens[i].is(')')) {
        if (!tokens[i].is(',')) {
            const auto item = fortran_item(tokens[i].text);
            if (!item) {
                fail(tokens[i], "the format \"" + tokens[i].text + "\" is not one vesk reads");
            }
            items.push_back(*item);
        }
        ++i;
    }
    ++i;  // the closing parenthesis
    std::size_t next_name = 0;
    for (const FortranItem& item : items) {
        if (item.code == "T") {
            column_ = item.width;
            continue;
        }
        if (item.code == "X") {
            column_ += std::max<std::int64_t>(item.lead, 1);
            continue;
        }
        for (std::int64_t n = 0; n < std::max<std::int64_t>(item.lead, 1); ++n) {
            if (next_name >= pending_.size()) {
                fail(open, "the format list holds more fields than names");
            }
            add(pending_[next_name++], column_, item.width,
                column_format({item.code, item.decimals}));
            column_ += item.width;
        }
    }
    if (next_name != pending_.size()) {
        fail(open, "the format list holds fewer fields than names");
    }
    pending_.clear();
}

std::size_t DataListReader::read_options(const std::vector<Token>& tokens, std::size_t i) {
    records_ = 0;
    for (; i < tokens.size() && !tokens[i].is('/'); ++i) {
        if (tokens[i].is_word("FREE") || tokens[i].is_word("LIST")) {
            fail(tokens[i], "DATA LIST " + to_upper(tokens[i].text) +
                                " reads values between separators, not at fixed positions");
        }
        if (tokens[i].is_word("RECORDS") && i + 2 < tokens.size() && tokens[i + 2].is_number()) {
            records_ = tokens[i + 2].number();
        }
    }
    return i;
}

void DataListReader::read_record_mark(const std::vector<Token>& tokens, std::size_t& i) {
    column_ = 1;
    if (i + 1 < tokens.size() && tokens[i + 1].is_number()) {
        record_ = tokens[i + 1].number();
        i += 2;
    } else {
        ++record_;
        ++i;
    }
}

void DataListReader::read_columns(const std::vector<Token>& tokens, std::size_t& i) {
    const Token& token = tokens[i];
    if (pending_.empty()) {
        fail(token, "the columns " + token.text + " follow no variable name");
    }
    const std::int64_t start = token.number();
    std::int64_t end = start;
    ++i;
    if (i + 1 < tokens.size() && tokens[i].is('-') && tokens[i + 1].is_number()) {
        end = tokens[i + 1].number();
        i += 2;
    }
    std::vector<std::string> format;
    if (i < tokens.size() && tokens[i].is('(')) {
        for (++i; i < tokens.size() && !tokens[i].is(')'); ++i) {
            if (!tokens[i].is(',')) {
                format.push_back(tokens[i].text);
            }
        }
        ++i;
    }
    // Names before one column range share it in equal parts.
    const std::int64_t count = static_cast<std::int64_t>(pending_.size());
    const std::int64_t width = end - start + 1;
    for (std::int64_t n = 0; n < count; ++n) {
        if (width < count || width % count != 0) {
            refuse(pending_[n], "the columns " + std::to_string(start) + "-" + std::to_string(end) +
                                    " do not divide among " + std::to_string(count) + " variables");
        } else {
            add(pending_[n], start + n * (width / count), width / count, column_format(format));
        }
    }
    column_ = end + 1;
    pending_.clear();
}

void DataListReader::expand_range(const std::vector<Token>& tokens, std::size_t& i) {
    const Token& last = tokens[i + 1];
    const std::vector<std::string> names = numbered_range(pending_.back().text, last.text);
    if (names.empty()) {
        fail(tokens[i], pending_.back().text + " TO " + last.text + " is not a numbered range");
    }
    const Token first = pending_.back();
    pending_.pop_back();
    for (const std::string& name : names) {
        pending_.push_back({name, first.offset, false});
    }
    i += 2;
}

bool DataListReader::read(const std::vector<Token>& tokens, std::size_t at) {
    std::size_t i = read_options(tokens, at);
    const std::size_t before = source_.variables.size() + source_.refusals.size();
    record_ = 0;
    while (i < tokens.size()) {
        const Token& token = tokens[i];
        if (token.is('/')) {
            read_record_mark(tokens, i);
        } else if (token.is_number()) {
            read_columns(tokens, i);
        } else if (token.is('(')) {
            if (pending_.empty()) {
                fail(token, "a format list follows no variable name");
            }
            read_fortran(tokens, i);
        } else if (token.is_word("TO") && !pending_.empty() && i + 1 < tokens.size()) {
            expand_range(tokens, i);
        } else {
            pending_.push_back(token);
            ++i;
        }
    }
    for (const Token& name : pending_) {
        refuse(name, "no columns follow it");
    }
    pending_.clear();
    return source_.variables.size() + source_.refusals.size() > before;
}

std::string blank_spss_comments(std::string_view original) {
    std::string text(original);
    blank_block_comments(text, true);
    for (const auto& [begin, end] : spss_commands(text)) {
        const std::string_view command = trim(std::string_view(text).substr(begin, end - begin));
        const bool comment = command.starts_with('*') ||
                             (command.size() >= 7 && iequals(command.substr(0, 7), "COMMENT") &&
                              (command.size() == 7 || command[7] == ' ' || command[7] == '\n'));
        if (comment) {
            blank_out(text, begin, end + (end < text.size() ? 1 : 0));
        }
    }
    return text;
}

bool starts_with_words(const std::vector<Token>& tokens, std::initializer_list<const char*> words) {
    std::size_t i = 0;
    for (const char* word : words) {
        if (i >= tokens.size() || !tokens[i].is_word(word)) {
            return false;
        }
        ++i;
    }
    return true;
}

}  // namespace

bool is_spss_syntax(std::string_view original) {
    const std::string text = blank_spss_comments(original);
    for (const auto& [begin, end] : spss_commands(text)) {
        const std::vector<Token> tokens = tokenize(text, begin, end, spss_punct);
        if (starts_with_words(tokens, {"DATA", "LIST"})) {
            for (const Token& token : tokens) {
                if (token.is('/')) {
                    return true;
                }
                if (token.text.find(';') != std::string::npos) {
                    return false;  // a SAS DATA step named LIST
                }
            }
        }
    }
    return false;
}

LayoutSource read_spss_syntax(std::string_view original, const std::string& path) {
    const std::string text = blank_spss_comments(original);
    const LineIndex lines(text);
    LayoutSource source{"SPSS syntax", false, {}, {}, {}};
    DataListReader data_list(lines, path, source);
    bool found = false;
    for (const auto& [begin, end] : spss_commands(text)) {
        const std::vector<Token> tokens = tokenize(text, begin, end, spss_punct);
        if (starts_with_words(tokens, {"DATA", "LIST"})) {
            found = data_list.read(tokens, 2) || found;
        } else if (starts_with_words(tokens, {"FILE", "TYPE"})) {
            // RECORD = [name] start[-end] [(A)]: the field that tells the record types apart.
            for (std::size_t i = 2; i + 2 < tokens.size(); ++i) {
                if (!tokens[i].is_word("RECORD") || !tokens[i + 1].is('=')) {
                    continue;
                }
                std::size_t at = i + 2;
                Token name{"RECTYPE", tokens[at].offset, false};
                if (!tokens[at].is_number()) {
                    name = tokens[at++];
                    // A scratch variable (#name) is not kept by SPSS; here it becomes a column.
                    if (name.text.starts_with('#')) {
                        name.text.erase(0, 1);
                    }
                }
                if (at >= tokens.size() || !tokens[at].is_number()) {
                    break;
                }
                const std::int64_t start = tokens[at].number();
                std::int64_t last = start;
                if (at + 2 < tokens.size() && tokens[at + 1].is('-') &&
                    tokens[at + 2].is_number()) {
                    last = tokens[at + 2].number();
                    at += 2;
                }
                const bool character =
                    at + 2 < tokens.size() && tokens[at + 1].is('(') && tokens[at + 2].is_word("A");
                source.variables.push_back({lines.line_of(name.offset),
                                            name.text,
                                            std::to_string(start),
                                            std::to_string(last - start + 1),
                                            character ? "C" : "N",
                                            "",
                                            "",
                                            {}});
                source.record_type = RecordTypeField{name.text, {}};
                break;
            }
        } else if (starts_with_words(tokens, {"RECORD", "TYPE"})) {
            std::vector<std::string> types;
            bool other = false;
            for (std::size_t i = 2; i < tokens.size() && !tokens[i].is('/'); ++i) {
                if (tokens[i].is_word("OTHER")) {
                    other = true;
                } else if (!tokens[i].is(',')) {
                    types.push_back(tokens[i].text);
                }
            }
            if (!source.record_type) {
                source.record_type = RecordTypeField{};
            }
            for (const std::string& type : types) {
                source.record_type->values.push_back(type);
            }
            data_list.set_record_types(types, other);
        } else if (starts_with_words(tokens, {"END", "FILE", "TYPE"})) {
            data_list.set_record_types({}, false);
        }
    }
    if (!found) {
        throw Error(path + " holds no DATA LIST command that gives columns");
    }
    return source;
}

}  // namespace vesk
