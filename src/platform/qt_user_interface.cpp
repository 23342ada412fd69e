#include "platform/qt_user_interface.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

#include "core/text.h"

namespace vesk {

void QtUserInterface::beep() {
    QApplication::beep();
}

void QtUserInterface::message(const QString& text) {
    const QString shown = QString::fromStdString(with_newlines(text.toStdString()));
    QMessageBox box(QMessageBox::NoIcon, product_title(), shown, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

bool QtUserInterface::ask_yes_no(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, product_title(), text, QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    return box.exec() == QMessageBox::Yes;
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
