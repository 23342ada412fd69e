#pragma once

#include <QByteArray>

#include "report/report_data.h"

namespace vesk {

// The report as a PDF document: A4, printed by Qt's own PDF writer from the report's page, the
// chart drawn as vectors, each page numbered at its foot. Needs a QGuiApplication.
QByteArray report_pdf(const ReportData& report);

}  // namespace vesk
