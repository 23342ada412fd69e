#pragma once

#include <QObject>
#include <QTextObjectInterface>

namespace vesk {

// Draws an SVG chart inside a rich-text document, as vectors, at the width of the text: Qt's
// rich text shows images only as pixels.
class ChartTextObject : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)
  public:
    static constexpr int object_type = QTextFormat::UserObject + 1;
    static constexpr int svg_property = QTextFormat::UserProperty + 1;
    static constexpr int aspect_property = QTextFormat::UserProperty + 2;  // height / width

    using QObject::QObject;

    QSizeF intrinsicSize(QTextDocument* doc, int position, const QTextFormat& format) override;
    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument* doc, int position,
                    const QTextFormat& format) override;
};

}  // namespace vesk
