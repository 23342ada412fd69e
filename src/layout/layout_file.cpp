#include "layout/layout_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "core/error.h"
#include "layout/ddi_codebook.h"
#include "layout/layout_csv.h"
#include "layout/sas_input.h"
#include "layout/spss_syntax.h"
#include "layout/stata_syntax.h"

namespace vesk {

namespace {

// A layout of thousands of variables is far smaller: a larger file is a data file named by
// mistake, which is not read whole into memory.
constexpr std::size_t largest_layout = 64 << 20;

constexpr std::string_view byte_order_mark = "\xEF\xBB\xBF";

}  // namespace

LayoutSource read_layout_text(std::string_view text, const std::string& path) {
    if (text.starts_with(byte_order_mark)) {
        text.remove_prefix(byte_order_mark.size());
    }
    // The XML and CSV forms announce themselves; among the setup syntaxes a Stata dictionary is
    // the most particular, and a SAS program's INPUT is looked for only inside a DATA step.
    if (is_ddi_codebook(text)) {
        return read_ddi_codebook(text, path);
    }
    if (is_layout_csv(text)) {
        return read_layout_csv(text, path);
    }
    if (is_stata_syntax(text)) {
        return read_stata_syntax(text, path);
    }
    if (is_sas_input(text)) {
        return read_sas_input(text, path);
    }
    if (is_spss_syntax(text)) {
        return read_spss_syntax(text, path);
    }
    throw Error(path + " is not a layout vesk reads: a CSV file with the header " +
                std::string(layout_header) +
                ", a DDI codebook (XML), SPSS syntax with DATA LIST, a SAS program with INPUT, "
                "or a Stata dictionary or infix command");
}

LayoutSource read_layout_file(const std::string& path) {
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) {
        throw Error("The layout file " + path + " is a folder");
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw Error("Cannot open the layout file " + path + ": " + std::strerror(errno));
    }
    // Read in pieces, not by its size: a pipe has none.
    std::string content;
    std::vector<char> piece(1 << 16);
    while (file.read(piece.data(), static_cast<std::streamsize>(piece.size())) ||
           file.gcount() > 0) {
        content.append(piece.data(), static_cast<std::size_t>(file.gcount()));
        if (content.size() > largest_layout) {
            throw Error(path + " is too large to be a layout (more than " +
                        std::to_string(largest_layout >> 20) + " MB)");
        }
    }
    if (file.bad()) {
        throw Error("Cannot read the layout file " + path);
    }
    return read_layout_text(content, path);
}

}  // namespace vesk
