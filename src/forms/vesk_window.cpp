#include "forms/vesk_window.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

#include "core/app_state.h"
#include "core/clear_vars.h"
#include "core/error.h"
#include "core/file_input.h"
#include "forms/banner.h"
#include "forms/chitest_window.h"
#include "forms/database_title.h"
#include "forms/datagroup_window.h"
#include "forms/key_codes.h"
#include "forms/named_widget.h"
#include "forms/navigation_bar.h"
#include "forms/runtest_window.h"
#include "forms/secondary_window.h"
#include "forms/variable_grid.h"
#include "forms/variable_table_model.h"
#include "forms/window_geometry.h"
#include "platform/user_interface.h"

namespace vesk {

namespace {

constexpr int max_file_name = 70;

QFrame* rule(const QString& name, QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setObjectName(name);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

}  // namespace

VeskWindow::VeskWindow(AppState& state, UserInterface& ui, QWidget* parent)
    : QWidget(parent), state_(state), ui_(ui) {
    setObjectName(QStringLiteral("vesk"));
    setWindowTitle(database_title(state_.db_conn.path()));
    build_controls();
    grid_ = new VariableGrid(state_, ui_, DataGridX_, AdodcX_, this);
    // The record type's first line, and so the record length, follow the layout.
    connect(grid_->model(), &VariableTableModel::stored, this, &VeskWindow::show_record_length);
    Form_Load();
}

VeskWindow::~VeskWindow() = default;

QLayout* VeskWindow::build_file_names() {
    auto* input_label = named(new QLabel(QStringLiteral("INPUT TEXT FILE NAME:"), this),
                              QStringLiteral("Lblinputfile"));
    inptxt_ = named(new QLineEdit(this), QStringLiteral("inptxt"));
    brow_ = named(new QPushButton(QStringLiteral("brow..."), this), QStringLiteral("brow"));
    auto* output_label =
        named(new QLabel(QStringLiteral("OUTPUT TEXT FILE NAME:"), this), QStringLiteral("Label1"));
    outtxt_ = named(new QLineEdit(this), QStringLiteral("outtxt"));

    auto* files = new QGridLayout;
    files->addWidget(input_label, 0, 0, Qt::AlignRight);
    files->addWidget(inptxt_, 0, 1);
    files->addWidget(brow_, 0, 2);
    files->addWidget(output_label, 1, 0, Qt::AlignRight);
    files->addWidget(outtxt_, 1, 1);
    files->setColumnStretch(1, 1);
    files->setColumnStretch(3, 1);
    return files;
}

QWidget* VeskWindow::build_grid_area() {
    grid_caption_ = named(new QLabel(QStringLiteral("VARIABLE DEFINITION"), this),
                          QStringLiteral("DataGridX_caption"));
    grid_caption_->setAlignment(Qt::AlignCenter);
    grid_caption_->setAutoFillBackground(true);
    grid_caption_->setStyleSheet(
        QStringLiteral("background: palette(dark); color: palette(bright-text); padding: 2px;"));
    DataGridX_ = named(new QTableView(this), QStringLiteral("DataGridX"));
    DataGridX_->setFont(QFont(QStringLiteral("Times New Roman")));
    DataGridX_->setSelectionMode(QAbstractItemView::SingleSelection);
    DataGridX_->setSelectionBehavior(QAbstractItemView::SelectItems);

    // The grid's place is kept while the grid is hidden, so nothing moves when it appears.
    auto* grid_area = new QWidget(this);
    grid_area->setObjectName(QStringLiteral("gridArea"));
    grid_area->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    auto* grid_block = new QVBoxLayout(grid_area);
    grid_block->setContentsMargins(0, 0, 0, 0);
    grid_block->setSpacing(0);
    grid_block->addWidget(grid_caption_);
    grid_block->addWidget(DataGridX_, 1);
    return grid_area;
}

QLayout* VeskWindow::build_test_choice() {
    Optmain_[0] =
        named(new QRadioButton(QStringLiteral("Runtest"), this), QStringLiteral("Optmain_0"));
    Optmain_[1] = named(new QRadioButton(QStringLiteral("Chi Square Test"), this),
                        QStringLiteral("Optmain_1"));
    Cmdproceed_ =
        named(new QPushButton(QStringLiteral("&Proceed"), this), QStringLiteral("Cmdproceed"));
    Cmdexit_ = named(new QPushButton(QStringLiteral("E&xit"), this), QStringLiteral("Cmdexit"));

    auto* options = new QVBoxLayout;
    options->addWidget(Optmain_[0]);
    options->addWidget(Optmain_[1]);
    auto* test_row = new QHBoxLayout;
    test_row->addSpacing(80);
    test_row->addLayout(options);
    test_row->addWidget(Cmdproceed_);
    test_row->addWidget(Cmdexit_);
    test_row->addStretch(1);
    return test_row;
}

void VeskWindow::build_controls() {
    QLayout* files = build_file_names();
    QWidget* grid_area = build_grid_area();
    AdodcX_ = new NavigationBar(this);
    // The start and length checks refer to it.
    Lblreclen_ = named(new QLabel(this), QStringLiteral("Lblreclen"));
    Label6_ = named(
        new QLabel(QStringLiteral("Press ESC twice before leaving blank new record marked *  in "
                                  "the GRID"),
                   this),
        QStringLiteral("Label6"));

    Cmd_clr_var_ = named(new QPushButton(QStringLiteral("&Clear Variables"), this),
                         QStringLiteral("Cmd_clr_var"));
    Refresh_ = named(new QPushButton(QStringLiteral("&Refresh"), this), QStringLiteral("Refresh"));
    Cmdimport_ = named(new QPushButton(QStringLiteral("&Import layout..."), this),
                       QStringLiteral("Cmdimport"));
    Cmdimport_->setToolTip(
        QStringLiteral("Fills the grid from a layout file: CSV, DDI codebook, SPSS, SAS or Stata"));
    fltChk_ = named(new QCheckBox(QStringLiteral("Data Filter"), this), QStringLiteral("fltChk"));
    Lbfilter_ = named(
        new QLabel(QStringLiteral("ENTER FILTER CONDITION BELOW: Eg SEX = 1 AND STATE = '02'"),
                   this),
        QStringLiteral("Lbfilter"));
    Condition_ = named(new QLineEdit(this), QStringLiteral("Condition"));
    Lbfilter_->hide();
    Condition_->hide();
    save_ = named(new QPushButton(QStringLiteral("&Save&&LoadData"), this), QStringLiteral("save"));
    cmdgrp_ = named(new QPushButton(QStringLiteral("&Data Group Variable Definition"), this),
                    QStringLiteral("cmdgrp"));
    QLayout* test_row = build_test_choice();

    auto* filter = new QVBoxLayout;
    filter->addWidget(Lbfilter_);
    filter->addWidget(Condition_);
    auto* grid_buttons = new QHBoxLayout;
    grid_buttons->addWidget(Cmd_clr_var_);
    grid_buttons->addWidget(Refresh_);
    grid_buttons->addWidget(Cmdimport_);
    grid_buttons->addWidget(fltChk_, 0, Qt::AlignTop);
    grid_buttons->addLayout(filter, 1);
    grid_buttons->addLayout(build_load_choices());

    auto* load_row = new QHBoxLayout;
    load_row->addWidget(AdodcX_);
    load_row->addWidget(Lblreclen_);
    load_row->addSpacing(16);
    load_row->addWidget(save_);
    load_row->addStretch(1);

    auto* group_row = new QHBoxLayout;
    group_row->addStretch(1);
    group_row->addWidget(cmdgrp_);
    group_row->addStretch(1);

    auto* page = new QVBoxLayout;
    QWidget* banner = make_banner(this);
    banner->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    page->addWidget(banner);
    page->addWidget(rule(QStringLiteral("Line2"), this));
    page->addLayout(files);
    page->addWidget(rule(QStringLiteral("Line4"), this));
    page->addWidget(grid_area, 1);
    page->addWidget(Label6_);
    page->addLayout(grid_buttons);
    page->addLayout(load_row);
    page->addWidget(rule(QStringLiteral("Line1"), this));
    page->addLayout(group_row);
    page->addWidget(rule(QStringLiteral("Line3"), this));
    page->addLayout(test_row);
    setLayout(page);
    connect_controls();
}

void VeskWindow::connect_controls() {
    inptxt_->installEventFilter(this);
    outtxt_->installEventFilter(this);
    connect(brow_, &QPushButton::clicked, this, &VeskWindow::brow_Click);
    connect(Cmd_clr_var_, &QPushButton::clicked, this, &VeskWindow::Cmd_clr_var_Click);
    connect(Refresh_, &QPushButton::clicked, this, &VeskWindow::Refresh_Click);
    connect(Cmdimport_, &QPushButton::clicked, this, &VeskWindow::Cmdimport_Click);
    connect(fltChk_, &QCheckBox::clicked, this, &VeskWindow::fltChk_Click);
    connect(save_, &QPushButton::clicked, this, &VeskWindow::save_Click);
    connect(cmdgrp_, &QPushButton::clicked, this, &VeskWindow::cmdgrp_Click);
    connect(Cmdproceed_, &QPushButton::clicked, this, &VeskWindow::Cmdproceed_Click);
    connect(Cmdexit_, &QPushButton::clicked, this, &VeskWindow::Cmdexit_Click);
}

void VeskWindow::Form_Load() {
    place_top_left(this);
    inptxt_->clear();
    outtxt_->clear();
    if (!grid_->bind()) {
        AdodcX_Error(grid_->last_error());
    }
    reset_gridX();
    if (grid_->record_count() < 1) {
        grid_->start_new_record(1);
    } else {
        grid_->move_last();
    }
    // The runs test is the usual choice; the user switches to the chi-square test.
    Optmain_[0]->setChecked(true);
    show_grid(false);
}

void VeskWindow::reset_gridX() {
    grid_->reset_gridX();
}

void VeskWindow::show_grid(bool visible) {
    grid_caption_->setVisible(visible);
    DataGridX_->setVisible(visible);
    AdodcX_->setVisible(visible);
    Lblreclen_->setVisible(visible);
    // The import checks positions against the record length, known once a file is named.
    Cmdimport_->setVisible(visible);
}

bool VeskWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && (watched == inptxt_ || watched == outtxt_)) {
        const int key = key_code(static_cast<QKeyEvent*>(event));
        if (watched == inptxt_) {
            inptxt_KeyDown(key);
        } else {
            outtxt_KeyDown(key);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void VeskWindow::take_input_file() {
    read_reclen(state_);
    show_record_length();
    show_grid(true);
}

QString VeskWindow::open_file_name(const QString& filter) {
    // The dialog starts where the current input file is, usually where the next one is too.
    const QString current = QString::fromStdString(state_.inp_file).trimmed();
    return ui_.open_file_name(this, filter,
                              current.isEmpty() ? QString() : QFileInfo(current).absolutePath());
}

void VeskWindow::brow_Click() {
    const QString chosen =
        open_file_name(QStringLiteral("All Files (*.*);;Text Files(*.txt);;Batch Files (*.bat)"));
    if (chosen.isEmpty()) {
        return;
    }
    try {
        require_regular_file(chosen.toStdString());
    } catch (const Error& e) {
        ui_.message(QString::fromStdString(e.what()));
        return;
    }
    inptxt_->setText(chosen);
    state_.inp_file = inptxt_->text().toStdString();
    try {
        take_input_file();
    } catch (const Error&) {
        // A file the dialog offered but that cannot be read ends the command quietly.
    }
}

std::optional<QString> VeskWindow::entered_file_name(const QLineEdit* box, int key) {
    if (key != key_enter && key != key_down) {
        return std::nullopt;
    }
    QString name = box->text().trimmed();
    if (name.size() > max_file_name) {
        alert_msg(ui_, QStringLiteral("File Name Max 70 char pl"));
        return std::nullopt;
    }
    return name;
}

void VeskWindow::inptxt_KeyDown(int key) {
    const std::optional<QString> name = entered_file_name(inptxt_, key);
    if (!name) {
        return;
    }
    try {
        require_regular_file(name->toStdString());
        state_.inp_file = name->toStdString();
        take_input_file();
    } catch (const Error& e) {
        alert_msg(ui_, QString::fromStdString(e.what()));
    }
}

void VeskWindow::outtxt_KeyDown(int key) {
    if (const std::optional<QString> name = entered_file_name(outtxt_, key)) {
        state_.out_file = name->toStdString();
    }
}

void VeskWindow::Cmd_clr_var_Click() {
    grid_->cancel_blank_row();
    clear_vars(state_);
    grid_->bind();  // a failure is told once, by the refresh below
    reset_gridX();
    grid_->requery_to_last(false);
    Refresh_Click();
}

void VeskWindow::Refresh_Click() {
    grid_->cancel_blank_row();
    if (!grid_->requery_to_last()) {
        AdodcX_Error(grid_->last_error());
        return;
    }
    reset_gridX();
}

void VeskWindow::cmdgrp_Click() {
    if (!state_.data_loaded) {
        alert_msg(ui_, QStringLiteral("variables not yet defined"));
        return;
    }
    show_form(form_datagroup);
}

void VeskWindow::Cmdproceed_Click() {
    state_.out_file = outtxt_->text().toStdString();
    if (state_.out_file.empty() || state_.inp_file.empty()) {
        alert_msg(ui_,
                  QStringLiteral("Either input textfile name or output file name not defined"));
        return;
    }
    if (!state_.data_loaded || !state_.grp_frozen) {
        alert_msg(ui_, QStringLiteral("Either Variables or Data Groupining not defined"));
        return;
    }
    for (int i = 0; i < 2; ++i) {
        if (Optmain_[i]->isChecked()) {
            show_form(static_cast<FormSlot>(i + 1));
            return;
        }
    }
}

void VeskWindow::Cmdexit_Click() {
    close();
}

void VeskWindow::AdodcX_Error(const QString& description) {
    ui_.message(description);
}

void VeskWindow::show_form(FormSlot slot) {
    SecondaryWindow* window = nullptr;
    switch (slot) {
        case form_runtest:
            window = new RuntestWindow(state_, ui_, this);
            break;
        case form_chitest:
            window = new ChitestWindow(state_, ui_, this);
            break;
        case form_datagroup:
            window = new DataGroupWindow(state_, ui_, this);
            break;
    }
    if (window) {
        window->open();
    }
}

}  // namespace vesk
