// The main window's "Import layout...": a layout file's variables fill the grid.

#include <QFileInfo>
#include <QPushButton>

#include <exception>

#include "core/app_state.h"
#include "core/variable_table.h"
#include "forms/layout_import_dialog.h"
#include "forms/variable_grid.h"
#include "forms/vesk_window.h"
#include "layout/layout_file.h"
#include "layout/layout_import.h"
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

void VeskWindow::take_imported_layout(const LayoutImportDialog& dialog, const QString& file_name) {
    const std::vector<std::string> ticked = dialog.ticked();
    if (ticked.empty()) {
        ui_.message(QStringLiteral("No variable is ticked: the grid is left as it was."));
        return;
    }
    try {
        const ImportedLayout layout =
            import_layout(dialog.source(), {ticked, {}, dialog.record_type()}, state_.rec_len);
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
        Refresh_Click();
        ui_.message(report);
    } catch (const std::exception& e) {
        ui_.message(QString::fromStdString(e.what()));
    }
}

}  // namespace vesk
