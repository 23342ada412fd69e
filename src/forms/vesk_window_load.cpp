// The main window's load command and data filter.

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <exception>
#include <optional>

#include "core/app_state.h"
#include "core/error.h"
#include "core/file_input.h"
#include "core/variable_table.h"
#include "forms/busy_cursor.h"
#include "forms/named_widget.h"
#include "forms/record_type_box.h"
#include "forms/variable_grid.h"
#include "forms/vesk_window.h"
#include "load/data_filter.h"
#include "load/filter_hint.h"
#include "load/load_data.h"
#include "load/load_report.h"
#include "load/record_type.h"
#include "platform/user_interface.h"

namespace vesk {

namespace {

constexpr int progress_steps = 1000;

}  // namespace

void VeskWindow::save_Click() {
    if (loading_) {
        return;
    }
    grid_->cancel_blank_row();
    if (grid_->record_count() > 0) {
        if (!grid_->requery_to_last(false)) {
            AdodcX_Error(grid_->last_error());
            return;
        }
    }
    reset_gridX();
    // The line-number key is a variable too.
    if (grid_->record_count() + (lineKeyChk_->isChecked() ? 1 : 0) < min_var_count) {
        alert_msg(ui_, QString::fromLatin1(too_few_variables_text));
        reset_gridX();
        return;
    }
    try {
        state_.record_type = recordType_->chosen();
    } catch (const Error& e) {
        alert_msg(ui_, QString::fromStdString(e.what()));
        return;
    }
    state_.line_key = lineKeyChk_->isChecked();
    state_.filter_cond = filter_cond_for(Condition_->text().toStdString());
    run_load();
}

QLayout* VeskWindow::build_load_choices() {
    recordType_ = new RecordTypeBox(this);
    lineKeyChk_ = named(new QCheckBox(QStringLiteral("Key: line number"), this),
                        QStringLiteral("lineKeyChk"));
    lineKeyChk_->setToolTip(
        QStringLiteral("Adds the key variable LINE_NO, each line's number in the file, for a "
                       "file without a unique key."));
    connect(recordType_, &RecordTypeBox::changed, this, &VeskWindow::show_record_length);
    auto* choices = new QVBoxLayout;
    choices->addWidget(recordType_);
    choices->addWidget(lineKeyChk_);
    return choices;
}

std::optional<LineOfType> VeskWindow::first_line_of(const std::vector<VarDef>& defs,
                                                    const RecordType& type) const {
    try {
        const RecordTypeFilter filter(defs, type);
        LineReader reader = open_input(state_);
        return first_line_of_type(reader, filter);
    } catch (const Error&) {
        return std::nullopt;  // no file yet, or the layout lacks the type's variable
    }
}

void VeskWindow::show_record_length() {
    QString where;
    try {
        read_reclen(state_);
        if (const std::optional<RecordType> type = recordType_->chosen()) {
            const auto line =
                first_line_of(read_var_defs(state_.db_conn, LayoutTable::draft), *type);
            if (line) {
                state_.rec_len = line->length;
                where = QStringLiteral(" (line %1, the first of record type %2)")
                            .arg(line->line_number)
                            .arg(QString::fromStdString(record_type_text(*type)));
            }
        }
    } catch (const Error&) {
        // Until the file and both parts of the record type are known, the first line decides.
    }
    Lblreclen_->setText(QStringLiteral("Record length: %1").arg(state_.rec_len) + where);
}

void VeskWindow::run_load() {
    loading_ = true;
    LoadSummary summary;
    std::optional<QString> failure;
    {
        const BusyCursor busy;
        // Window-modal: the window repaints while the import runs but takes no clicks.
        std::optional<QProgressDialog> progress(
            std::in_place, QStringLiteral("Loading ") + QString::fromStdString(state_.inp_file),
            QStringLiteral("Cancel"), 0, progress_steps, this);
        progress->setObjectName(QStringLiteral("loadProgress"));
        progress->setWindowTitle(product_title());
        progress->setWindowModality(Qt::WindowModal);
        progress->setMinimumDuration(progress_delay_ms_);
        progress->setAutoClose(false);
        progress->setAutoReset(false);
        const auto show_share = [&progress](std::uint64_t done, std::uint64_t size) {
            if (!progress) {
                return true;
            }
            const auto share = size == 0 ? 0 : done * progress_steps / size;
            progress->setValue(static_cast<int>(share));
            return !progress->wasCanceled();
        };
        const auto ask_to_replace = [this, &progress](const LoadSummary& loaded) {
            // A modal progress dialog left over the question would take its clicks; a cancel
            // pressed after the last step of the read still counts.
            const bool cancelled = progress->wasCanceled();
            progress.reset();
            return !cancelled && replace_with_empty(loaded);
        };
        try {
            summary = load_data(state_, show_share, ask_to_replace);
        } catch (const std::exception& e) {
            failure = QString::fromStdString(e.what());
        }
    }
    loading_ = false;
    if (failure) {
        ui_.message(*failure + layout_kept_note());
        return;
    }
    if (summary.key_missing) {
        alert_msg(ui_, QString::fromLatin1(no_key_text));
    }
    ui_.message(QString::fromStdString(load_report(summary)));
}

QString VeskWindow::layout_kept_note() {
    try {
        Database& db = state_.db_conn;
        if (read_variable_rows(db, LayoutTable::draft) ==
            read_variable_rows(db, LayoutTable::loaded)) {
            return {};
        }
    } catch (const DbError&) {
        return {};
    }
    return QStringLiteral(
        "\nThe grid keeps the layout as typed; the data loaded before keep the layout they were "
        "loaded with.");
}

bool VeskWindow::replace_with_empty(const LoadSummary& loaded) {
    const QString text = QString::fromStdString(
        empty_filter_text(loaded.lines_loaded, read_var_defs(state_.db_conn, LayoutTable::draft),
                          Condition_->text().toStdString()));
    // The question waits for the user, not for work: the usual pointer meanwhile.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    const bool replace = ui_.ask_yes_no(
        text + QStringLiteral("\nReplace the data loaded before with an empty table?"));
    QApplication::restoreOverrideCursor();
    return replace;
}

void VeskWindow::fltChk_Click() {
    const bool on = !state_.filter_on;
    {
        const QSignalBlocker quiet(fltChk_);
        fltChk_->setChecked(on);
    }
    Lbfilter_->setVisible(on);
    Condition_->clear();
    Condition_->setVisible(on);
    state_.filter_on = on;
}

}  // namespace vesk
