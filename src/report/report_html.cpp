#include "report/report_html.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/atomic_file.h"
#include "core/number_text.h"
#include "core/text.h"
#include "report/report_chart.h"
#include "report/report_markup.h"

namespace vesk {

namespace {

// The browser's page keeps a readable width; Qt's rich text would take the body's margins for
// the tables' own and squeeze them, so the printed page gets none.
const char* const screen_body = R"(
body { font-family: "DejaVu Sans", Arial, sans-serif; font-size: 10pt; color: #000000;
       max-width: 60em; margin: 1.5em auto; padding: 0 1em; }
table.facts th { width: 9em; })";
const char* const print_body = R"(
body { font-family: "DejaVu Sans", sans-serif; font-size: 9pt; color: #000000; })";

// A4 portrait holds a dozen columns only in a smaller type with narrow cell padding.
const char* const print_tables = R"(
th, td { padding: 1px 3px; }
table.groups td, table.groups th { padding: 1px 2px; }
table.groups { font-size: 7pt; }
)";

const char* const style = R"(
h1 { font-size: 16pt; margin-bottom: 0.2em; }
h2 { font-size: 13pt; margin-top: 1.4em; border-bottom: 1px solid #888888; }
h3 { font-size: 11pt; margin-top: 1em; }
h4 { font-size: 9.5pt; margin-top: 0.8em; margin-bottom: 0.2em; }
table { border-collapse: collapse; margin: 0.4em 0; }
th, td { border: 1px solid #999999; padding: 2px 6px; text-align: left; vertical-align: top; }
th { background-color: #eeeeee; }
td.number, td.source { white-space: nowrap; }
td.number { text-align: right; }
table.groups { font-size: 8.5pt; }
tr.flags td { font-style: italic; }
code { font-family: "DejaVu Sans Mono", monospace; font-size: 9pt; }
p.summary { font-size: 12pt; font-weight: bold; }
p.created { color: #333333; }
svg { max-width: 100%; height: auto; }
@page { size: A4; margin: 15mm; }
)";

std::string esc(const std::string& text) {
    return escape_markup(text);
}

std::string cell(const std::string& text, bool number = false) {
    return std::string(number ? "<td class=\"number\" align=\"right\">" : "<td>") + esc(text) +
           "</td>";
}

// Printed rich text breaks lines only at blanks: a long path gets a chance to break after each
// slash (zero-width spaces, only in print, so a path copied from the page is the path).
std::string path_html(const std::string& path, bool print) {
    std::string out = esc(path);
    if (print) {
        std::string broken;
        for (const char c : out) {
            broken += c;
            if (c == '/') {
                broken += "\u200B";
            }
        }
        out = broken;
    }
    return "<code>" + out + "</code>";
}

// A few words in two lines that do not break further, broken at the blank nearest the middle (text
// shorter than shortest characters stays in one): a
// table column gives them their room, where free wrapping would squeeze them a word a line.
std::string two_lines(const std::string& text, std::size_t shortest = 16) {
    const std::size_t middle = text.size() / 2;
    std::size_t best = std::string::npos;
    for (std::size_t at = text.find(' '); at != std::string::npos; at = text.find(' ', at + 1)) {
        if (best == std::string::npos || (at > middle ? at - middle : middle - at) <
                                             (best > middle ? best - middle : middle - best)) {
            best = at;
        }
    }
    if (utf8_length(text) < shortest || best == std::string::npos) {
        return esc(text);
    }
    return esc(text.substr(0, best)) + "<br/>" + esc(text.substr(best + 1));
}

std::string heading_row(const std::vector<std::string>& headings) {
    std::string out = "<thead><tr>";
    for (const std::string& heading : headings) {
        out += "<th>" + esc(heading) + "</th>";
    }
    return out + "</tr></thead>\n";
}

std::string fact(const std::string& name, const std::string& value_html) {
    return "<tr><th>" + esc(name) + "</th><td>" + value_html + "</td></tr>\n";
}

const char* const grid_attributes = " border=\"1\" cellspacing=\"0\" cellpadding=\"3\"";

std::string size_text(const ReportFile& file) {
    return file.size ? std::to_string(*file.size) + " bytes" : "not readable";
}

std::string data_section(const ReportData& report, bool print) {
    const ReportOrigin& origin = report.origin;
    std::string out = "<h2>The data</h2>\n";
    if (!origin.known) {
        out +=
            "<p>The data were loaded before this run, and where they came from is not "
            "recorded.</p>\n";
    } else {
        out += std::string("<table class=\"facts\"") + grid_attributes + ">\n";
        out += fact("Input file", path_html(origin.input.path, print));
        out += fact("Size", esc(size_text(origin.input)));
        out += fact("SHA-256", "<code>" + esc(origin.input.sha256) + "</code>");
        out += fact("Modified", esc(origin.input.modified));
        if (!origin.loaded_at.empty()) {
            out += fact("Loaded", esc(origin.loaded_at));
        }
        std::string lines = std::to_string(origin.lines_read) + " read, " +
                            std::to_string(origin.lines_loaded) + " loaded, " +
                            std::to_string(origin.lines_rejected) + " rejected";
        if (!origin.record_type.empty()) {
            lines +=
                ", " + std::to_string(origin.lines_other_type) + " of other record types skipped";
            out += fact("Record type", esc(origin.record_type) + ": only its lines are loaded");
        }
        out += fact("Lines", esc(lines));
        if (origin.byte_order_mark) {
            out += fact("Byte-order mark", "at the start of the file, skipped");
        }
        if (origin.line_key) {
            out += fact("Key", "LINE_NO, each line's number in the file");
        }
        if (!origin.first_rejections.empty()) {
            std::string reasons;
            for (const std::string& reason : origin.first_rejections) {
                reasons += (reasons.empty() ? "" : "<br/>") + esc(reason);
            }
            out += fact("First rejected", reasons);
        }
        out += fact("Filter", origin.filter.empty()
                                  ? std::string("none: every loaded line is tested")
                                  : "<code>" + esc(origin.filter) + "</code> (" +
                                        esc(std::to_string(origin.rows_filtered_out)) +
                                        " records removed by it)");
        out += "</table>\n";
    }
    out += std::string("<h3>Record layout</h3>\n<table class=\"layout\"") + grid_attributes + ">\n";
    const bool any_decimals = std::any_of(origin.layout.begin(), origin.layout.end(),
                                          [](const VarDef& def) { return def.decimals != 0; });
    std::vector<std::string> headings = {"Variable", "Start", "Length", "Type", "Key"};
    if (any_decimals) {
        headings.emplace_back("Decimals");
    }
    out += heading_row(headings);
    out += "<tbody>\n";
    for (const VarDef& def : origin.layout) {
        out += "<tr>" + cell(def.name) + cell(std::to_string(def.start), true) +
               cell(std::to_string(def.length), true) +
               cell(def.type == "N" ? "numeric" : "character") +
               cell(def.key == "Y" ? "yes" : "no") +
               (any_decimals ? cell(std::to_string(def.decimals), true) : "") + "</tr>\n";
    }
    return out + "</tbody></table>\n";
}

std::string question_section(const ReportData& report) {
    const ReportQuestion& question = report.question;
    std::string out = "<h2>The question</h2>\n";
    out += "<p>Do the central and the state sample agree in the distribution of " +
           esc(question.parameter) + ", group by group?</p>\n";
    out += std::string("<table class=\"facts\"") + grid_attributes + ">\n";
    out += fact("Groups", esc(join(question.group_variables, ", ")) +
                              ": one test for each combination of their values");
    out += fact("Samples", esc(question.sample_variable) + ": records with the value " +
                               esc(question.central_value) +
                               " form the central sample, all others the state sample");
    out += fact("Parameter", esc(question.parameter));
    out += "</table>\n";
    if (report.kind == TestKind::chi_square) {
        out += "<h3>Classes of " + esc(question.parameter) + "</h3>\n";
        out += std::string("<table class=\"classes\"") + grid_attributes + ">\n";
        out += heading_row({"Class", "Values", "Central records", "State records", "Records"});
        out += "<tbody>\n";
        for (const ReportClass& class_row : question.classes) {
            out += "<tr>" + cell(std::to_string(class_row.number), true) + cell(class_row.values) +
                   cell(std::to_string(class_row.central), true) +
                   cell(std::to_string(class_row.state), true) +
                   cell(std::to_string(class_row.records), true) + "</tr>\n";
        }
        out += "</tbody></table>\n";
    }
    return out;
}

// The adjusted p-value the report judges by, and the other one.
const std::optional<Probability>& chosen_p(const ReportRow& row, Adjustment adjustment) {
    return adjustment == Adjustment::holm ? row.p_holm : row.p_bh;
}

Adjustment other_adjustment(Adjustment adjustment) {
    return adjustment == Adjustment::holm ? Adjustment::benjamini_hochberg : Adjustment::holm;
}

// The columns that decide first: group values, n (central), m (state), p, the adjusted p-value
// judged by and the effect size; then how p was found, the test's other figures and the other
// adjusted p-value.
std::string groups_table(const ReportData& report) {
    const Adjustment chosen = report.choices.adjustment;
    const Adjustment other = other_adjustment(chosen);
    const bool effect = !report.effect.empty();
    std::vector<std::string> headings = {""};
    headings.insert(headings.end(), report.question.group_variables.begin(),
                    report.question.group_variables.end());
    headings.insert(headings.end(),
                    {"n (central)", "m (state)", "p", "p " + adjustment_short_name(chosen)});
    if (effect) {
        headings.push_back(report.effect);
    }
    headings.emplace_back("p from");
    headings.insert(headings.end(), report.measures.begin(), report.measures.end());
    headings.push_back("p " + adjustment_short_name(other));
    std::string out =
        std::string("<table class=\"groups\" width=\"100%\"") + grid_attributes + ">\n";
    out += heading_row(headings);
    out += "<tbody>\n";
    for (const ReportRow& row : report.rows) {
        // Bold and a star as well as the shade, so the marking survives black-and-white print.
        const auto mark = [&](const std::string& html) {
            return row.significant ? "<b>" + html + "</b>" : html;
        };
        const std::string shade = row.significant ? " style=\"background-color: #e6e6e6\"" : "";
        const auto text_cell = [&](const std::string& text, bool number, const char* width = "") {
            return std::string(number ? "<td class=\"number\" align=\"right\"" : "<td") + width +
                   shade + ">" + mark(esc(text)) + "</td>";
        };
        out += "<tr" + std::string(row.significant ? " class=\"significant\"" : "") + ">";
        out += text_cell(row.significant ? "\u2605" : "", false);
        for (const std::string& value : row.groups) {
            out += text_cell(value, false);
        }
        out += text_cell(std::to_string(row.n), true) + text_cell(std::to_string(row.m), true) +
               text_cell(p_text(row.p), true) + text_cell(p_text(chosen_p(row, chosen)), true);
        if (effect) {
            out += "<td class=\"number\" align=\"right\"" + shade + ">" +
                   mark(two_lines(row.effect, 0)) + "</td>";
        }
        out += "<td class=\"source\"" + shade + ">" + mark(two_lines(row.p_source)) + "</td>";
        for (const std::string& value : row.measures) {
            out += text_cell(value, true);
        }
        out += text_cell(p_text(chosen_p(row, other)), true);
        out += "</tr>\n";
        // A flag's reason is a sentence: it gets the width of the table, under its group.
        if (!row.flags.empty()) {
            out += "<tr class=\"flags\"><td></td><td colspan=\"" +
                   std::to_string(headings.size() - 1) +
                   "\"><i>Flagged: " + esc(join(row.flags, "; ")) + "</i></td></tr>\n";
        }
    }
    return out + "</tbody></table>\n";
}

std::string share_text(double share) {
    if (!std::isfinite(share)) {
        return {};
    }
    char text[16];
    std::snprintf(text, sizeof text, "%.1f%%", 100 * share);
    return text;
}

// "+2.67 ▲": a marked residual says which way its class leans.
std::string residual_text(const ChiClassCell& cell) {
    if (!std::isfinite(cell.residual)) {
        return {};
    }
    char text[32];
    std::snprintf(text, sizeof text, "%+.2f", cell.residual);
    return std::string(text) + (!cell.marked ? "" : cell.residual > 0 ? " \u25B2" : " \u25BC");
}

// Where the samples of each group shown differ: the class shares side by side, the cells that
// drive the difference marked in bold and with an arrow, so black-and-white print keeps them.
std::string class_shares_section(const ReportData& report) {
    if (report.group_classes_scope.empty()) {
        return {};  // the runs test
    }
    if (report.group_classes.empty()) {
        return "<h3>Where the samples differ</h3>\n<p>The classes of " +
               esc(report.group_classes_scope) + ": no group is significant.</p>\n";
    }
    const std::vector<std::string> headings = {
        "Class", "Values", "n (central)", "central share", "m (state)", "state share", "residual"};
    // A table per group under its own heading: a page break falls between groups.
    std::string out = "<h3>Where the samples differ</h3>\n";
    out += "<p>The classes of " + esc(report.group_classes_scope) +
           ": each sample's records in the class and their share of its records in the group. "
           "Bold with \u25B2: the class holds a larger share of the central sample than of the "
           "state sample, with \u25BC a smaller one, by an adjusted residual of 2 or more either "
           "way: these classes drive the difference.</p>\n";
    for (const ReportGroupClasses& group : report.group_classes) {
        std::string label =
            join(report.question.group_variables, ", ") + " " + join(group.groups, ", ");
        if (!group.effect.empty()) {
            label += ": V " + group.effect;
        }
        out += "<h4>" + esc((group.significant ? "\u2605 " : "") + label) + "</h4>\n";
        out += std::string("<table class=\"shares\"") + grid_attributes + ">\n";
        out += heading_row(headings);
        out += "<tbody>\n";
        for (std::size_t k = 0; k < group.cells.size(); ++k) {
            const ChiClassCell& c = group.cells[k];
            const auto marked = [&](const std::string& text) {
                return std::string("<td class=\"number\" align=\"right\">") +
                       (c.marked ? "<b>" + esc(text) + "</b>" : esc(text)) + "</td>";
            };
            out +=
                "<tr>" + cell(std::to_string(k + 1), true) +
                cell(k < report.question.classes.size() ? report.question.classes[k].values : "") +
                cell(std::to_string(c.central), true) + marked(share_text(c.central_share)) +
                cell(std::to_string(c.state), true) + marked(share_text(c.state_share)) +
                marked(residual_text(c)) + "</tr>\n";
        }
        out += "</tbody></table>\n";
    }
    return out;
}

// What the effect size column says, for the legend under the table.
std::string effect_legend(const ReportData& report) {
    if (report.effect.empty()) {
        return {};
    }
    return report.kind == TestKind::runs
               ? " \u201cRuns missing\u201d is the share of the runs expected of alike samples "
                 "that is missing, (expected runs \u2212 T) / expected runs: 0 when the samples "
                 "mix as expected, near 1 when they lie apart."
               : " V is Cram\u00e9r's V, how much the samples differ, in figures and words.";
}

std::string answer_section(const ReportData& report, const std::string& chart_html) {
    std::string out = "<h2>The answer</h2>\n";
    out += "<p class=\"summary\"><b>" + esc(report.summary) + "</b></p>\n";
    if (report.rows.empty()) {
        return out;
    }
    out += chart_html;
    out += groups_table(report);
    out += "<p>\u2605 and bold: significant, the " +
           esc(adjustment_name(report.choices.adjustment)) + "-adjusted p-value below " +
           esc(general_form(report.choices.level)) +
           ". n counts the records of the central sample, m those of the state sample. p is the "
           "primary p-value; \u201cp from\u201d says how it was found; p Holm and p BH are "
           "adjusted across the " +
           std::to_string(report.rows.size()) + " groups of this run." + effect_legend(report) +
           " A flagged group has its reasons in the line below it.</p>\n";
    return out + class_shares_section(report);
}

std::string reading_section(const ReportData& report) {
    std::string out = "<h2>How to read it</h2>\n";
    for (const std::string& paragraph : report.reading) {
        out += "<p>" + esc(paragraph) + "</p>\n";
    }
    return out;
}

std::string files_section(const ReportData& report, bool print) {
    std::string out = "<h2>Result files</h2>\n";
    out += std::string("<table class=\"files\" width=\"100%\"") + grid_attributes + ">\n";
    out += heading_row({"File and its SHA-256", "Size"});
    out += "<tbody>\n";
    for (const ReportFile& file : report.result_files) {
        out += "<tr><td>" + path_html(file.path, print) + "<br/><code>" + esc(file.sha256) +
               "</code></td>" + cell(size_text(file), true) + "</tr>\n";
    }
    return out + "</tbody></table>\n";
}

std::string page(const ReportData& report, const std::string& chart_html, bool print) {
    std::string out = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\"/>\n";
    out += "<title>" + esc(report.title) + "</title>\n";
    out += "<style>" + std::string(print ? print_body : screen_body) + style +
           (print ? print_tables : "") + "</style>\n</head>\n<body>\n";
    out += "<h1>" + esc(report.title) + "</h1>\n";
    out += "<p class=\"created\">Created " + esc(report.created) + " by vesk " +
           esc(report.version) + "</p>\n";
    out += data_section(report, print);
    out += question_section(report);
    out += answer_section(report, chart_html);
    out += reading_section(report);
    out += files_section(report, print);
    return out + "</body>\n</html>\n";
}

}  // namespace

std::string report_html(const ReportData& report) {
    const std::string chart =
        "<div class=\"chart\">\n" + report_chart_svg(report, SvgUse::inline_html) + "</div>\n";
    return page(report, chart, false);
}

PrintableHtml report_html_for_print(const ReportData& report) {
    const std::string rest = page(report, "", true);
    std::string marker = "[chart]";
    while (rest.find(marker) != std::string::npos) {
        marker += "#";
    }
    return {page(report, "<p>" + marker + "</p>\n", true), marker};
}

void write_report_html(const std::string& path, const ReportData& report) {
    AtomicFile file(path);
    file.stream() << report_html(report);
    file.commit();
}

}  // namespace vesk
