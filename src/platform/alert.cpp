#include "platform/user_interface.h"

namespace vesk {

void alert_msg(UserInterface& ui, const QString& text) {
    for (int i = 0; i < 3; ++i) {
        ui.beep();
    }
    ui.message(text);
}

QString product_title() {
    return QStringLiteral("Vesk sample comparison");
}

}  // namespace vesk
