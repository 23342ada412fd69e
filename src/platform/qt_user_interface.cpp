#include "platform/qt_user_interface.h"

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>

#include <algorithm>
#include <cmath>

#include "core/text.h"
#include "platform/message_box_text.h"

namespace vesk {

namespace {

// The widest a message box lets its text be before it breaks lines anywhere, inside names too:
// the whole screen up to 1024 pixels, else the screen less 480 and at most 1000 pixels; less
// room for the box's margins.
int widest_box_text(const QWidget& box) {
    const int screen = box.screen()->availableGeometry().width();
    const int box_width = screen <= 1024 ? screen : std::min(screen - 480, 1000);
    return box_width - 80;
}

// A box with the text and buttons, its paths shown whole (see box_text).
int show_box(const QString& text, QMessageBox::StandardButtons buttons) {
    QMessageBox box(QMessageBox::NoIcon, product_title(), QString(), buttons,
                    QApplication::activeWindow());
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    const QFontMetricsF metrics(label ? label->font() : box.font());
    // Whole pixels up, and one more: the layout places glyphs at fractions of a pixel.
    const auto width = [&metrics](const QString& piece) {
        return static_cast<int>(std::ceil(metrics.horizontalAdvance(piece))) + 1;
    };
    const BoxText shown = box_text(text, width, widest_box_text(box));
    box.setTextFormat(Qt::PlainText);  // a path or a value may hold "<"
    box.setText(shown.text);
    if (label) {
        label->setMinimumWidth(shown.min_width);
    }
    return box.exec();
}

}  // namespace

void QtUserInterface::beep() {
    QApplication::beep();
}

void QtUserInterface::message(const QString& text) {
    show_box(QString::fromStdString(with_newlines(text.toStdString())), QMessageBox::Ok);
}

bool QtUserInterface::ask_yes_no(const QString& text) {
    return show_box(text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

QString QtUserInterface::open_file_name(QWidget* parent, const QString& filter,
                                        const QString& folder) {
    QFileDialog dialog(parent, QStringLiteral("Open"), folder, filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

QString QtUserInterface::save_file_name(QWidget* parent, const QString& suggested,
                                        const QString& filter) {
    QFileDialog dialog(parent, QStringLiteral("Save"), suggested, filter);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.selectFile(suggested);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

}  // namespace vesk
