#include "report/report_markup.h"

namespace vesk {

namespace {

const char* const replacement = "\xEF\xBF\xBD";

// Length of the valid UTF-8 sequence at text[at], or 0 when there is none.
std::size_t sequence_length(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = 0;
    char32_t code = 0;
    if (lead < 0x80) {
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2;
        code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        code = lead & 0x07;
    } else {
        return 0;
    }
    if (at + length > text.size()) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) {
            return 0;
        }
        code = (code << 6) | (next & 0x3F);
    }
    const char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    if (code < smallest[length] || code > 0x10FFFF || surrogate || code == 0xFFFE ||
        code == 0xFFFF) {
        return 0;
    }
    return length;
}

}  // namespace

std::string escape_markup(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t length = sequence_length(text, at);
        if (length == 0) {
            out += replacement;
            ++at;
            continue;
        }
        if (length > 1) {
            out.append(text.substr(at, length));
            at += length;
            continue;
        }
        const char c = text[at++];
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            case '\t':
            case '\n':
            case '\r':
                out += c;
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
                    out += replacement;
                } else {
                    out += c;
                }
        }
    }
    return out;
}

std::size_t utf8_length(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t at = 0; at < text.size(); ++count) {
        const std::size_t length = sequence_length(text, at);
        at += length == 0 ? 1 : length;
    }
    return count;
}

std::string utf8_prefix(std::string_view text, std::size_t count) {
    std::size_t at = 0;
    for (std::size_t taken = 0; taken < count && at < text.size(); ++taken) {
        const std::size_t length = sequence_length(text, at);
        at += length == 0 ? 1 : length;
    }
    return std::string(text.substr(0, at));
}

}  // namespace vesk
