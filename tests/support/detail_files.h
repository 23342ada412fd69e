#pragma once

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>

#include <string>
#include <vector>

#include "core/text.h"
#include "support/data_table.h"
#include "support/temp_dir.h"

namespace vesk::testing {

// Groups of STATE with SAMPLE (1 central, 2 state), a parameter INCOME and a class code GRP. 01:
// the group 1,1,2,2,1 by INCOME. 02: ties at INCOME 5 (both kinds) and 7 (state only). 03: central
// records only.
inline void make_details_survey(TempState& t) {
    make_data(t.state, {{"STATE", 1, 2, "C", "Y"},
                        {"SAMPLE", 3, 1, "N", "N"},
                        {"INCOME", 4, 5, "N", "N"},
                        {"GRP", 9, 1, "N", "N"}});
    add_rows(t.state,
             "('01', 1, 10, 1), ('01', 1, 20, 1), ('01', 2, 30, 2), ('01', 2, 40, 2), "
             "('01', 1, 50, 1), ('02', 1, 5, 1), ('02', 2, 5, 2), ('02', 1, 5, 1), "
             "('02', 2, 7, 2), ('02', 2, 7, 1), ('02', 1, 9, 2), ('03', 1, 1, 1), "
             "('03', 1, 2, 2)");
    t.state.grp_vars = "STATE";
    t.state.sample_var = "SAMPLE";
    t.state.param_var = "INCOME";
    t.state.out_file = t.dir.file("round");
}

// The lines of a file, without the line end of the last.
inline std::vector<std::string> file_lines(const std::string& path) {
    std::string text = TempDir::read(path);
    text.pop_back();
    return split(text, '\n');
}

inline QJsonObject json_object(const std::string& path) {
    QJsonParseError error;
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray::fromStdString(TempDir::read(path)), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    return document.object();
}

}  // namespace vesk::testing
