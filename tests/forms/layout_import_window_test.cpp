#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QListWidget>

#include "forms/layout_import_dialog.h"
#include "support/data_table.h"
#include "support/window_harness.h"

namespace vesk {
namespace {

// Household and person records share a file of 26 characters; SPOUSE_INCOME_YEAR ends beyond it.
constexpr const char* setup_file =
    "* The test round.\n"
    "FILE TYPE NESTED RECORD=RECTYPE 1 (A).\n"
    "RECORD TYPE 'H'.\n"
    "DATA LIST / HHID 2-5 (A) HHWEIGHT 6-13 (2).\n"
    "RECORD TYPE 'P'.\n"
    "DATA LIST / HHID 2-5 (A) PERSON 6-7 ORDER 8-9 AGE 10-12\n"
    "  INCOME_TOTAL_YEAR 13-20 (2) SPOUSE_INCOME_YEAR 21-28 (2).\n"
    "END FILE TYPE.\n";

class LayoutImport : public testing::MainWindowHarness {
  protected:
    void SetUp() override {
        open_main();
        type_and_press("inptxt",
                       QString::fromStdString(t.dir.write("round.txt", std::string(26, '1'))),
                       Qt::Key_Return);
        layout_file = QString::fromStdString(t.dir.write("round.sps", setup_file));
    }
    // Clicks "Import layout..." and picks the file in the file dialog.
    LayoutImportDialog* import_dialog() {
        ui.file_names.push_back(layout_file);
        click("Cmdimport");
        return window->findChild<LayoutImportDialog*>("layoutImport");
    }
    std::vector<std::string> table() {
        return testing::rows(t.state.db_conn,
                             "select VN, ST, LEN, TYPE, PKEY from variable_draft order by ID");
    }

    QString layout_file;
};

TEST_F(LayoutImport, TheTickedVariablesOfTheChosenRecordTypeFillTheGridAndTheRestIsNamed) {
    EXPECT_TRUE(shown("Cmdimport"));
    LayoutImportDialog* dialog = import_dialog();
    ASSERT_NE(dialog, nullptr);
    auto* list = dialog->findChild<QListWidget*>("importVars");
    EXPECT_EQ(list->count(), 9);  // every record type's variables
    dialog->findChild<QComboBox*>("importRecordType")->setCurrentIndex(2);  // RECTYPE = P
    ASSERT_EQ(list->count(), 7);
    EXPECT_EQ(list->item(3)->text().toStdString(), "ORDER   8, 2 long, N   (record type P)");
    list->item(4)->setCheckState(Qt::Unchecked);  // AGE
    ui.clear();
    QTest::mouseClick(dialog->findChild<QPushButton*>("importTake"), Qt::LeftButton);

    EXPECT_EQ(table(),
              (std::vector<std::string>{"RECTYPE,1,1,C,N", "HHID,2,4,C,N", "PERSON,6,2,N,N",
                                        "ORDER_,8,2,N,N", "INCOME_TOTAL_YEAR,13,8,N,N"}));
    EXPECT_EQ(ui.messages(),
              QStringList{"5 variables taken from " + layout_file +
                          " (SPSS syntax): RECTYPE, HHID, PERSON, ORDER_, INCOME_TOTAL_YEAR.\n"
                          "ORDER is taken as ORDER_: \"ORDER\" is a word the database reserves.\n"
                          "1 refused:\n"
                          "  SPOUSE_INCOME_YEAR (line 7): End 28 is beyond the record length 26"});
    EXPECT_FALSE(t.state.data_loaded);  // the import loads nothing by itself
}

// A household line of 13 characters, then person lines of 28: the record type chosen in the
// import checks the person layout against the first person line, and fills the record type box.
TEST_F(LayoutImport, TheCodebooksRecordTypesFillTheRecordTypeBoxAndTheTypeSetsTheRecordLength) {
    const std::string household = "H0001" + std::string(8, '1');
    const std::string person = "P0001" + std::string(23, '2');
    type_and_press("inptxt",
                   QString::fromStdString(t.dir.write(
                       "households.txt", household + "\n" + person + "\n" + household + "\n")),
                   Qt::Key_Return);
    auto* variable = control<QComboBox>("RecTypeVar");
    auto* value = control<QComboBox>("RecTypeValue");
    const auto items = [](const QComboBox* box) {
        QStringList texts;
        for (int i = 0; i < box->count(); ++i) {
            texts.append(box->itemText(i));
        }
        return texts;
    };
    const struct {
        int type_index;  // in importRecordType: 0 every record type, 1 H, 2 P
        const char* value;
        const char* record_length;
        int variables;  // taken, none refused
    } cases[] = {
        {2, "P", "Record length: 28 (line 2, the first of record type RECTYPE = P)", 7},
        {0, "", "Record length: 13", 7},  // every type: the household variables are beyond 13
        {1, "H", "Record length: 13 (line 1, the first of record type RECTYPE = H)", 3},
    };
    for (const auto& c : cases) {
        LayoutImportDialog* dialog = import_dialog();
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QComboBox*>("importRecordType")->setCurrentIndex(c.type_index);
        ui.answers.push_back(true);  // replace the rows of the case before
        ui.clear();
        QTest::mouseClick(dialog->findChild<QPushButton*>("importTake"), Qt::LeftButton);
        EXPECT_EQ(items(variable), QStringList{"RECTYPE"}) << c.value;
        EXPECT_EQ(variable->currentText(), "RECTYPE") << c.value;
        EXPECT_EQ(items(value), (QStringList{"H", "P"})) << c.value;
        EXPECT_EQ(value->currentText(), c.value);
        EXPECT_EQ(control<QLabel>("Lblreclen")->text(), c.record_length);
        EXPECT_EQ(ui.messages().join('|').contains("refused"), c.type_index == 0) << c.value;
        if (c.type_index != 0) {
            EXPECT_EQ(table().size(), static_cast<std::size_t>(c.variables)) << c.value;
        }
    }
    // The type picked from the box's list: the record length follows.
    const int p = value->findText("P");
    value->setCurrentIndex(p);
    emit value->activated(p);
    EXPECT_EQ(control<QLabel>("Lblreclen")->text(),
              "Record length: 28 (line 2, the first of record type RECTYPE = P)");
    EXPECT_EQ(t.state.rec_len, 28);
}

TEST_F(LayoutImport, AGridThatHoldsRowsIsReplacedOnlyAfterAYes) {
    testing::write_layout(t.state.db_conn, testing::four_variables());
    click("Refresh");
    const std::vector<std::string> before = table();
    for (const bool yes : {false, true}) {
        ui.answers.push_back(yes);
        LayoutImportDialog* dialog = import_dialog();
        ui.clear();
        QTest::mouseClick(dialog->findChild<QPushButton*>("importTake"), Qt::LeftButton);
        ASSERT_FALSE(ui.events.empty());
        EXPECT_EQ(ui.events[0].toStdString(),
                  "question: Replace the 4 variables in the grid with the 7 imported?");
        EXPECT_EQ(table() == before, !yes);
    }
}

TEST_F(LayoutImport, AFileThatIsNoLayoutOrACancelChangesNothing) {
    testing::write_layout(t.state.db_conn, testing::four_variables());
    const std::vector<std::string> before = table();
    layout_file = QString::fromStdString(t.dir.write("notes.txt", "a list of variables\n"));
    EXPECT_EQ(import_dialog(), nullptr);
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_TRUE(ui.messages()[0].contains("is not a layout vesk reads"))
        << ui.messages()[0].toStdString();

    layout_file = QString::fromStdString(t.dir.write("round.sps", setup_file));
    QTest::mouseClick(import_dialog()->findChild<QPushButton*>("importCancel"), Qt::LeftButton);
    LayoutImportDialog* dialog = import_dialog();
    QTest::mouseClick(dialog->findChild<QPushButton*>("importNone"), Qt::LeftButton);
    ui.clear();
    QTest::mouseClick(dialog->findChild<QPushButton*>("importTake"), Qt::LeftButton);
    EXPECT_EQ(ui.messages(), QStringList{"No variable is ticked: the grid is left as it was."});
    EXPECT_EQ(table(), before);
}

}  // namespace
}  // namespace vesk
