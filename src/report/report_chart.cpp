#include "report/report_chart.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

#include "core/chart_layout.h"
#include "core/number_text.h"
#include "core/text.h"
#include "report/report_markup.h"

namespace vesk {

namespace {

constexpr double chart_width = 720;
constexpr double plot_top = 60;  // below the title and the legend
constexpr double plot_height = 210;
constexpr double plot_left = 64;
constexpr double plot_right = 18;
constexpr std::size_t longest_label = 24;  // characters of a group's name under the chart
constexpr double char_width = 6.4;         // of the 11-unit sans-serif labels, a little over

const char* const significant_fill = "#b71c1c";
const char* const plain_stroke = "#1565c0";
const char* const flagged_stroke = "#555555";

std::string num(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

// The group's values joined, cut to a length the chart has room for.
std::string group_label(const ReportRow& row, std::size_t limit) {
    const std::string label = join(row.groups, " / ");
    if (utf8_length(label) <= limit) {
        return label;
    }
    return utf8_prefix(label, limit > 1 ? limit - 1 : 1) + "\u2026";
}

class Canvas {
  public:
    void line(double x1, double y1, double x2, double y2, const char* stroke, double width,
              const char* dash = nullptr) {
        out_ += "<line x1=\"" + num(x1) + "\" y1=\"" + num(y1) + "\" x2=\"" + num(x2) + "\" y2=\"" +
                num(y2) + "\" stroke=\"" + stroke + "\" stroke-width=\"" + num(width) + "\"" +
                (dash ? std::string(" stroke-dasharray=\"") + dash + "\"" : "") + "/>\n";
    }
    void rect(double x, double y, double w, double h, const char* fill, const char* stroke) {
        out_ += "<rect x=\"" + num(x) + "\" y=\"" + num(y) + "\" width=\"" + num(w) +
                "\" height=\"" + num(h) + "\" fill=\"" + fill + "\" stroke=\"" + stroke + "\"/>\n";
    }
    // anchor: start, middle or end; angle: 0 or -90.
    void text(double x, double y, const std::string& content, const char* anchor, double size = 11,
              bool bold = false, int angle = 0) {
        out_ += "<text x=\"" + num(x) + "\" y=\"" + num(y) + "\" font-size=\"" + num(size) +
                "\" text-anchor=\"" + anchor + "\"";
        if (bold) {
            out_ += " font-weight=\"bold\"";
        }
        if (angle != 0) {
            out_ += " transform=\"rotate(" + std::to_string(angle) + " " + num(x) + " " + num(y) +
                    ")\"";
        }
        out_ += ">" + escape_markup(content) + "</text>\n";
    }
    void marker(Mark mark, double x, double y, double size) {
        switch (mark) {
            case Mark::significant:
                out_ += "<rect x=\"" + num(x - size) + "\" y=\"" + num(y - size) + "\" width=\"" +
                        num(2 * size) + "\" height=\"" + num(2 * size) + "\" fill=\"" +
                        significant_fill + "\" stroke=\"#000000\"" + " stroke-width=\"0.8\"/>\n";
                break;
            case Mark::plain:
                out_ += "<circle cx=\"" + num(x) + "\" cy=\"" + num(y) + "\" r=\"" + num(size) +
                        "\" fill=\"#ffffff\" stroke=\"" + plain_stroke +
                        "\" stroke-width=\"1.6\"/>\n";
                break;
            case Mark::flagged:
                out_ += "<path d=\"M" + num(x - size) + " " + num(y - size) + " L" + num(x + size) +
                        " " + num(y + size) + " M" + num(x - size) + " " + num(y + size) + " L" +
                        num(x + size) + " " + num(y - size) + "\" fill=\"none\" stroke=\"" +
                        flagged_stroke + "\" stroke-width=\"1.8\"/>\n";
                break;
        }
    }
    // The unadjusted p-value of the chi-square chart: a small open diamond.
    void diamond(double x, double y, double size) {
        out_ += "<path d=\"M" + num(x) + " " + num(y - size) + " L" + num(x + size) + " " + num(y) +
                " L" + num(x) + " " + num(y + size) + " L" + num(x - size) + " " + num(y) +
                " Z\" fill=\"none\" stroke=\"#000000\" stroke-width=\"1\"/>\n";
    }
    std::string& out() { return out_; }

  private:
    std::string out_;
};

struct Plot {
    double x0 = plot_left;
    double x1 = chart_width - plot_right;
    double y0 = plot_top;
    double y1 = plot_top + plot_height;
    std::size_t groups = 0;
    double x(std::size_t i) const {
        return x0 + (static_cast<double>(i) + 0.5) * (x1 - x0) / static_cast<double>(groups);
    }
};

double label_room(const ReportData& report) {
    const std::size_t groups = report.rows.size();
    if (groups <= upright_label_limit || groups > named_group_limit) {
        return 40;
    }
    std::size_t longest = 0;
    for (const ReportRow& row : report.rows) {
        longest = std::max(longest, utf8_length(group_label(row, longest_label)));
    }
    return 30 + static_cast<double>(longest) * char_width;
}

void draw_group_axis(Canvas& canvas, const ReportData& report, const Plot& plot) {
    const std::size_t groups = report.rows.size();
    if (groups <= upright_label_limit) {
        const double room =
            (plot.x1 - plot.x0) / static_cast<double>(std::max<std::size_t>(groups, 1));
        const auto fits = static_cast<std::size_t>(std::max(3.0, room / char_width));
        for (std::size_t i = 0; i < groups; ++i) {
            canvas.text(plot.x(i), plot.y1 + 15,
                        group_label(report.rows[i], std::min(fits, longest_label)), "middle");
        }
    } else if (groups <= named_group_limit) {
        for (std::size_t i = 0; i < groups; ++i) {
            canvas.text(plot.x(i) + 4, plot.y1 + 8, group_label(report.rows[i], longest_label),
                        "end", 11, false, -90);
        }
    } else {
        const auto step = static_cast<std::size_t>(tick_step(static_cast<double>(groups)));
        for (std::size_t row = step; row <= groups; row += step) {
            canvas.line(plot.x(row - 1), plot.y1, plot.x(row - 1), plot.y1 + 4, "#444444", 1);
            canvas.text(plot.x(row - 1), plot.y1 + 15, std::to_string(row), "middle");
        }
    }
    std::string title = join(report.question.group_variables, " / ");
    if (groups > named_group_limit) {
        title += ": row of the table";
    }
    canvas.text((plot.x0 + plot.x1) / 2, plot.y1 + label_room(report) - 6, title, "middle", 11,
                true);
}

void draw_legend(Canvas& canvas, const ReportData& report, bool with_raw_p) {
    const double y = 40;
    double x = plot_left;
    const auto item = [&](const std::function<void(double)>& draw, const std::string& text) {
        draw(x + 5);
        canvas.text(x + 14, y + 4, text, "start");
        x += 22 + static_cast<double>(utf8_length(text)) * char_width;
    };
    item([&](double at) { canvas.marker(Mark::significant, at, y, 4.5); },
         "significant (" + adjustment_short_name(report.choices.adjustment) + "-adjusted p < " +
             general_form(report.choices.level) + ")");
    item([&](double at) { canvas.marker(Mark::plain, at, y, 4.5); }, "not significant");
    item([&](double at) { canvas.marker(Mark::flagged, at, y, 4.5); }, "flagged or no p");
    if (with_raw_p) {
        item([&](double at) { canvas.diamond(at, y, 4); }, "unadjusted p");
    }
}

double marker_size(const ReportData& report) {
    return report.rows.size() > crowded_groups ? 3 : 4.5;
}

void draw_z_chart(Canvas& canvas, const ReportData& report, const Plot& plot) {
    double reach = 3;
    for (const ReportRow& row : report.rows) {
        if (row.point) {
            reach = std::max(reach, std::abs(*row.point) * 1.1);
        }
    }
    const double step = tick_step(reach);
    reach = std::ceil(reach / step) * step;
    const auto y = [&](double z) {
        return plot.y0 + (reach - z) / (2 * reach) * (plot.y1 - plot.y0);
    };

    canvas.rect(plot.x0, y(z_band), plot.x1 - plot.x0, y(-z_band) - y(z_band), "#e4e4e4", "none");
    for (double tick = -reach; tick <= reach + step / 2; tick += step) {
        const double at = std::abs(tick) < step / 2 ? 0 : tick;
        canvas.line(plot.x0 - 4, y(at), plot.x0, y(at), "#444444", 1);
        canvas.text(plot.x0 - 7, y(at) + 4, general_form(at), "end");
    }
    canvas.line(plot.x0, y(0), plot.x1, y(0), "#888888", 0.8);
    canvas.line(plot.x0, y(z_band), plot.x1, y(z_band), "#444444", 1, "5 3");
    canvas.line(plot.x0, y(-z_band), plot.x1, y(-z_band), "#444444", 1, "5 3");
    canvas.text(plot.x1 - 4, y(-z_band) + 13, "band \u00b11.96", "end", 10);
    canvas.text(plot.x0 - 46, (plot.y0 + plot.y1) / 2, "z of T", "middle", 11, true, -90);
    for (std::size_t i = 0; i < report.rows.size(); ++i) {
        const ReportRow& row = report.rows[i];
        if (row.point) {
            canvas.marker(row.mark, plot.x(i), y(*row.point), marker_size(report));
        }
    }
}

std::string power_text(int exponent) {
    return exponent >= -3 ? general_form(std::pow(10.0, exponent))
                          : "1e" + std::to_string(exponent);
}

void draw_p_chart(Canvas& canvas, const ReportData& report, const Plot& plot) {
    // The point is the adjusted p-value, beside it the p-value itself.
    const double level = report.choices.level;
    double lowest = level;
    for (const ReportRow& row : report.rows) {
        for (const std::optional<double>& p : {row.beside, row.point}) {
            if (p) {
                lowest = std::min(lowest, *p);
            }
        }
    }
    // A label for every decade while they fit, else for every few decades.
    const double decades = std::ceil(-std::log10(lowest) + 0.3);
    const double per_label = std::ceil(decades / 10);
    const double bottom = std::ceil(decades / per_label) * per_label;
    const double headroom = 0.15 * per_label;  // so points at 1 sit inside the frame
    const auto y = [&](double p) {
        const double decade = std::log10(std::max(p, smallest_drawn_p));
        return plot.y0 + (headroom - decade) / (headroom + bottom) * (plot.y1 - plot.y0);
    };
    for (double exponent = 0; exponent >= -bottom; exponent -= per_label) {
        const double at = y(std::pow(10.0, exponent));
        canvas.line(plot.x0, at, plot.x1, at, "#e0e0e0", 0.8);
        canvas.line(plot.x0 - 4, at, plot.x0, at, "#444444", 1);
        canvas.text(plot.x0 - 7, at + 4, power_text(static_cast<int>(exponent)), "end");
    }
    canvas.line(plot.x0, y(level), plot.x1, y(level), "#000000", 1.2, "6 3");
    canvas.text(plot.x1 - 4, y(level) - 5, "level " + general_form(level), "end", 10);
    canvas.text(plot.x0 - 50, (plot.y0 + plot.y1) / 2, "p (log scale)", "middle", 11, true, -90);
    for (std::size_t i = 0; i < report.rows.size(); ++i) {
        const ReportRow& row = report.rows[i];
        const double x = plot.x(i);
        if (row.beside) {
            canvas.diamond(x, y(*row.beside), marker_size(report) - 0.5);
        }
        if (row.point) {
            if (row.beside) {
                canvas.line(x, y(*row.beside), x, y(*row.point), "#999999", 0.8);
            }
            canvas.marker(row.mark, x, y(*row.point), marker_size(report));
        }
    }
}

}  // namespace

ChartSize report_chart_size(const ReportData& report) {
    return {chart_width, plot_top + plot_height + label_room(report)};
}

std::string report_chart_svg(const ReportData& report, SvgUse use) {
    const ChartSize size = report_chart_size(report);
    Canvas canvas;
    std::string& out = canvas.out();
    out += "<svg";
    if (use == SvgUse::standalone) {
        out += " xmlns=\"http://www.w3.org/2000/svg\" version=\"1.2\" baseProfile=\"tiny\"";
    }
    out += " width=\"" + num(size.width) + "\" height=\"" + num(size.height) + "\" viewBox=\"0 0 " +
           num(size.width) + " " + num(size.height) +
           "\" font-family=\"sans-serif\" role=\"img\">\n";
    out += "<rect x=\"0\" y=\"0\" width=\"" + num(size.width) + "\" height=\"" + num(size.height) +
           "\" fill=\"#ffffff\"/>\n";
    Plot plot;
    plot.groups = std::max<std::size_t>(report.rows.size(), 1);
    const bool runs = report.kind == TestKind::runs;
    canvas.text(plot_left, 18, runs ? "z of T per group" : "p-value and adjusted p-value per group",
                "start", 13, true);
    draw_legend(canvas, report, !runs);
    if (runs) {
        draw_z_chart(canvas, report, plot);
    } else {
        draw_p_chart(canvas, report, plot);
    }
    canvas.rect(plot.x0, plot.y0, plot.x1 - plot.x0, plot.y1 - plot.y0, "none", "#444444");
    draw_group_axis(canvas, report, plot);
    out += "</svg>\n";
    return out;
}

}  // namespace vesk
