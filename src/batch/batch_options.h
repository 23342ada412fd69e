#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/app_state.h"

namespace vesk {

// What a vesk-batch command line asks for.
struct BatchOptions {
    enum class Command { help, version, runtest, chitest, values, suggest, layout_export };
    Command command = Command::help;

    std::string db;                         // empty: the default database
    std::string layout;                     // --layout LAYOUT (CSV, codebook or setup file)
    std::vector<std::string> vars;          // --vars A,B,C: the variables of the layout kept
    std::vector<std::string> keys;          // --keys A,B: the key variables of the layout
    std::string input;                      // --input DATA.txt
    std::optional<std::string> filter;      // --filter COND
    std::optional<RecordType> record_type;  // --record-type NAME=VALUE: only its lines load
    bool line_key = false;                  // --line-key: the line number is the key LINE_NO
    std::vector<std::string> groups;        // --groups G1,G2
    std::string sample;                     // --sample S
    std::string param;                      // --param P
    std::vector<std::string> classes;       // --class V1,V2 (once per class, in class order)
    std::string out;                        // --out NAME
    bool details = false;                   // --details
    std::string report;                     // --report FILE.html or FILE.pdf
    bool suggest_classes = false;           // chitest --suggest-classes, in place of --class
    std::optional<double> min_expected;     // --min-expected E (suggest, --suggest-classes)
    std::string export_file;                // layout export [FILE.csv]; empty: standard output
};

// Reads the arguments after the program name; throws vesk::Error with a message for the user
// when they do not make a valid command.
BatchOptions parse_batch_options(const std::vector<std::string>& args);

// The usage text printed by --help.
const char* batch_usage();

}  // namespace vesk
