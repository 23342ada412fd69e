#include <gtest/gtest.h>

#include <QListWidget>

#include "forms/list_pair.h"
#include "support/widget_driver.h"

namespace vesk {
namespace {

using testing::lines_of;
using testing::select_rows;
using testing::selected_rows;

// An entry carries data (the class window's members) that must go where it goes.
void fill(QListWidget& list, const QStringList& lines, QAbstractItemView::SelectionMode mode) {
    list.setSelectionMode(mode);
    list.addItems(lines);
    for (int row = 0; row < list.count(); ++row) {
        list.item(row)->setData(Qt::UserRole, lines[row]);
    }
}

// The windows' tests cover the order and the selection a move leaves; the data go with the entry.
TEST(ListPair, AMoveAppendsTheSelectedWithTheirData) {
    QListWidget left, right;
    fill(left, {"A", "B", "C", "D", "E"}, QAbstractItemView::ExtendedSelection);
    fill(right, {"X"}, QAbstractItemView::SingleSelection);
    select_rows(&left, {3, 1});
    move_selected(&left, &right);
    EXPECT_EQ(lines_of(&left), (QStringList{"A", "C", "E"}));
    EXPECT_EQ(lines_of(&right), (QStringList{"X", "B", "D"}));
    for (const QListWidget* list : {&left, &right}) {
        for (int row = 0; row < list->count(); ++row) {
            EXPECT_EQ(list->item(row)->data(Qt::UserRole), list->item(row)->text());
        }
    }
}

TEST(ListPair, EachStepMovesTheSelectedEntryOnePlaceAndTheEdgesStay) {
    struct Case {
        bool up;
        int selected;  // -1: nothing selected
        QStringList order;
        int selected_after;
    };
    const std::vector<Case> cases = {
        {true, 2, {"A", "C", "B"}, 1},   {true, 0, {"A", "B", "C"}, 0},
        {false, 0, {"B", "A", "C"}, 1},  {false, 2, {"A", "B", "C"}, 2},
        {true, -1, {"A", "B", "C"}, -1},
    };
    const auto rows = [](int row) { return row < 0 ? std::vector<int>{} : std::vector<int>{row}; };
    for (const Case& c : cases) {
        QListWidget list;
        fill(list, {"A", "B", "C"}, QAbstractItemView::SingleSelection);
        select_rows(&list, rows(c.selected));
        c.up ? move_selected_up(&list) : move_selected_down(&list);
        const std::string what = (c.up ? "up " : "down ") + std::to_string(c.selected);
        EXPECT_EQ(lines_of(&list), c.order) << what;
        EXPECT_EQ(selected_rows(&list), rows(c.selected_after)) << what;
        if (c.selected_after != c.selected) {
            EXPECT_EQ(list.currentRow(), c.selected_after) << what;
            EXPECT_EQ(list.currentItem()->data(Qt::UserRole), list.currentItem()->text()) << what;
        }
    }
}

}  // namespace
}  // namespace vesk
