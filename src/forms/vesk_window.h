#pragma once

#include <QWidget>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;

namespace vesk {

struct AppState;
struct LayoutSource;
struct LineOfType;
struct RecordType;
struct VarDef;
struct LoadSummary;
class LayoutImportDialog;
class RecordTypeBox;
class NavigationBar;
class UserInterface;
class VariableGrid;

// The main window: the input and output file names, the variable grid, the load command and
// filter, the group button and the choice of test. Opening a secondary window hides it.
class VeskWindow : public QWidget {
    Q_OBJECT
  public:
    // The slots of the table of windows the main window opens (slot 0 is its own).
    enum FormSlot { form_runtest = 1, form_chitest = 2, form_datagroup = 3 };

    VeskWindow(AppState& state, UserInterface& ui, QWidget* parent = nullptr);
    ~VeskWindow() override;

    void reset_gridX();
    VariableGrid& grid() { return *grid_; }
    // How long an import runs before its progress dialog shows; a shorter import shows none.
    void set_progress_delay(int milliseconds) { progress_delay_ms_ = milliseconds; }

    // Handlers, named after their control and event.
    void brow_Click();
    void inptxt_KeyDown(int key);
    void outtxt_KeyDown(int key);
    void Cmd_clr_var_Click();
    void Refresh_Click();
    // "Import layout...": a layout file fills the grid, after the variables are ticked.
    void Cmdimport_Click();
    void save_Click();
    void fltChk_Click();
    void cmdgrp_Click();
    void Cmdproceed_Click();
    void Cmdexit_Click();
    // The grid's table could not be read or written: told once, by the command that met it.
    void AdodcX_Error(const QString& description);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void build_controls();
    // The parts of the window: the file names, the grid with its caption, the choice of test.
    QLayout* build_file_names();
    QWidget* build_grid_area();
    QLayout* build_test_choice();
    void connect_controls();
    void Form_Load();
    // Takes over inp_file: reads its record length and shows the grid.
    void take_input_file();
    // The name in a file name box when the key takes it (Enter or Down); a name longer than the
    // limit is refused with an alert.
    std::optional<QString> entered_file_name(const QLineEdit* box, int key);
    void show_grid(bool visible);
    // The file dialog, opened in the folder of the input file.
    QString open_file_name(const QString& filter);
    // Hides this window and opens the secondary window of the slot, when it exists.
    void show_form(FormSlot slot);
    // Runs the import with the share of the file read in a progress dialog, then tells the user
    // what it did.
    void run_load();
    // The record length an imported layout is checked against: that of the input file's first
    // line of the type chosen, when there is one; without a type, of the first line when the
    // layout declares record types (the box then says none), else rec_len as the box has it.
    std::int64_t record_length_of(const LayoutSource& source,
                                  const std::optional<std::string>& type) const;
    // The ticked variables of the import dialog replace the grid's rows; a codebook's record
    // types are offered in the record type box.
    void take_imported_layout(const LayoutImportDialog& dialog, const QString& file_name);
    // The record type box and the line-number key beside the filter.
    QLayout* build_load_choices();
    // The input file's first line of the record type, by the variables of defs; nothing while the
    // file or the type's variable is unknown, or when no line is of that type.
    std::optional<LineOfType> first_line_of(const std::vector<VarDef>& defs,
                                            const RecordType& type) const;
    // Shows rec_len beside the grid. With a record type whose variable the grid holds, rec_len
    // becomes the length of the file's first line of that type, which the cells are checked by.
    // Called again whenever the layout or the record type changes.
    void show_record_length();
    // After a refused load: a line saying that the grid's layout, when it is not the one the data
    // were loaded with, is kept as typed.
    QString layout_kept_note();
    // Asked when the filter has left no record: true lets the empty table replace the data.
    bool replace_with_empty(const LoadSummary& loaded);

    AppState& state_;
    UserInterface& ui_;

    QLineEdit* inptxt_ = nullptr;
    QLineEdit* outtxt_ = nullptr;
    QPushButton* brow_ = nullptr;
    QLabel* grid_caption_ = nullptr;
    QTableView* DataGridX_ = nullptr;
    NavigationBar* AdodcX_ = nullptr;
    QLabel* Lblreclen_ = nullptr;
    QLabel* Label6_ = nullptr;
    QPushButton* Cmd_clr_var_ = nullptr;
    QPushButton* Refresh_ = nullptr;
    QPushButton* Cmdimport_ = nullptr;
    QCheckBox* fltChk_ = nullptr;
    QLabel* Lbfilter_ = nullptr;
    QLineEdit* Condition_ = nullptr;
    RecordTypeBox* recordType_ = nullptr;
    QCheckBox* lineKeyChk_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* cmdgrp_ = nullptr;
    QRadioButton* Optmain_[2] = {nullptr, nullptr};
    QPushButton* Cmdproceed_ = nullptr;
    QPushButton* Cmdexit_ = nullptr;

    VariableGrid* grid_ = nullptr;
    bool loading_ = false;  // a click that arrives while the import runs is ignored
    int progress_delay_ms_ = 400;
};

}  // namespace vesk
