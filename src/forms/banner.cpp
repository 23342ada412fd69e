#include "forms/banner.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>

#include "platform/user_interface.h"

namespace vesk {

namespace {

// Two bars side by side, one per sample: the program compares the two.
QPixmap emblem(int width, int height) {
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(40, 60, 120));
    painter.drawRect(QRectF(width * 0.15, height * 0.30, width * 0.30, height * 0.60));
    painter.setBrush(QColor(200, 120, 40));
    painter.drawRect(QRectF(width * 0.55, height * 0.15, width * 0.30, height * 0.75));
    return pixmap;
}

QPixmap square(const QColor& colour) {
    QPixmap pixmap(25, 25);
    pixmap.fill(colour);
    return pixmap;
}

QLabel* picture(const QString& name, const QPixmap& pixmap, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setPixmap(pixmap);
    return label;
}

QLabel* text(const QString& name, const QString& caption, int point_size, QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(point_size);
    font.setBold(point_size > 12);
    label->setFont(font);
    return label;
}

}  // namespace

QWidget* make_banner(QWidget* parent) {
    auto* banner = new QWidget(parent);
    banner->setObjectName(QStringLiteral("banner"));

    auto* band = new QFrame(banner);
    band->setObjectName(QStringLiteral("Label25"));
    band->setFixedHeight(9);
    band->setStyleSheet(QStringLiteral("background: #a0a0a0;"));

    auto* row = new QHBoxLayout;
    row->addWidget(picture(QStringLiteral("Picture4"), square(QColor(40, 60, 120)), banner));
    row->addWidget(picture(QStringLiteral("Picture3"), square(QColor(200, 120, 40)), banner));
    row->addWidget(picture(QStringLiteral("Picture2"), square(QColor(120, 160, 80)), banner));
    row->addSpacing(24);
    row->addWidget(picture(QStringLiteral("Picture5"), emblem(41, 65), banner));
    row->addSpacing(12);
    row->addWidget(text(QStringLiteral("Label2"), product_title(), 16, banner));
    row->addStretch(1);
    auto* maker = new QVBoxLayout;
    maker->addWidget(
        text(QStringLiteral("Label3"), QStringLiteral("Survey statistics"), 10, banner));
    maker->addWidget(text(QStringLiteral("Label19"),
                          QStringLiteral("Central and state sample comparison"), 10, banner));
    row->addLayout(maker);

    auto* layout = new QVBoxLayout(banner);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(band);
    layout->addLayout(row);
    return banner;
}

}  // namespace vesk
