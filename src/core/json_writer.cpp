#include "core/json_writer.h"

#include <cmath>
#include <cstdio>

#include "core/number_text.h"

namespace vesk {

std::string JsonWriter::quoted(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                    out += escaped;
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

void JsonWriter::open_member(std::string_view key) {
    if (depth_ > 0) {
        out_ += first_ ? "\n" : ",\n";
        out_.append(static_cast<std::size_t>(2 * depth_), ' ');
    }
    first_ = false;
    if (!key.empty()) {
        out_ += quoted(key) + ": ";
    }
}

void JsonWriter::begin_object(std::string_view key) {
    open_member(key);
    out_ += "{";
    ++depth_;
    first_ = true;
}

void JsonWriter::close(char bracket) {
    --depth_;
    if (!first_) {
        out_ += '\n';
        out_.append(static_cast<std::size_t>(2 * depth_), ' ');
    }
    out_ += bracket;
    first_ = false;
}

void JsonWriter::end_object() {
    close('}');
    if (depth_ == 0) {
        out_ += '\n';
    }
}

void JsonWriter::begin_array(std::string_view key) {
    open_member(key);
    out_ += "[";
    ++depth_;
    first_ = true;
}

void JsonWriter::end_array() {
    close(']');
}

void JsonWriter::value(std::string_view key, std::string_view text) {
    open_member(key);
    out_ += quoted(text);
}

void JsonWriter::value(std::string_view key, std::int64_t number) {
    open_member(key);
    out_ += std::to_string(number);
}

void JsonWriter::value(std::string_view key, double number) {
    open_member(key);
    out_ += std::isfinite(number) ? general_form(number) : "null";
}

void JsonWriter::null(std::string_view key) {
    open_member(key);
    out_ += "null";
}

}  // namespace vesk
