#include "report_print/report_writer.h"

#include <QGuiApplication>

#include <memory>

#include "core/atomic_file.h"
#include "core/error.h"
#include "report/report_format.h"
#include "report/report_html.h"
#include "report_print/numbers_with_a_point.h"
#include "report_print/report_pdf.h"

namespace vesk {

namespace {

// Qt's remarks on the platform it starts (a missing runtime folder, ...) are nothing the batch
// program's user can act on; errors still pass.
QtMessageHandler passed_on = nullptr;

void quiet_handler(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if ((type == QtCriticalMsg || type == QtFatalMsg) && passed_on) {
        passed_on(type, context, text);
    }
}

// A QGuiApplication for the batch program, which has none, for the time of the writing: fonts
// and the PDF writer need one, and the offscreen platform needs no display.
class OffscreenApplication {
  public:
    OffscreenApplication() {
        static char name[] = "vesk-batch";
        static char option[] = "-platform";
        static char platform[] = "offscreen";
        static char* argv[] = {name, option, platform, nullptr};
        static int argc = 0;
        argc = 3;
        passed_on = qInstallMessageHandler(quiet_handler);
        application_ = std::make_unique<QGuiApplication>(argc, argv);
        write_numbers_with_a_point();
    }
    OffscreenApplication(const OffscreenApplication&) = delete;
    OffscreenApplication& operator=(const OffscreenApplication&) = delete;
    ~OffscreenApplication() {
        application_.reset();
        qInstallMessageHandler(passed_on);
    }

  private:
    std::unique_ptr<QGuiApplication> application_;
};

}  // namespace

void write_report(const std::string& path, const ReportData& report) {
    const std::optional<ReportFormat> format = report_format_of(path);
    if (!format) {
        throw Error(report_name_text + path);
    }
    if (*format == ReportFormat::html) {
        write_report_html(path, report);
        return;
    }
    AtomicFile file(path);
    std::optional<OffscreenApplication> own_application;
    if (!QCoreApplication::instance()) {
        own_application.emplace();
    }
    const QByteArray pdf = report_pdf(report);
    file.stream().write(pdf.constData(), pdf.size());
    file.commit();
}

}  // namespace vesk
