#pragma once

#include "forms/secondary_window.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace vesk {

struct AppState;
class PictureButton;
class UserInterface;

// The group window: the user moves loaded variables into the group list, orders them by
// priority and freezes the list into grp_vars. Every opening starts with an empty group list.
class DataGroupWindow : public SecondaryWindow {
    Q_OBJECT
  public:
    DataGroupWindow(AppState& state, UserInterface& ui, QWidget* main_window);

    // Handlers, named after their control and event.
    void cmdadd_Click();
    void Cmdremove_Click();
    void Picture1_Click();
    void Picture2_Click();
    void cmdgrp_Click();
    void Cmdexit_Click();

  private:
    void build_controls();
    void Form_Load();
    // Frozen: the lists, the pictures, Add and Remove are disabled.
    void show_frozen(bool frozen);

    AppState& state_;
    UserInterface& ui_;
    bool frozen_ = false;  // the caption of cmdgrp follows it

    QListWidget* listvar_ = nullptr;
    QListWidget* Listgrp_ = nullptr;
    QPushButton* cmdadd_ = nullptr;
    QPushButton* Cmdremove_ = nullptr;
    PictureButton* Picture1_ = nullptr;
    PictureButton* Picture2_ = nullptr;
    QPushButton* cmdgrp_ = nullptr;
    QPushButton* Cmdexit_ = nullptr;
};

}  // namespace vesk
