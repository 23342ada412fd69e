#pragma once

#include <QLabel>
#include <QString>

namespace vesk {

// Gives a new control its object name (the name tests and the handlers know it by) in the
// expression that creates it.
template <typename Widget>
Widget* named(Widget* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

// The bold, centred heading at the top of a secondary window.
inline QLabel* window_title(const QString& text, QWidget* parent) {
    auto* title = named(new QLabel(text, parent), QStringLiteral("Label2"));
    QFont font = title->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.3);
    title->setFont(font);
    title->setAlignment(Qt::AlignCenter);
    return title;
}

}  // namespace vesk
