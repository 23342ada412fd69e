#include "report/report_format.h"

#include <filesystem>

#include "core/text.h"

namespace vesk {

std::optional<ReportFormat> report_format_of(const std::string& path) {
    const std::string extension = to_upper(std::filesystem::path(path).extension().string());
    if (extension == ".HTML" || extension == ".HTM") {
        return ReportFormat::html;
    }
    if (extension == ".PDF") {
        return ReportFormat::pdf;
    }
    return std::nullopt;
}

}  // namespace vesk
