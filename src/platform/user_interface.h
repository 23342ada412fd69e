#pragma once

#include <QString>

class QWidget;

namespace vesk {

// Everything the windows say to the user or ask of them goes through here, so tests can record
// the texts and answer the questions instead of showing boxes.
class UserInterface {
  public:
    virtual ~UserInterface() = default;

    virtual void beep() = 0;
    // A box with the text and an OK button, titled with the product title.
    virtual void message(const QString& text) = 0;
    // A box with the text and the buttons Yes and No; true for Yes.
    virtual bool ask_yes_no(const QString& text) = 0;
    // The file-open dialog, showing the folder first; filter holds the choices separated by
    // ";;". Empty when cancelled.
    virtual QString open_file_name(QWidget* parent, const QString& filter,
                                   const QString& folder) = 0;
    // The file-save dialog, offering suggested; filter as above. Empty when cancelled.
    virtual QString save_file_name(QWidget* parent, const QString& suggested,
                                   const QString& filter) = 0;
};

// Three beeps, then the message box.
void alert_msg(UserInterface& ui, const QString& text);

// The title of the program's windows and message boxes.
QString product_title();

}  // namespace vesk
