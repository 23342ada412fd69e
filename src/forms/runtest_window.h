#pragma once

#include "forms/secondary_window.h"

class QComboBox;
class QPushButton;
class QVBoxLayout;

namespace vesk {

struct AppState;
class ResultsPanel;
class UserInterface;

// The runs test window: the sample and the parameter variable are picked from the variable
// names, and Proceed runs the test and writes its result file. Each opening starts with no pick.
class RuntestWindow : public SecondaryWindow {
    Q_OBJECT
  public:
    RuntestWindow(AppState& state, UserInterface& ui, QWidget* main_window);

    // Handlers, named after their control and event.
    void Combo_ss_Click();
    void Combo_par_Click();
    void Cmdproceed_Click();
    void Cmdexit_Click();

  private:
    void build_controls();
    void Form_Load();

    AppState& state_;
    UserInterface& ui_;

    QComboBox* Combo_ss_ = nullptr;
    QComboBox* Combo_par_ = nullptr;
    QPushButton* Cmdproceed_ = nullptr;
    QPushButton* Cmdexit_ = nullptr;
    ResultsPanel* results_ = nullptr;
    // The controls stand at the top; what follows them goes below, in the room left free.
    QVBoxLayout* page_ = nullptr;
};

}  // namespace vesk
