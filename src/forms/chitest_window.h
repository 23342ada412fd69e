#pragma once

#include <QVariantList>
#include <vector>

#include "forms/secondary_window.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace vesk {

struct AppState;
struct ParValue;
class PictureButton;
class ResultsPanel;
class UserInterface;

// The chi-square window: picks the sample and the parameter, lists the parameter's values with
// their frequencies, forms classes of them, orders and freezes the classes, and runs the test.
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
    void Form_Load();
    void list_par_values();
    // Fills listpar with the value lines of these entries of par_vals, in their order.
    void set_value_lines(std::vector<int> indexes);
    // Adds the class line of these entries of par_vals at the end of Listclass.
    void append_class_line(const QVariantList& indexes);
    std::vector<ParValue> class_members(const QListWidgetItem* class_line) const;
    void set_frozen(bool frozen);

    AppState& state_;
    UserInterface& ui_;
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
