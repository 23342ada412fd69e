// The main window's "Import layout...": a layout file's variables fill the grid.

#include <QFileInfo>
#include <QPushButton>

#include <exception>
#include <limits>

#include "core/app_state.h"
#include "core/error.h"
#include "core/file_input.h"
#include "core/variable_table.h"
#include "forms/layout_import_dialog.h"
#include "forms/record_type_box.h"
#include "forms/variable_grid.h"
#include "forms/vesk_window.h"
#include "layout/layout_file.h"
#include "layout/layout_import.h"
#include "load/record_type.h"
#include "platform/user_interface.h"

namespace vesk {

void VeskWindow::Cmdimport_Click() {
    const QString current = QString::fromStdString(state_.inp_file).trimmed();
    const QString chosen = ui_.open_file_name(
        this, QStringLiteral("Layouts (*.csv *.xml *.sps *.sas *.dct *.do *.txt);;All Files (*.*)"),
        current.isEmpty() ? QString() : QFileInfo(current).absolutePath());
    if (chosen.isEmpty()) {
        return;
    }
    try {
        auto* dialog = new LayoutImportDialog(read_layout_file(chosen.toStdString()),
                                              QFileInfo(chosen).fileName(), this);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        connect(dialog, &QDialog::accepted, this,
                [this, dialog, chosen] { take_imported_layout(*dialog, chosen); });
        dialog->open();
    } catch (const std::exception& e) {
        ui_.message(QString::fromStdString(e.what()));
    }
}

namespace {

bool declares_record_types(const LayoutSource& source) {
    return source.record_type && !source.record_type->values.empty();
}

}  // namespace

std::int64_t VeskWindow::record_length_of(const LayoutSource& source,
                                          const std::optional<std::string>& type) const {
    if (!declares_record_types(source)) {
        return state_.rec_len;  // the record type box stays as it is
    }
    if (type) {
        // Where the type's variable is, from the layout taken without checks against any length.
        const ImportedLayout unchecked =
            import_layout(source, {{}, {}, type}, std::numeric_limits<std::int64_t>::max());
        std::vector<VarDef> defs;
        for (const VariableRow& row : variable_rows(unchecked)) {
            defs.push_back(var_def_of(row));
        }
        if (const auto line = first_line_of(defs, {unchecked.record_type->variable, *type})) {
            return line->length;
        }
    }
    // No type chosen: the box will say none, and the first line decides.
    try {
        LineReader reader = open_input(state_);
        return record_length(reader);
    } catch (const Error&) {
        return state_.rec_len;
    }
}

void VeskWindow::take_imported_layout(const LayoutImportDialog& dialog, const QString& file_name) {
    const std::vector<std::string> ticked = dialog.ticked();
    if (ticked.empty()) {
        ui_.message(QStringLiteral("No variable is ticked: the grid is left as it was."));
        return;
    }
    try {
        const std::optional<std::string> type = dialog.record_type();
        const ImportedLayout layout = import_layout(dialog.source(), {ticked, {}, type},
                                                    record_length_of(dialog.source(), type));
        const QString report =
            QString::fromStdString(import_report(layout, file_name.toStdString()));
        grid_->cancel_blank_row();
        if (layout.variables.empty()) {
            ui_.message(report + QStringLiteral("\nThe grid is left as it was."));
            return;
        }
        if (grid_->record_count() > 0 &&
            !ui_.ask_yes_no(QStringLiteral("Replace the %1 variables in the grid with the %2 "
                                           "imported?")
                                .arg(grid_->record_count())
                                .arg(layout.variables.size()))) {
            return;
        }
        replace_variable_rows(state_.db_conn, variable_rows(layout));
        if (declares_record_types(dialog.source())) {
            recordType_->offer(*layout.record_type, type);
        }
        Refresh_Click();
        show_record_length();
        ui_.message(report);
    } catch (const std::exception& e) {
        ui_.message(QString::fromStdString(e.what()));
    }
}

}  // namespace vesk
