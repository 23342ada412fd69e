#include "report_print/chart_text_object.h"

#include <QPainter>
#include <QSvgRenderer>
#include <QTextDocument>

#include <algorithm>

namespace vesk {

QSizeF ChartTextObject::intrinsicSize(QTextDocument* doc, int, const QTextFormat& format) {
    const qreal width = doc->textWidth() - 2 * doc->documentMargin() - 2;
    const qreal aspect = format.doubleProperty(aspect_property);
    // A chart taller than most of a page would be cut; it shrinks to fit instead.
    const qreal page_height = doc->pageSize().height();
    const qreal height = std::min(width * aspect, page_height > 0 ? page_height * 0.8 : width);
    return {aspect > 0 ? height / aspect : width, height};
}

void ChartTextObject::drawObject(QPainter* painter, const QRectF& rect, QTextDocument*, int,
                                 const QTextFormat& format) {
    QSvgRenderer renderer(format.property(svg_property).toByteArray());
    renderer.render(painter, rect);
}

}  // namespace vesk
