#include "report_print/report_pdf.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>

#include "core/error.h"
#include "report/report_chart.h"
#include "report/report_html.h"
#include "report_print/chart_text_object.h"
#include "report_print/grid_lines.h"
#include "report_print/page_breaks.h"

namespace vesk {

namespace {

constexpr int pdf_resolution = 600;  // units per inch of the page's coordinates; all is vectors

QString qtext(const std::string& text) {
    return QString::fromStdString(text);
}

// Puts the chart where the page holds its marker.
void place_chart(QTextDocument& doc, const ReportData& report, const std::string& marker) {
    QTextCursor cursor = doc.find(qtext(marker));
    if (cursor.isNull()) {
        return;  // a run without groups has no chart
    }
    const ChartSize size = report_chart_size(report);
    QTextCharFormat chart;
    chart.setObjectType(ChartTextObject::object_type);
    chart.setProperty(ChartTextObject::svg_property,
                      QByteArray::fromStdString(report_chart_svg(report, SvgUse::standalone)));
    chart.setProperty(ChartTextObject::aspect_property, size.height / size.width);
    cursor.insertText(QString(QChar::ObjectReplacementCharacter), chart);
}

}  // namespace

QByteArray report_pdf(const ReportData& report) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(pdf_resolution);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(16, 14, 16, 12), QPageLayout::Millimeter));
    writer.setTitle(qtext(report.title));
    writer.setCreator(QStringLiteral("vesk ") + qtext(report.version));

    QTextDocument doc;
    ChartTextObject chart_drawer;
    doc.documentLayout()->setPaintDevice(&writer);
    doc.documentLayout()->registerHandler(ChartTextObject::object_type, &chart_drawer);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(9);
    // Without ligatures, so text found or copied in the PDF reads as it was written.
    font.setStyleStrategy(QFont::PreferNoShaping);
    doc.setDefaultFont(font);
    // Lines break between words only, so a table column is never narrower than its longest word.
    QTextOption wrapping = doc.defaultTextOption();
    wrapping.setWrapMode(QTextOption::WordWrap);
    doc.setDefaultTextOption(wrapping);
    const PrintableHtml page = report_html_for_print(report);
    doc.setHtml(qtext(page.html));
    place_chart(doc, report, page.chart_marker);
    single_grid_lines(doc);

    const QRectF area = writer.pageLayout().paintRectPixels(pdf_resolution);
    QFont footer_font = font;
    footer_font.setPointSizeF(7.5);
    const QFontMetricsF footer_metrics(footer_font, &writer);
    const qreal footer = footer_metrics.height() * 2;
    const QSizeF body(area.width(), area.height() - footer);
    doc.setPageSize(body);
    keep_together(doc);

    QPainter painter;
    if (!painter.begin(&writer)) {
        throw Error("cannot print the report as PDF");
    }
    const int pages = doc.pageCount();
    for (int i = 0; i < pages; ++i) {
        if (i > 0) {
            writer.newPage();
        }
        painter.save();
        painter.translate(0, -i * body.height());
        doc.drawContents(&painter, QRectF(0, i * body.height(), body.width(), body.height()));
        painter.restore();
        painter.setFont(footer_font);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(0, area.height() - footer_metrics.height(), area.width(),
                                footer_metrics.height()),
                         Qt::AlignRight | Qt::AlignBottom,
                         QStringLiteral("%1 \u2014 page %2 of %3")
                             .arg(qtext(report.title))
                             .arg(i + 1)
                             .arg(pages));
    }
    painter.end();
    return bytes;
}

}  // namespace vesk
