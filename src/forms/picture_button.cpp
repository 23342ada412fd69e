#include "forms/picture_button.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace vesk {

namespace {

QPixmap chevron(bool up) {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(40, 60, 120), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath path;
    if (up) {
        path.moveTo(6, 21);
        path.lineTo(16, 10);
        path.lineTo(26, 21);
    } else {
        path.moveTo(6, 11);
        path.lineTo(16, 22);
        path.lineTo(26, 11);
    }
    painter.drawPath(path);
    return pixmap;
}

}  // namespace

PictureButton::PictureButton(Picture picture, const QString& object_name, QWidget* parent)
    : QToolButton(parent) {
    setObjectName(object_name);
    setIcon(QIcon(chevron(picture == Picture::chevron_up)));
    setIconSize(QSize(32, 32));
    setFixedSize(QSize(33, 33));
    setAutoRaise(true);
    setToolTip(picture == Picture::chevron_up ? tr("Move up") : tr("Move down"));
}

}  // namespace vesk
