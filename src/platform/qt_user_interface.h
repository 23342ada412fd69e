#pragma once

#include "platform/user_interface.h"

namespace vesk {

// The real thing: Qt message boxes, the system beep and the Qt file dialog.
class QtUserInterface : public UserInterface {
  public:
    void beep() override;
    void message(const QString& text) override;
    bool ask_yes_no(const QString& text) override;
    QString open_file_name(QWidget* parent, const QString& filter, const QString& folder) override;
    QString save_file_name(QWidget* parent, const QString& suggested,
                           const QString& filter) override;
};

}  // namespace vesk
