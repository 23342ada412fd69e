#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "batch/batch_run.h"
#include "support/temp_dir.h"

namespace vesk {

using testing::TempDir;

constexpr const char* layout_csv =
    "name,start,length,type,key,decimals\n"
    "HHID,1,4,C,Y,\n"
    "STATE,5,2,C,N,\n"
    "SECTOR,7,1,N,N,\n"
    "SAMPLE,8,1,N,N,\n"
    "AMOUNT,9,8,N,N,\n"
    "AGEGRP,17,2,n,n,\n";

// 60 households over two states and two sectors; amounts a little higher in the state sample.
inline std::string survey_file() {
    std::string text;
    char line[64];
    for (int i = 1; i <= 60; ++i) {
        const int sample = i % 3 == 0 ? 2 : 1;
        std::snprintf(line, sizeof line, "%04d%s%d%d%8.2f%2d\r\n", i, i % 2 ? "01" : "02",
                      1 + (i / 2) % 2, sample, 100.0 + (i * 37) % 50 + (sample == 2 ? 7.5 : 0),
                      1 + i % 4);
        text += line;
    }
    return text;
}

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

class Batch : public ::testing::Test {
  protected:
    void SetUp() override {
        layout = dir.write("layout.csv", layout_csv);
        input = dir.write("survey.txt", survey_file());
        db = dir.file("batch.db");
        // Whatever a command does without --db, it never reaches the user's own database.
        ::setenv("VESK_DB", default_db().c_str(), 1);
    }
    std::string default_db() const { return dir.file("default.db"); }
    Outcome run(std::vector<std::string> args) {
        std::ostringstream out;
        std::ostringstream err;
        const int status = run_batch(args, out, err);
        return {status, out.str(), err.str()};
    }
    // The command on the layout and the survey file, loaded into the test database first.
    std::vector<std::string> with_data(std::vector<std::string> args) {
        args.insert(args.begin() + 1, {"--db", db, "--layout", layout, "--input", input});
        return args;
    }
    // The command on the groups by STATE of the data loaded before, with the options after it.
    std::vector<std::string> on_db(const char* command, const char* param,
                                   std::vector<std::string> options) {
        options.insert(options.begin(), {command, "--db", db, "--groups", "STATE", "--sample",
                                         "SAMPLE", "--param", param});
        return options;
    }
    // A runs test of AMOUNT on the loaded data, with the given options after it.
    std::vector<std::string> runs_test(std::vector<std::string> options) {
        options.insert(options.begin(), {"runtest", "--sample", "SAMPLE", "--param", "AMOUNT"});
        return with_data(options);
    }
    std::vector<std::string> chi_test(std::vector<std::string> classes) {
        classes.insert(classes.begin(), {"chitest", "--groups", "STATE", "--sample", "SAMPLE",
                                         "--param", "AGEGRP", "--out", dir.file("round1")});
        return with_data(classes);
    }

    // The program itself, run by bash in the test folder: its exit status (128 + the signal's
    // number when a signal ended it), standard output and standard error.
    Outcome shell(const std::string& command_line) {
        const std::string script =
            dir.write("run.sh", "cd " + dir.path().string() + " && " + command_line + "\n");
        const std::string out = dir.file("out.txt");
        const std::string err = dir.file("err.txt");
        const int status = std::system(("bash " + script + " > " + out + " 2> " + err).c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status),
                TempDir::read(out), TempDir::read(err)};
    }

    TempDir dir;
    std::string layout;
    std::string input;
    std::string db;
};

}  // namespace vesk
