#include "forms/variable_grid.h"

#include <algorithm>

#include <QHeaderView>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlRecord>
#include <QSqlTableModel>
#include <QTableView>

#include "core/app_state.h"
#include "core/number_text.h"
#include "forms/navigation_bar.h"
#include "forms/variable_table_model.h"
#include "platform/user_interface.h"

namespace vesk {

namespace {

struct ColumnCaption {
    const char* field;
    const char* caption;
};
constexpr ColumnCaption visible_columns[] = {
    {"VN", "VARIABLE"},  {"ST", "START POSITION"}, {"LEN", "LENGTH"},
    {"TYPE", "VAR TYPE"}, {"PKEY", "PKEY(Y/N)"},
};
constexpr int column_width = 100;  // 1500 twips

int next_connection_number() {
    static int number = 0;
    return ++number;
}

}  // namespace

VariableGrid::VariableGrid(AppState& state, UserInterface& ui, QTableView* view,
                           NavigationBar* bar, QObject* parent)
    : QObject(parent),
      state_(state),
      ui_(ui),
      view_(view),
      bar_(bar),
      connection_name_(QStringLiteral("vesk-grid-%1").arg(next_connection_number())) {
    auto db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_name_);
    db.setDatabaseName(QString::fromStdString(state_.db_conn.path()));
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db.open()) {
        last_error_ = db.lastError().text();
    }
    model_ = new VariableTableModel(this, db);

    connect(bar_, &NavigationBar::moveFirst, this, [this] { move_to_row(0); });
    connect(bar_, &NavigationBar::movePrevious, this,
            [this] { move_to_row(std::max(0, absolute_position() - 2)); });
    connect(bar_, &NavigationBar::moveNext, this, [this] {
        move_to_row(std::min(record_count() - 1, absolute_position()));
    });
    connect(bar_, &NavigationBar::moveLast, this, &VariableGrid::move_last);
}

VariableGrid::~VariableGrid() {
    if (view_) {
        view_->setModel(nullptr);
    }
    delete model_;
    model_ = nullptr;
    QSqlDatabase::database(connection_name_, false).close();
    QSqlDatabase::removeDatabase(connection_name_);
}

bool VariableGrid::bind() {
    model_->setTable(QStringLiteral("variable"));
    model_->setSort(0, Qt::AscendingOrder);
    const bool ok = model_->select();
    if (!ok) {
        last_error_ = model_->lastError().text();
        emit dataControlError(last_error_);
    }
    while (model_->canFetchMore()) {
        model_->fetchMore();
    }
    if (view_->model() != model_) {
        view_->setModel(model_);
    }
    return ok;
}

int VariableGrid::column_of(const char* field) const {
    return model_->record().indexOf(QString::fromLatin1(field));
}

void VariableGrid::reset_gridX() {
    const QSqlRecord fields = model_->record();
    for (int column = 0; column < fields.count(); ++column) {
        const QString name = fields.fieldName(column).toUpper();
        bool visible = false;
        for (const auto& entry : visible_columns) {
            if (name == QLatin1String(entry.field)) {
                model_->setHeaderData(column, Qt::Horizontal, QString::fromLatin1(entry.caption));
                view_->setColumnWidth(column, column_width);
                visible = true;
            }
        }
        view_->setColumnHidden(column, !visible);
    }
    view_->viewport()->update();
    const int row = std::max(0, view_->currentIndex().row());
    if (record_count() > 0) {
        view_->setCurrentIndex(model_->index(std::min(row, record_count() - 1), 1));
    }
    set_position_caption();
}

bool VariableGrid::requery_to_last() {
    if (!bind()) {
        return false;
    }
    if (record_count() > 0) {
        move_last();
    }
    return true;
}

void VariableGrid::cancel_blank_row() {
    if (record_count() != 1) {
        return;
    }
    const int row = std::max(0, view_->currentIndex().row());
    view_->setCurrentIndex(model_->index(row, 1));
    if (model_->data(model_->index(row, 1)).toString().trimmed().isEmpty()) {
        model_->revertAll();
    }
}

void VariableGrid::start_new_record(qint64 id) {
    const int row = record_count();
    model_->insertRow(row);
    model_->setData(model_->index(row, column_of("ID")), id);
    view_->setCurrentIndex(model_->index(row, 1));
}

int VariableGrid::record_count() const { return model_->rowCount(); }

int VariableGrid::absolute_position() const {
    const QModelIndex current = view_->currentIndex();
    return current.isValid() ? current.row() + 1 : 0;
}

void VariableGrid::move_to_row(int row) {
    if (row < 0 || row >= record_count()) {
        return;
    }
    const int column = std::max(1, view_->currentIndex().column());
    view_->setCurrentIndex(model_->index(row, column));
    if (state_.show_pos) {
        set_position_caption();
    }
}

void VariableGrid::move_last() { move_to_row(record_count() - 1); }

QString VariableGrid::position_text() const {
    return QStringLiteral("Record ") +
           QString::fromStdString(signed_form(static_cast<double>(absolute_position()))) +
           QLatin1Char('/') + QString::number(record_count());
}

void VariableGrid::set_position_caption() { bar_->setCaption(position_text()); }

}  // namespace vesk
