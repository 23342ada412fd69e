#pragma once

#include <cstddef>

#include "chitest/class_scheme.h"
#include "forms/secondary_window.h"

class QComboBox;
class QLabel;
class QLayout;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace vesk {

struct AppState;
class PictureButton;
class ResultsPanel;
class UserInterface;

// The chi-square window: picks the sample and the parameter, lists the parameter's values with
// their frequencies, forms classes of them, orders and freezes the classes, and runs the test.
// The two lists show the class scheme: its values in no class and its classes.
class ChitestWindow : public SecondaryWindow {
    Q_OBJECT
  public:
    ChitestWindow(AppState& state, UserInterface& ui, QWidget* main_window);

    // Handlers, named after their control and event.
    void Combo_ss_Click();
    void Combo_par_Click();
    void cmdadd_Click();
    void Cmdremove_Click();
    void Picture1_Click();
    void Picture2_Click();
    void cmdclass_Click();
    void cmdsuggest_Click();
    void Cmdproceed_Click();
    void Cmdexit_Click();

  private:
    void build_controls();
    // The parts of the window: the value and class lists with the moves between them, the
    // commands on the classes (freeze, suggest).
    QLayout* build_lists();
    QLayout* build_class_commands();
    void connect_controls();
    void Form_Load();
    void list_par_values();
    // Fills listpar with the value lines of the values in no class.
    void show_unclassified();
    // Fills Listclass and its heading with the scheme's classes, the line at row current (if any)
    // selected.
    void show_classes(int current = -1);
    // Moves the selected class one place up (step -1) or down (1), in the scheme and the list.
    void move_selected_class(int step);
    void set_frozen(bool frozen);

    AppState& state_;
    UserInterface& ui_;
    ClassScheme scheme_;
    bool frozen_ = false;  // the caption of cmdclass follows it

    QComboBox* Combo_ss_ = nullptr;
    QComboBox* Combo_par_ = nullptr;
    QLabel* lblistpar_ = nullptr;
    QListWidget* listpar_ = nullptr;
    QPushButton* cmdadd_ = nullptr;
    QPushButton* Cmdremove_ = nullptr;
    QLabel* lblistclass_ = nullptr;
    QListWidget* Listclass_ = nullptr;
    PictureButton* Picture1_ = nullptr;
    PictureButton* Picture2_ = nullptr;
    QPushButton* cmdclass_ = nullptr;
    QLineEdit* txtexpected_ = nullptr;
    QPushButton* cmdsuggest_ = nullptr;
    QPushButton* Cmdproceed_ = nullptr;
    QPushButton* Cmdexit_ = nullptr;
    ResultsPanel* results_ = nullptr;
};

}  // namespace vesk
