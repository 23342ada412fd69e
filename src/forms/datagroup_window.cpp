#include "forms/datagroup_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <initializer_list>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/text.h"
#include "forms/list_pair.h"
#include "forms/named_widget.h"
#include "forms/picture_button.h"
#include "platform/user_interface.h"

namespace vesk {

namespace {

const QString freeze_caption = QStringLiteral("&Freeze Group variables");
const QString unfreeze_caption = QStringLiteral("&UnFreeze Group variables");

QListWidget* variable_list(const QString& name, QAbstractItemView::SelectionMode mode,
                           QWidget* parent) {
    auto* list = named(new QListWidget(parent), name);
    list->setSelectionMode(mode);
    list->setSortingEnabled(false);
    return list;
}

}  // namespace

DataGroupWindow::DataGroupWindow(AppState& state, UserInterface& ui, QWidget* main_window)
    : SecondaryWindow(main_window, QStringLiteral("datagroup"), QStringLiteral("Data grouping")),
      state_(state),
      ui_(ui) {
    build_controls();
    Form_Load();
}

void DataGroupWindow::build_controls() {
    auto* title = window_title(QStringLiteral("Formation of Group vaiables "), this);
    auto* available_label = named(new QLabel(QStringLiteral("List of available vaiables"), this),
                                  QStringLiteral("Label1"));
    auto* group_label = named(new QLabel(QStringLiteral("List of group Variables"), this),
                              QStringLiteral("Label3"));
    auto* reorder_label = named(new QLabel(QStringLiteral("Reorder  group Variables"), this),
                                QStringLiteral("Label4"));
    auto* priority_label =
        named(new QLabel(QStringLiteral("priority"), this), QStringLiteral("Label7"));

    listvar_ = variable_list(QStringLiteral("listvar"), QAbstractItemView::ExtendedSelection, this);
    Listgrp_ = variable_list(QStringLiteral("Listgrp"), QAbstractItemView::SingleSelection, this);
    cmdadd_ = named(new QPushButton(QStringLiteral("&Add >"), this), QStringLiteral("cmdadd"));
    Cmdremove_ =
        named(new QPushButton(QStringLiteral("< &Remove"), this), QStringLiteral("Cmdremove"));
    Picture1_ =
        new PictureButton(PictureButton::Picture::chevron_up, QStringLiteral("Picture1"), this);
    Picture2_ =
        new PictureButton(PictureButton::Picture::chevron_down, QStringLiteral("Picture2"), this);
    cmdgrp_ = named(new QPushButton(freeze_caption, this), QStringLiteral("cmdgrp"));
    Cmdexit_ = named(new QPushButton(QStringLiteral("E&xit"), this), QStringLiteral("Cmdexit"));

    auto* move_buttons = new QVBoxLayout;
    move_buttons->addSpacing(8);
    move_buttons->addWidget(cmdadd_);
    move_buttons->addSpacing(40);
    move_buttons->addWidget(Cmdremove_);
    move_buttons->addStretch(1);

    auto* reorder = new QVBoxLayout;
    reorder->addSpacing(8);
    reorder->addWidget(reorder_label);
    reorder->addWidget(Picture1_);
    reorder->addWidget(priority_label);
    reorder->addWidget(Picture2_);
    reorder->addStretch(1);

    auto* lists = new QGridLayout;
    lists->setHorizontalSpacing(16);
    lists->addWidget(available_label, 0, 0);
    lists->addWidget(group_label, 0, 2);
    lists->addWidget(listvar_, 1, 0);
    lists->addLayout(move_buttons, 1, 1);
    lists->addWidget(Listgrp_, 1, 2);
    lists->addLayout(reorder, 1, 3);
    lists->setColumnStretch(0, 1);
    lists->setColumnStretch(2, 1);
    lists->setRowStretch(1, 1);

    auto* commands = new QHBoxLayout;
    commands->addStretch(1);
    commands->addWidget(cmdgrp_);
    commands->addSpacing(24);
    commands->addWidget(Cmdexit_);
    commands->addStretch(1);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(48, 16, 48, 24);
    page->addWidget(title);
    page->addSpacing(16);
    page->addLayout(lists, 1);
    page->addSpacing(16);
    page->addLayout(commands);

    connect(cmdadd_, &QPushButton::clicked, this, &DataGroupWindow::cmdadd_Click);
    connect(Cmdremove_, &QPushButton::clicked, this, &DataGroupWindow::Cmdremove_Click);
    connect(Picture1_, &QToolButton::clicked, this, &DataGroupWindow::Picture1_Click);
    connect(Picture2_, &QToolButton::clicked, this, &DataGroupWindow::Picture2_Click);
    connect(cmdgrp_, &QPushButton::clicked, this, &DataGroupWindow::cmdgrp_Click);
    connect(Cmdexit_, &QPushButton::clicked, this, &DataGroupWindow::Cmdexit_Click);
}

void DataGroupWindow::Form_Load() {
    // The last frozen list is not shown again: it stays in force in grp_vars until the next
    // freeze, whatever grp_frozen holds.
    for (const VarDef& var : state_.var_defs) {
        listvar_->addItem(QString::fromStdString(var.name));
    }
    select_first(listvar_);
}

void DataGroupWindow::cmdadd_Click() {
    move_selected(listvar_, Listgrp_);
    select_first(listvar_);
}

void DataGroupWindow::Cmdremove_Click() {
    move_selected(Listgrp_, listvar_);
    select_first(listvar_);
}

void DataGroupWindow::Picture1_Click() {
    move_selected_up(Listgrp_);
}

void DataGroupWindow::Picture2_Click() {
    move_selected_down(Listgrp_);
}

void DataGroupWindow::cmdgrp_Click() {
    if (Listgrp_->count() == 0) {
        alert_msg(ui_, QStringLiteral("No Group variables are formmed"));
        state_.grp_frozen = false;
        return;
    }
    if (frozen_) {
        show_frozen(false);
        state_.grp_frozen = false;
        return;
    }
    std::vector<std::string> names;
    for (int i = 0; i < Listgrp_->count(); ++i) {
        names.emplace_back(trim(Listgrp_->item(i)->text().toStdString()));
    }
    state_.grp_vars = join(names, ", ");
    state_.grp_frozen = true;
    show_frozen(true);
}

void DataGroupWindow::show_frozen(bool frozen) {
    frozen_ = frozen;
    // Add and Remove too, as in the class window: a list changed while frozen would show other
    // groups than the ones the tests use.
    for (QWidget* control : std::initializer_list<QWidget*>{listvar_, Listgrp_, Picture1_,
                                                            Picture2_, cmdadd_, Cmdremove_}) {
        control->setEnabled(!frozen);
    }
    cmdgrp_->setText(frozen ? unfreeze_caption : freeze_caption);
}

void DataGroupWindow::Cmdexit_Click() {
    close();
}

}  // namespace vesk
