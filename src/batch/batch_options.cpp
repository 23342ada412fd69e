#include "batch/batch_options.h"

#include <algorithm>

#include "core/error.h"
#include "core/number_text.h"
#include "core/text.h"
#include "load/record_type.h"
#include "report/report_format.h"

namespace vesk {

const char* batch_usage() {
    return "usage:\n"
           "  vesk-batch runtest --db DB [LOAD] --groups G1,G2 --sample S --param P --out NAME\n"
           "                     [--details] [--report FILE.html|FILE.pdf]\n"
           "  vesk-batch chitest --db DB [LOAD]\n"
           "                     --groups G1,G2 --sample S --param P --class V1,V2 [--class V3 "
           "...]\n"
           "                     --out NAME [--details] [--report FILE.html|FILE.pdf]\n"
           "  vesk-batch chitest ... --suggest-classes [--min-expected E] (in place of --class)\n"
           "  vesk-batch suggest --db DB [LOAD] --groups G1,G2 --sample S --param P\n"
           "                     [--min-expected E]\n"
           "  vesk-batch values  --db DB [LOAD] --param P\n"
           "  vesk-batch layout export --db DB [FILE.csv]\n"
           "  vesk-batch --help | --version\n"
           "LOAD: --input DATA.txt [--layout LAYOUT [--vars A,B,C] [--keys A,B]]\n"
           "      [--record-type NAME=VALUE] [--line-key] [--filter COND]\n"
           "\n"
           "--db is optional and defaults to the program's default database ($VESK_DB, else\n"
           "$XDG_DATA_HOME/vesk/vesk.db, else ~/.local/share/vesk/vesk.db).\n"
           "--layout gives the record layout as a layout file: a CSV file with the header\n"
           "name,start,length,type,key[,decimals] (for example HHID,1,3,C,Y), a DDI codebook,\n"
           "SPSS syntax (DATA LIST), a SAS program (INPUT) or a Stata dictionary or infix\n"
           "command, told apart by their content. --vars keeps only the variables named\n"
           "(default all), --keys makes the variables named the key (a codebook names none).\n"
           "A name the database reserves is taken with _ appended (ORDER becomes ORDER_).\n"
           "--input loads the data file with that layout, or without --layout with the layout\n"
           "the window's grid holds. The layout and the data are replaced together, only by a\n"
           "load that succeeds; a load of which no line loads replaces nothing (exit 2).\n"
           "Without --input the command works on the data already loaded. --input is read in\n"
           "one pass, so a pipe works: --input - reads standard input, and\n"
           "--input <(zcat DATA.txt.gz) a compressed file. What a load did goes to standard\n"
           "error: standard output carries only the command's own output.\n"
           "--record-type NAME=VALUE loads only the lines whose field NAME reads VALUE (the\n"
           "person lines of a file of household and person lines), before the key check and\n"
           "the filter; the other lines are counted apart, neither loaded nor rejected, and the\n"
           "layout is checked against the first line of that type. A codebook's record groups\n"
           "then give that type's variables. --line-key adds the key variable LINE_NO, each\n"
           "line's number in the file, for a file without a unique key.\n"
           "--class gives one class's values, written as 'values' lists them.\n"
           "suggest prints the most classes of adjacent values in which every group holding\n"
           "both samples expects at least E records (5 unless --min-expected) of each sample in\n"
           "every class, one class a line as --class takes it; groups too small for that even\n"
           "with one class are named on standard error and left out of the condition.\n"
           "--details also writes NAME_run_stats.csv or NAME_chi_stats.csv and a provenance file.\n"
           "--report writes a report to send: the data, the question, the answer with a chart,\n"
           "how to read it and the result files; one HTML file, or an A4 PDF.\n"
           "Exit status: 0 success, 2 a user error (the message on standard error), 1 otherwise.\n";
}

namespace {

class ArgumentReader {
  public:
    explicit ArgumentReader(const std::vector<std::string>& args) : args_(args) {}
    bool done() const { return next_ >= args_.size(); }
    const std::string& take() { return args_[next_++]; }
    std::string value_of(const std::string& option) {
        if (done()) {
            throw Error(option + " needs a value");
        }
        return take();
    }

  private:
    const std::vector<std::string>& args_;
    std::size_t next_ = 0;
};

std::vector<std::string> names(const std::string& option, const std::string& list) {
    std::vector<std::string> result;
    for (const std::string& piece : split(list, ',')) {
        const std::string name(trim(piece));
        if (name.empty()) {
            throw Error(option + " holds an empty name: " + list);
        }
        // The database knows names without regard to case: STATE and state are one column.
        if (std::any_of(result.begin(), result.end(),
                        [&](const std::string& seen) { return iequals(seen, name); })) {
            throw Error("--groups names " + name + " twice: " + list);
        }
        result.push_back(name);
    }
    return result;
}

void require(bool present, const char* option, const char* command) {
    if (!present) {
        throw Error(std::string("vesk-batch ") + command + " needs " + option);
    }
}

bool is_test(BatchOptions::Command command) {
    return command == BatchOptions::Command::runtest || command == BatchOptions::Command::chitest;
}

// A command that works group by group.
bool is_grouped(BatchOptions::Command command) {
    return is_test(command) || command == BatchOptions::Command::suggest;
}

// The command the first argument names (the layout command takes its second word too).
BatchOptions::Command command_named(const std::string& command, ArgumentReader& reader) {
    using Command = BatchOptions::Command;
    if (command == "runtest") {
        return Command::runtest;
    }
    if (command == "chitest") {
        return Command::chitest;
    }
    if (command == "suggest") {
        return Command::suggest;
    }
    if (command == "values") {
        return Command::values;
    }
    if (command == "layout") {
        if (reader.done() || reader.take() != "export") {
            throw Error("the layout command is: vesk-batch layout export --db DB [FILE.csv]");
        }
        return Command::layout_export;
    }
    throw Error("unknown command " + command + "\n" + batch_usage());
}

// Reads one option of the command, with its value.
void read_option(const std::string& arg, const std::string& command, ArgumentReader& reader,
                 BatchOptions& options) {
    using Command = BatchOptions::Command;
    const bool test = is_test(options.command);
    const bool grouped = is_grouped(options.command);
    const bool suggests =
        options.command == Command::suggest || options.command == Command::chitest;
    if (arg == "--db") {
        options.db = reader.value_of(arg);
        if (options.db.empty()) {
            // An unset variable in a script must not reach the default database.
            throw Error("--db needs a file name, not an empty text");
        }
    } else if (arg == "--layout" && options.command != Command::layout_export) {
        options.layout = reader.value_of(arg);
    } else if ((arg == "--vars" || arg == "--keys") && options.command != Command::layout_export) {
        (arg == "--vars" ? options.vars : options.keys) = names(arg, reader.value_of(arg));
    } else if (arg == "--input" && options.command != Command::layout_export) {
        options.input = reader.value_of(arg);
    } else if (arg == "--filter" && options.command != Command::layout_export) {
        options.filter = reader.value_of(arg);
    } else if (arg == "--record-type" && options.command != Command::layout_export) {
        options.record_type = parse_record_type(reader.value_of(arg));
    } else if (arg == "--line-key" && options.command != Command::layout_export) {
        options.line_key = true;
    } else if (arg == "--param" && options.command != Command::layout_export) {
        options.param = reader.value_of(arg);
    } else if (arg == "--groups" && grouped) {
        options.groups = names(arg, reader.value_of(arg));
    } else if (arg == "--sample" && grouped) {
        options.sample = reader.value_of(arg);
    } else if (arg == "--out" && test) {
        options.out = reader.value_of(arg);
    } else if (arg == "--details" && test) {
        options.details = true;
    } else if (arg == "--report" && test) {
        options.report = reader.value_of(arg);
        if (!report_format_of(options.report)) {
            throw Error(report_name_text + options.report);
        }
    } else if (arg == "--class" && options.command == Command::chitest) {
        options.classes.push_back(reader.value_of(arg));
    } else if (arg == "--suggest-classes" && options.command == Command::chitest) {
        options.suggest_classes = true;
    } else if (arg == "--min-expected" && suggests) {
        const std::string text = reader.value_of(arg);
        options.min_expected = parse_number(text);
        if (!options.min_expected || !(*options.min_expected > 0)) {
            throw Error("--min-expected needs a number above 0, not " + text);
        }
    } else if (options.command == Command::layout_export && !arg.starts_with("--") &&
               options.export_file.empty()) {
        options.export_file = arg;
    } else {
        throw Error("unexpected argument " + arg + " for vesk-batch " + command);
    }
}

// Refuses options that are missing for the command or that do not go together.
void check_options(const BatchOptions& options, const std::string& command) {
    using Command = BatchOptions::Command;
    if (!options.layout.empty() && options.input.empty()) {
        throw Error("--layout needs --input: the layout is checked against its record length");
    }
    if (options.layout.empty() && (!options.vars.empty() || !options.keys.empty())) {
        throw Error(std::string(options.vars.empty() ? "--keys" : "--vars") +
                    " needs --layout: it chooses among the variables of a layout file");
    }
    if (options.input.empty()) {
        const char* load_option = options.filter        ? "--filter"
                                  : options.record_type ? "--record-type"
                                  : options.line_key    ? "--line-key"
                                                        : nullptr;
        if (load_option) {
            throw Error(std::string(load_option) +
                        " needs --input: it applies when the data are loaded");
        }
    }
    if (is_test(options.command)) {
        require(!options.groups.empty(), "--groups", command.c_str());
        require(!options.sample.empty(), "--sample", command.c_str());
        require(!options.out.empty(), "--out", command.c_str());
    }
    if (options.command == Command::suggest) {
        require(!options.groups.empty(), "--groups", command.c_str());
        require(!options.sample.empty(), "--sample", command.c_str());
    }
    if (is_grouped(options.command) || options.command == Command::values) {
        require(!options.param.empty(), "--param", command.c_str());
    }
    if (options.command == Command::chitest) {
        if (options.suggest_classes && !options.classes.empty()) {
            throw Error("give either --class or --suggest-classes, not both");
        }
        if (options.min_expected && !options.suggest_classes) {
            throw Error("--min-expected needs --suggest-classes");
        }
        require(!options.classes.empty() || options.suggest_classes,
                "--class (or --suggest-classes)", command.c_str());
    }
}

}  // namespace

BatchOptions parse_batch_options(const std::vector<std::string>& args) {
    using Command = BatchOptions::Command;
    BatchOptions options;
    if (args.empty()) {
        throw Error("no command given\n" + std::string(batch_usage()));
    }
    ArgumentReader reader(args);
    const std::string command = reader.take();
    if (command == "--help" || command == "-h" || command == "help") {
        options.command = Command::help;
        return options;
    }
    if (command == "--version") {
        options.command = Command::version;
        return options;
    }
    options.command = command_named(command, reader);
    while (!reader.done()) {
        read_option(reader.take(), command, reader, options);
    }
    check_options(options, command);
    return options;
}

}  // namespace vesk
