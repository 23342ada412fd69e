#pragma once

#include <QString>

namespace vesk {

// Gives a new control its object name (the name tests and the handlers know it by) in the
// expression that creates it.
template <typename Widget>
Widget* named(Widget* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

}  // namespace vesk
