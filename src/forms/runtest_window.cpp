#include "forms/runtest_window.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <string>

#include "core/app_state.h"
#include "forms/named_widget.h"
#include "forms/results_panel.h"
#include "platform/user_interface.h"
#include "runtest/runs_test.h"

namespace vesk {

namespace {

// The latest pick in a list: the variable's name, and the flag that says the list was used.
void take_pick(const QComboBox& combo, std::string& name, bool& picked) {
    if (combo.currentIndex() >= 0) {
        name = combo.currentText().toStdString();
        picked = true;
    }
}

}  // namespace

RuntestWindow::RuntestWindow(AppState& state, UserInterface& ui, QWidget* main_window)
    : SecondaryWindow(main_window, QStringLiteral("runtest"), QStringLiteral("Run Test")),
      state_(state),
      ui_(ui) {
    build_controls();
    Form_Load();
}

void RuntestWindow::build_controls() {
    QLabel* title =
        window_title(QStringLiteral("WALD WOOLFWITZ RUN TEST FOR CENTAL AND STATE SAMPLE"), this);

    Combo_ss_ = new QComboBox(this);
    Combo_ss_->setObjectName(QStringLiteral("Combo_ss"));
    Combo_par_ = new QComboBox(this);
    Combo_par_->setObjectName(QStringLiteral("Combo_par"));
    for (QComboBox* combo : {Combo_ss_, Combo_par_}) {
        combo->setMinimumWidth(160);
    }
    Cmdproceed_ = new QPushButton(QStringLiteral("&Proceed"), this);
    Cmdproceed_->setObjectName(QStringLiteral("Cmdproceed"));
    Cmdexit_ = new QPushButton(QStringLiteral("E&xit"), this);
    Cmdexit_->setObjectName(QStringLiteral("Cmdexit"));

    auto* picks = new QHBoxLayout;
    picks->addStretch(1);
    picks->addWidget(
        named(new QLabel(QStringLiteral("Sample vaiable:"), this), QStringLiteral("Label5")));
    picks->addWidget(Combo_ss_);
    picks->addSpacing(24);
    picks->addWidget(named(new QLabel(QStringLiteral("Test Parameter vaiable:"), this),
                           QStringLiteral("Label6")));
    picks->addWidget(Combo_par_);
    picks->addStretch(1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Cmdproceed_);
    buttons->addWidget(Cmdexit_);
    buttons->addStretch(1);

    page_ = new QVBoxLayout(this);
    page_->addSpacing(16);
    page_->addWidget(title);
    page_->addSpacing(16);
    page_->addLayout(picks);
    page_->addSpacing(16);
    page_->addLayout(buttons);
    page_->addSpacing(16);
    results_ = new ResultsPanel(state_, ui_, TestKind::runs, this);
    page_->addWidget(results_, 1);

    // activated: a pick by the user, not a change the program makes to the list.
    connect(Combo_ss_, &QComboBox::activated, this, &RuntestWindow::Combo_ss_Click);
    connect(Combo_par_, &QComboBox::activated, this, &RuntestWindow::Combo_par_Click);
    connect(Cmdproceed_, &QPushButton::clicked, this, &RuntestWindow::Cmdproceed_Click);
    connect(Cmdexit_, &QPushButton::clicked, this, &RuntestWindow::Cmdexit_Click);
}

void RuntestWindow::Form_Load() {
    for (const VarDef& def : state_.var_defs) {
        Combo_ss_->addItem(QString::fromStdString(def.name));
        Combo_par_->addItem(QString::fromStdString(def.name));
    }
    Combo_ss_->setCurrentIndex(-1);
    Combo_par_->setCurrentIndex(-1);
    state_.sample_set = false;
    state_.param_set = false;
}

void RuntestWindow::Combo_ss_Click() {
    results_->clear();
    take_pick(*Combo_ss_, state_.sample_var, state_.sample_set);
}

void RuntestWindow::Combo_par_Click() {
    results_->clear();
    take_pick(*Combo_par_, state_.param_var, state_.param_set);
}

void RuntestWindow::Cmdproceed_Click() {
    if (!state_.sample_set || !state_.param_set) {
        alert_msg(ui_, QStringLiteral("Either sample or parameter to be tested not defined"));
        return;
    }
    results_->run([this] { return run_runs_test(state_); });
}

void RuntestWindow::Cmdexit_Click() {
    close();
}

}  // namespace vesk
