#include "forms/list_pair.h"

#include <QListWidget>

#include <algorithm>

namespace vesk {

// Read once from the selection: asking each entry whether it is selected costs a look through
// every selected range, so a scattered selection of many entries would take quadratic time.
std::vector<int> selected_rows(const QListWidget* list) {
    std::vector<int> rows;
    for (const QModelIndex& index : list->selectionModel()->selectedIndexes()) {
        rows.push_back(index.row());
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

namespace {

void move_selected_by(QListWidget* list, int step) {
    const std::vector<int> rows = selected_rows(list);
    if (rows.empty()) {
        return;
    }
    const int row = rows.front();
    const int target = row + step;
    if (target < 0 || target >= list->count()) {
        return;
    }
    list->insertItem(target, list->takeItem(row));
    list->setCurrentRow(target, QItemSelectionModel::ClearAndSelect);
}

}  // namespace

std::vector<std::unique_ptr<QListWidgetItem>> take_selected(QListWidget* list) {
    const std::vector<int> rows = selected_rows(list);
    std::vector<std::unique_ptr<QListWidgetItem>> taken;
    if (rows.empty()) {
        return taken;
    }
    std::vector<std::unique_ptr<QListWidgetItem>> kept;
    auto next = rows.begin();
    for (int row = 0; row < list->count(); ++row) {
        std::unique_ptr<QListWidgetItem> entry(list->item(row)->clone());
        if (next != rows.end() && *next == row) {
            taken.push_back(std::move(entry));
            ++next;
        } else {
            kept.push_back(std::move(entry));
        }
    }
    // The list is filled again rather than taking entries out one by one: after a large selection
    // each removal costs time in proportion to it, so moving many values would take quadratic time.
    // Emptying the list also leaves nothing selected and no current entry.
    list->clear();
    for (std::unique_ptr<QListWidgetItem>& entry : kept) {
        list->addItem(entry.release());
    }
    return taken;
}

void move_selected(QListWidget* from, QListWidget* to) {
    for (std::unique_ptr<QListWidgetItem>& entry : take_selected(from)) {
        to->addItem(entry.release());
    }
}

void move_selected_up(QListWidget* list) {
    move_selected_by(list, -1);
}

void move_selected_down(QListWidget* list) {
    move_selected_by(list, 1);
}

void select_first(QListWidget* list) {
    if (list->count() > 0) {
        list->setCurrentRow(0, QItemSelectionModel::Select);
    }
}

}  // namespace vesk
