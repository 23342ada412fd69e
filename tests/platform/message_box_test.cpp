#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>

#include "platform/message_box_text.h"
#include "platform/qt_user_interface.h"

namespace vesk {
namespace {

// One unit per character, so the cases can be counted by eye.
int characters(const QString& text) {
    return static_cast<int>(text.size());
}

TEST(BoxText, APathStartsALineOfItsOwnAndIsBrokenOnlyAfterASlashOrAtABlank) {
    const struct {
        const char* text;
        int widest;
        const char* shown;
        int min_width;
    } cases[] = {
        {"Nothing was replaced.", 40, "Nothing was replaced.", 0},
        {"Generated Test result in file: /tmp/a-b/x_run.csv", 40,
         "Generated Test result in file:\n/tmp/a-b/x_run.csv", 18},
        {"/x/y", 40, "/x/y", 4},
        // A relative path, with what follows it on its line.
        {"cannot write the file out/x_run.csv: disk full", 40,
         "cannot write the file\nout/x_run.csv: disk full", 24},
        {"Saved:\n/a/b.csv\nDone.", 40, "Saved:\n/a/b.csv\nDone.", 8},
        // Several paths: one a line, the words between them ending the line before.
        {"Saved in files: /a/x.csv, /a/yy.csv and /a/z.json", 40,
         "Saved in files:\n/a/x.csv,\n/a/yy.csv and\n/a/z.json", 13},
        // Wider than the box: after a slash, as late as fits; never at the hyphen.
        {"file: /aaaa/bbbb-cccc/dd.csv", 12, "file:\n/aaaa/\nbbbb-cccc/\ndd.csv", 10},
        {"in /my surveys/round one.csv", 10, "in\n/my\nsurveys/\nround\none.csv", 8},
        // A name wider than the box stays whole rather than leave a lone slash.
        {"/averyverylongname", 5, "/averyverylongname", 5},
    };
    for (const auto& c : cases) {
        const BoxText shown = box_text(QString::fromUtf8(c.text), characters, c.widest);
        EXPECT_EQ(shown.text.toStdString(), c.shown) << c.text;
        EXPECT_EQ(shown.min_width, c.min_width) << c.text;
    }
}

// The real box: a path with hyphens in its names, on a line of its own, is not wrapped.
TEST(MessageBox, ShowsAPathWithHyphensWholeOnALineOfItsOwn) {
    const QString path = QStringLiteral(
        "/home/statistician/household-income-expenditure/round-2024-central-and-state/"
        "survey_run_stats.csv");
    QString shown;
    int label_width = 0;
    int path_width = 0;
    int lines = 0;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        ASSERT_NE(label, nullptr);
        shown = label->text();
        label_width = label->width();
        path_width = label->fontMetrics().horizontalAdvance(path);
        lines = label->heightForWidth(label_width) / label->fontMetrics().lineSpacing();
        box->accept();
    });
    QtUserInterface ui;
    ui.message(QStringLiteral("Saved the details in files: ") + path);
    EXPECT_EQ(shown, QStringLiteral("Saved the details in files:\n") + path);
    EXPECT_GE(label_width, path_width);
    EXPECT_EQ(lines, 2);
}

}  // namespace
}  // namespace vesk
