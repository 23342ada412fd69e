#include "forms/chitest_window.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

#include "chitest/chi_test.h"
#include "chitest/class_lines.h"
#include "chitest/list_par_values.h"
#include "chitest/suggest_classes.h"
#include "core/app_state.h"
#include "core/find_variable.h"
#include "core/number_text.h"
#include "forms/busy_cursor.h"
#include "forms/list_pair.h"
#include "forms/named_widget.h"
#include "forms/picture_button.h"
#include "forms/results_panel.h"
#include "platform/user_interface.h"

namespace vesk {

namespace {

const QString freeze_caption = QStringLiteral("&Freeze Class Definition");
const QString unfreeze_caption = QStringLiteral("&UnFreeze Class Definition");
const QString pick_parameter_caption = QStringLiteral("Pick the test parameter to list its values");

QString qtext(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

ChitestWindow::ChitestWindow(AppState& state, UserInterface& ui, QWidget* main_window)
    : SecondaryWindow(main_window, QStringLiteral("chitest"), QStringLiteral("chi squrare test")),
      state_(state),
      ui_(ui) {
    build_controls();
    Form_Load();
}

void ChitestWindow::build_controls() {
    auto* title =
        window_title(QStringLiteral("CHI-SQUARE TEST: Formation of Class for the parameter"), this);
    auto* sample_label =
        named(new QLabel(QStringLiteral("Sample vaiable:"), this), QStringLiteral("Label5"));
    Combo_ss_ = named(new QComboBox(this), QStringLiteral("Combo_ss"));
    auto* param_label = named(new QLabel(QStringLiteral("Test Parameter vaiable:"), this),
                              QStringLiteral("Label6"));
    Combo_par_ = named(new QComboBox(this), QStringLiteral("Combo_par"));
    QLayout* lists = build_lists();
    QLayout* freeze_row = build_class_commands();
    Cmdproceed_ =
        named(new QPushButton(QStringLiteral("&Proceed"), this), QStringLiteral("Cmdproceed"));
    Cmdexit_ = named(new QPushButton(QStringLiteral("E&xit"), this), QStringLiteral("Cmdexit"));

    auto* variables = new QHBoxLayout;
    variables->addWidget(sample_label);
    variables->addWidget(Combo_ss_, 1);
    variables->addSpacing(24);
    variables->addWidget(param_label);
    variables->addWidget(Combo_par_, 1);
    variables->addStretch(1);

    auto* command_row = new QHBoxLayout;
    command_row->addSpacing(100);
    command_row->addWidget(Cmdproceed_);
    command_row->addWidget(Cmdexit_);
    command_row->addStretch(1);

    // The classes and the results share the height: on a small screen the results take most of
    // it (the lists keep a few lines), and the user can move the line between them.
    auto* classes = named(new QWidget(this), QStringLiteral("classForming"));
    auto* classes_page = new QVBoxLayout(classes);
    classes_page->setContentsMargins(0, 0, 0, 0);
    classes_page->addLayout(lists, 1);
    classes_page->addLayout(freeze_row);
    classes_page->addSpacing(8);
    classes_page->addLayout(command_row);
    results_ = new ResultsPanel(state_, ui_, TestKind::chi_square, this);
    auto* split = named(new QSplitter(Qt::Vertical, this), QStringLiteral("classResultSplit"));
    split->addWidget(classes);
    split->addWidget(results_);
    split->setChildrenCollapsible(false);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 2);

    auto* page = new QVBoxLayout;
    page->addWidget(title);
    page->addSpacing(8);
    page->addLayout(variables);
    page->addSpacing(8);
    page->addWidget(split, 1);
    setLayout(page);
    connect_controls();
}

QLayout* ChitestWindow::build_lists() {
    // The "#" columns line up under their headings only in a fixed-pitch font.
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setFixedPitch(true);
    lblistpar_ = named(new QLabel(pick_parameter_caption, this), QStringLiteral("lblistpar"));
    listpar_ = named(new QListWidget(this), QStringLiteral("listpar"));
    listpar_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    cmdadd_ = named(new QPushButton(QStringLiteral("&Add >"), this), QStringLiteral("cmdadd"));
    Cmdremove_ =
        named(new QPushButton(QStringLiteral("< &Remove"), this), QStringLiteral("Cmdremove"));
    lblistclass_ = named(new QLabel(this), QStringLiteral("lblistclass"));
    Listclass_ = named(new QListWidget(this), QStringLiteral("Listclass"));
    Listclass_->setSelectionMode(QAbstractItemView::SingleSelection);
    for (QWidget* widget :
         std::initializer_list<QWidget*>{lblistpar_, listpar_, lblistclass_, Listclass_}) {
        widget->setFont(fixed);
    }
    for (QListWidget* list : {listpar_, Listclass_}) {
        list->setMinimumHeight(4 * list->fontMetrics().lineSpacing() + 2 * list->frameWidth());
    }
    auto* reorder_label =
        named(new QLabel(QStringLiteral("Reorder  classes"), this), QStringLiteral("Label4"));
    Picture1_ =
        new PictureButton(PictureButton::Picture::chevron_up, QStringLiteral("Picture1"), this);
    auto* priority_label =
        named(new QLabel(QStringLiteral("priority"), this), QStringLiteral("Label1"));
    Picture2_ =
        new PictureButton(PictureButton::Picture::chevron_down, QStringLiteral("Picture2"), this);

    auto* add_remove = new QVBoxLayout;
    add_remove->addWidget(cmdadd_);
    add_remove->addWidget(Cmdremove_);
    add_remove->addStretch(1);

    auto* reorder = new QVBoxLayout;
    reorder->addWidget(Picture1_, 0, Qt::AlignHCenter);
    reorder->addWidget(priority_label, 0, Qt::AlignHCenter);
    reorder->addWidget(Picture2_, 0, Qt::AlignHCenter);
    reorder->addStretch(1);

    auto* lists = new QGridLayout;
    lists->addWidget(lblistpar_, 0, 0);
    lists->addWidget(lblistclass_, 0, 2);
    lists->addWidget(reorder_label, 0, 3, Qt::AlignHCenter);
    lists->addWidget(listpar_, 1, 0);
    lists->addLayout(add_remove, 1, 1);
    lists->addWidget(Listclass_, 1, 2);
    lists->addLayout(reorder, 1, 3);
    lists->setColumnStretch(0, 3);
    lists->setColumnStretch(2, 7);
    lists->setColumnStretch(4, 2);
    return lists;
}

QLayout* ChitestWindow::build_class_commands() {
    cmdclass_ = named(new QPushButton(freeze_caption, this), QStringLiteral("cmdclass"));
    auto* expected_label = named(new QLabel(QStringLiteral("Smallest expected count:"), this),
                                 QStringLiteral("lblexpected"));
    txtexpected_ = named(new QLineEdit(QStringLiteral("5"), this), QStringLiteral("txtexpected"));
    txtexpected_->setMaximumWidth(80);
    expected_label->setBuddy(txtexpected_);
    cmdsuggest_ =
        named(new QPushButton(QStringLiteral("&Suggest"), this), QStringLiteral("cmdsuggest"));

    auto* freeze_row = new QHBoxLayout;
    freeze_row->addSpacing(160);
    freeze_row->addWidget(cmdclass_);
    freeze_row->addSpacing(24);
    freeze_row->addWidget(expected_label);
    freeze_row->addWidget(txtexpected_);
    freeze_row->addWidget(cmdsuggest_);
    freeze_row->addStretch(1);
    return freeze_row;
}

void ChitestWindow::connect_controls() {
    connect(Combo_ss_, &QComboBox::activated, this, &ChitestWindow::Combo_ss_Click);
    connect(Combo_par_, &QComboBox::activated, this, &ChitestWindow::Combo_par_Click);
    connect(cmdadd_, &QPushButton::clicked, this, &ChitestWindow::cmdadd_Click);
    connect(Cmdremove_, &QPushButton::clicked, this, &ChitestWindow::Cmdremove_Click);
    connect(Picture1_, &QToolButton::clicked, this, &ChitestWindow::Picture1_Click);
    connect(Picture2_, &QToolButton::clicked, this, &ChitestWindow::Picture2_Click);
    connect(cmdclass_, &QPushButton::clicked, this, &ChitestWindow::cmdclass_Click);
    connect(cmdsuggest_, &QPushButton::clicked, this, &ChitestWindow::cmdsuggest_Click);
    connect(Cmdproceed_, &QPushButton::clicked, this, &ChitestWindow::Cmdproceed_Click);
    connect(Cmdexit_, &QPushButton::clicked, this, &ChitestWindow::Cmdexit_Click);
}

void ChitestWindow::Form_Load() {
    for (const VarDef& def : state_.var_defs) {
        Combo_par_->addItem(qtext(def.name));
        Combo_ss_->addItem(qtext(def.name));
    }
    Combo_par_->setCurrentIndex(-1);
    Combo_ss_->setCurrentIndex(-1);
    show_classes();  // the heading of an empty list
    state_.sample_set = false;
    state_.param_set = false;
    state_.class_frozen = false;
}

void ChitestWindow::Combo_ss_Click() {
    state_.sample_var = Combo_ss_->currentText().toStdString();
    state_.sample_set = true;
}

void ChitestWindow::Combo_par_Click() {
    state_.param_var = Combo_par_->currentText().toStdString();
    state_.param_set = true;
    list_par_values();
}

void ChitestWindow::list_par_values() {
    scheme_ = ClassScheme();
    listpar_->clear();
    show_classes();
    lblistpar_->setText(pick_parameter_caption);
    try {
        vesk::list_par_values(state_);
    } catch (const std::exception& e) {
        ui_.message(QString::fromStdString(e.what()));
        return;
    }
    const VarDef* def = find_variable(state_, state_.param_var);
    lblistpar_->setText(qtext(value_heading(state_.param_var, def ? def->length : 0)));
    scheme_ = ClassScheme(state_.par_vals.size());
    show_unclassified();
}

void ChitestWindow::show_unclassified() {
    QStringList texts;
    for (const std::size_t value : scheme_.unclassified()) {
        texts.append(qtext(value_line(state_.par_vals[value])));
    }
    listpar_->clear();
    listpar_->addItems(texts);  // one insertion, not one per line
}

void ChitestWindow::show_classes(int current) {
    std::vector<ListedClass> classes;
    for (std::size_t k = 0; k < scheme_.classes().size(); ++k) {
        const std::vector<ParValue> members = scheme_.members(k, state_.par_vals);
        classes.push_back({make_class(members).values, total_frequency(members)});
    }
    const ClassListText text = class_list_text(classes);
    lblistclass_->setText(qtext(text.heading));
    QStringList lines;
    for (const std::string& line : text.lines) {
        lines.append(qtext(line));
    }
    Listclass_->clear();
    Listclass_->addItems(lines);
    if (current >= 0 && current < Listclass_->count()) {
        Listclass_->setCurrentRow(current);
    }
}

void ChitestWindow::cmdadd_Click() {
    const std::vector<std::size_t> unclassified = scheme_.unclassified();
    std::vector<std::size_t> values;
    for (const int row : selected_rows(listpar_)) {
        values.push_back(unclassified.at(static_cast<std::size_t>(row)));
    }
    if (values.empty()) {
        return;
    }
    scheme_.add_class(std::move(values));
    show_classes();
    show_unclassified();
}

void ChitestWindow::Cmdremove_Click() {
    const std::vector<int> rows = selected_rows(Listclass_);
    if (rows.empty()) {
        return;
    }
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        scheme_.remove_class(static_cast<std::size_t>(*row));
    }
    show_classes();
    show_unclassified();
}

void ChitestWindow::move_selected_class(int step) {
    const std::vector<int> rows = selected_rows(Listclass_);
    if (rows.empty()) {
        return;
    }
    const int target = rows.front() + step;
    if (target < 0 || target >= Listclass_->count()) {
        return;
    }
    scheme_.swap_classes(static_cast<std::size_t>(rows.front()), static_cast<std::size_t>(target));
    show_classes(target);  // the lines are numbered by place
}

void ChitestWindow::Picture1_Click() {
    move_selected_class(-1);
}

void ChitestWindow::Picture2_Click() {
    move_selected_class(1);
}

void ChitestWindow::cmdclass_Click() {
    results_->clear();  // the shown results belong to the classes about to change
    if (!scheme_.complete()) {
        alert_msg(ui_, QStringLiteral("Some parameter values are not classified"));
        state_.class_frozen = false;
        return;
    }
    if (scheme_.classes().empty()) {
        alert_msg(ui_, QStringLiteral("No Classes are formed"));
        state_.class_frozen = false;
        return;
    }
    state_.class_defs.clear();
    if (!frozen_) {
        state_.class_defs = scheme_.class_defs(state_.par_vals);
        set_frozen(true);
    } else {
        set_frozen(false);
    }
}

void ChitestWindow::cmdsuggest_Click() {
    if (!state_.sample_set || !state_.param_set) {
        alert_msg(ui_, QStringLiteral("Either sample or Parameter class not defined"));
        return;
    }
    const auto min_expected = parse_number(txtexpected_->text().toStdString());
    if (!min_expected || !(*min_expected > 0)) {
        alert_msg(ui_, QStringLiteral("The smallest expected count must be a number above 0"));
        return;
    }
    const std::size_t formed = scheme_.classes().size();
    if (formed > 0 &&
        !ui_.ask_yes_no(QStringLiteral("Replace the %1 formed with the suggested classes?")
                            .arg(formed == 1 ? QStringLiteral("class")
                                             : QStringLiteral("%1 classes").arg(formed)))) {
        return;
    }
    ClassSuggestion suggestion;
    try {
        const BusyCursor busy;
        suggestion = suggest_classes(state_, *min_expected);
    } catch (const std::exception& e) {
        ui_.message(QString::fromStdString(e.what()));
        return;
    }
    scheme_ = suggestion.scheme;
    show_classes();
    show_unclassified();
    QStringList notes;
    if (suggestion.joined_from > 0) {
        notes << qtext(joined_text(suggestion));
    }
    if (!suggestion.left_out.empty()) {
        QString text = QStringLiteral("Left out of the suggestion:");
        for (const LeftOutGroup& group : suggestion.left_out) {
            text += QStringLiteral("\n") + qtext(left_out_text(group, *min_expected));
        }
        notes << text;
    }
    if (!notes.empty()) {
        ui_.message(notes.join(QStringLiteral("\n\n")));
    }
}

void ChitestWindow::set_frozen(bool frozen) {
    // Add and Remove too: changing the lines of frozen classes would leave the window showing
    // classes other than the ones a run uses, with no way left to unfreeze.
    for (QWidget* control :
         std::initializer_list<QWidget*>{listpar_, Listclass_, Picture1_, Picture2_, Combo_ss_,
                                         Combo_par_, cmdadd_, Cmdremove_, cmdsuggest_}) {
        control->setEnabled(!frozen);
    }
    frozen_ = frozen;
    cmdclass_->setText(frozen ? unfreeze_caption : freeze_caption);
    state_.class_frozen = frozen;
}

void ChitestWindow::Cmdproceed_Click() {
    if (!state_.sample_set || !state_.class_frozen) {
        alert_msg(ui_, QStringLiteral("Either sample or Parameter class not defined"));
        return;
    }
    results_->run([this] { return run_chi_test(state_); });
}

void ChitestWindow::Cmdexit_Click() {
    close();
}

}  // namespace vesk
