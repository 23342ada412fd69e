#pragma once

#include <memory>
#include <vector>

class QListWidget;
class QListWidgetItem;

namespace vesk {

// The moves of a window with two lists: entries go from one list to the other, and up and down
// within one. Each move leaves a list it took from with nothing selected and no current entry.
// They work on disabled lists too: a frozen window still moves what was selected when it froze.

// The rows of the selected entries, in list order.
std::vector<int> selected_rows(const QListWidget* list);

// Takes the selected entries out of the list and hands them over in list order. The rows are
// fixed before any entry goes, since taking one out makes the list select a neighbour.
std::vector<std::unique_ptr<QListWidgetItem>> take_selected(QListWidget* list);

// Appends the selected entries of one list, in their order, to the end of the other.
void move_selected(QListWidget* from, QListWidget* to);

// Moves the first selected entry one place up (or down), where it is then the only selected entry
// and the current one; at the edge nothing changes.
void move_selected_up(QListWidget* list);
void move_selected_down(QListWidget* list);

// Adds the first entry to the selection, leaving what else is selected, and makes it the
// keyboard's current entry.
void select_first(QListWidget* list);

}  // namespace vesk
