#include <gtest/gtest.h>

#include <QListWidget>

#include "forms/list_pair.h"
#include "support/widget_driver.h"

namespace vesk {
namespace {

using testing::lines_of;
using testing::select_rows;

std::vector<int> selected(const QListWidget& list) {
    std::vector<int> rows;
    for (int row = 0; row < list.count(); ++row) {
        if (list.item(row)->isSelected()) {
            rows.push_back(row);
        }
    }
    return rows;
}

struct Lists {
    Lists(const QStringList& left_lines, const QStringList& right_lines) {
        for (QListWidget* list : {&left, &right}) {
            list->setSelectionMode(QAbstractItemView::ExtendedSelection);
        }
        left.addItems(left_lines);
        right.addItems(right_lines);
    }
    QListWidget left;
    QListWidget right;
};

TEST(ListPair, AMoveAppendsTheSelectedInListOrderAndLeavesTheSourceWithoutSelection) {
    struct Case {
        std::vector<int> selected;
        QStringList left;
        QStringList right;
    };
    const std::vector<Case> cases = {
        {{3, 1}, {"A", "C", "E"}, {"X", "B", "D"}},
        {{0, 1, 2, 3, 4}, {}, {"X", "A", "B", "C", "D", "E"}},
    };
    for (const Case& c : cases) {
        Lists lists({"A", "B", "C", "D", "E"}, {"X"});
        lists.left.item(0)->setData(Qt::UserRole, 7);
        lists.right.setCurrentRow(0);
        select_rows(&lists.left, c.selected);
        lists.left.setCurrentRow(c.selected.front(), QItemSelectionModel::NoUpdate);
        move_selected(&lists.left, &lists.right);
        EXPECT_EQ(lines_of(&lists.left), c.left);
        EXPECT_EQ(lines_of(&lists.right), c.right);
        EXPECT_EQ(selected(lists.left), std::vector<int>{});
        EXPECT_EQ(lists.left.currentRow(), -1);
        EXPECT_EQ(selected(lists.right), std::vector<int>{0});  // the other list keeps its own
        // An entry keeps its data wherever it goes.
        const QListWidget& holder = c.left.contains("A") ? lists.left : lists.right;
        EXPECT_EQ(holder.findItems("A", Qt::MatchExactly)[0]->data(Qt::UserRole), 7);
    }

    // Nothing selected: nothing moves and the keyboard stays where it was.
    Lists lists({"A", "B"}, {});
    lists.left.setCurrentRow(1, QItemSelectionModel::NoUpdate);
    EXPECT_TRUE(take_selected(&lists.left).empty());
    EXPECT_EQ(lists.left.count(), 2);
    EXPECT_EQ(lists.left.currentRow(), 1);

    // Selecting the first entry adds it to what is selected.
    select_rows(&lists.left, {1});
    select_first(&lists.left);
    EXPECT_EQ(selected(lists.left), (std::vector<int>{0, 1}));
    EXPECT_EQ(lists.left.currentRow(), 0);
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
        Lists lists({}, {"A", "B", "C"});
        lists.right.setSelectionMode(QAbstractItemView::SingleSelection);
        lists.right.item(c.up ? 2 : 0)->setData(Qt::UserRole, 7);
        select_rows(&lists.right, rows(c.selected));
        c.up ? move_selected_up(&lists.right) : move_selected_down(&lists.right);
        const std::string what = (c.up ? "up " : "down ") + std::to_string(c.selected);
        EXPECT_EQ(lines_of(&lists.right), c.order) << what;
        EXPECT_EQ(selected(lists.right), rows(c.selected_after)) << what;
        if (c.selected_after != c.selected) {
            EXPECT_EQ(lists.right.currentRow(), c.selected_after) << what;
            EXPECT_EQ(lists.right.currentItem()->data(Qt::UserRole), 7) << what;
        }
    }
}

}  // namespace
}  // namespace vesk
