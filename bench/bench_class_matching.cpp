// Matching class arguments to the parameter's values, as vesk-batch does for --class: 40,000
// distinct values, numeric and then character, split into two classes of 20,000. The median of
// five matchings each; the matching is linear in the number of values, so 40,000 take a blink.
//
//   bench_class_matching DATA_FOLDER   (the folder is not used: the values are made in memory)

#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "batch/class_arguments.h"
#include "bench/measure.h"
#include "core/number_text.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int value_count = 40000;
constexpr int runs = 5;

// The values as the value listing gives them, and two class arguments as --class takes them.
struct Values {
    std::vector<vesk::ParValue> listed;
    std::vector<std::string> classes{"", ""};
};

Values make_values(bool numeric) {
    Values values;
    for (int i = 0; i < value_count; ++i) {
        const std::string text =
            numeric ? vesk::general_form(i * 0.25 - 1000) : "V" + std::to_string(100000 + i);
        values.listed.push_back({numeric ? text : text + "   ", 1, 10, numeric ? "N" : "C"});
        std::string& argument = values.classes[i < value_count / 2 ? 0 : 1];
        argument += (argument.empty() ? "" : ",") + text;
    }
    return values;
}

void measure_kind(bool numeric) {
    const Values values = make_values(numeric);
    std::vector<double> seconds;
    for (int run = 0; run < runs; ++run) {
        const auto begin = Clock::now();
        const vesk::ClassArguments matched =
            vesk::match_class_arguments(values.classes, values.listed);
        seconds.push_back(std::chrono::duration<double>(Clock::now() - begin).count());
        if (matched.scheme.classes().size() != 2 || !matched.warnings.empty()) {
            throw std::runtime_error("the values did not match their classes");
        }
    }
    std::printf("class matching, %d %s values in two classes: median of %d %.3f s\n", value_count,
                numeric ? "numeric" : "character", runs, vesk::bench::median(seconds));
}

}  // namespace

int main() {
    try {
        measure_kind(true);
        measure_kind(false);
        std::fflush(stdout);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_class_matching: %s\n", e.what());
        return 1;
    }
}
