#include "bench/survey_generator.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <stdexcept>

#include "core/variable_table.h"
#include "load/load_data.h"

namespace vesk::bench {

namespace {

constexpr int states = 36;
constexpr int sectors = 2;
constexpr int districts = 8;
constexpr int district_count = states * sectors * districts;
constexpr int max_persons = 8;

// splitmix64: the same numbers on every machine and library, unlike std distributions.
class Random {
  public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    // 0 to bound - 1.
    int below(int bound) { return static_cast<int>(next() % static_cast<std::uint64_t>(bound)); }

  private:
    std::uint64_t state_;
};

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// Households of 4.5 persons on average are spread evenly over the districts in key order.
class SurveyWriter {
  public:
    SurveyWriter(std::FILE* out, std::int64_t lines)
        : out_(out), lines_(lines), households_(lines * 2 / 9 + 1) {}

    void write() {
        for (std::int64_t household = 0; written_ < lines_; ++household) {
            write_household(household);
        }
    }

  private:
    void write_household(std::int64_t household) {
        const std::int64_t district =
            std::min<std::int64_t>(household * district_count / households_, district_count - 1);
        if (district != current_district_) {
            current_district_ = district;
            serial_ = 0;
        }
        ++serial_;
        const int state = static_cast<int>(district / (sectors * districts)) + 1;
        const int sector = static_cast<int>(district / districts % sectors) + 1;
        const int district_number = static_cast<int>(district % districts) + 1;
        const int sample = random_.below(2) + 1;
        const int persons = random_.below(max_persons) + 1;
        // Household spending differs by state and sector, and a little between the samples.
        const double level = 2000.0 + 150.0 * state + 900.0 * (sector - 1) + 40.0 * (sample - 1);
        for (int person = 1; person <= persons && written_ < lines_; ++person) {
            const int age = person == 1 ? 20 + random_.below(61) : random_.below(100);
            const double amount =
                level * (0.25 + random_.below(3000) / 1000.0) + random_.below(100) / 100.0;
            char line[128];
            int n = std::snprintf(line, sizeof line, "%02d%d%02d%05lld%02d%02d%d%02d%d%3d%d%12.2f",
                                  state, sector, district_number, static_cast<long long>(serial_),
                                  person, state, sector, district_number, sample, age, age / 15 + 1,
                                  amount);
            while (n < survey_line_length) {
                line[n++] = static_cast<char>('0' + random_.below(10));
            }
            // Written over the filler from a stream of its own, so every other byte stays.
            const int month = month_random_.below(12) + 1;
            line[month_field.start - 1] = static_cast<char>('0' + month / 10);
            line[month_field.start] = static_cast<char>('0' + month % 10);
            line[n++] = '\r';
            line[n++] = '\n';
            if (std::fwrite(line, 1, static_cast<std::size_t>(n), out_) !=
                static_cast<std::size_t>(n)) {
                throw std::runtime_error("cannot write the survey file");
            }
            ++written_;
        }
    }

    std::FILE* out_;
    std::int64_t lines_;
    std::int64_t households_;
    std::int64_t written_ = 0;
    std::int64_t current_district_ = -1;
    std::int64_t serial_ = 0;
    Random random_{20240601};
    Random month_random_{20240612};
};

}  // namespace

const std::vector<VarDef>& survey_layout() {
    static const std::vector<VarDef> layout = {
        {"HHID", 1, 10, "C", "Y"},   {"PERSON", 11, 2, "N", "Y"},   {"STATE", 13, 2, "C", "N"},
        {"SECTOR", 15, 1, "N", "N"}, {"DISTRICT", 16, 2, "C", "N"}, {"SAMPLE", 18, 1, "N", "N"},
        {"AGE", 19, 3, "N", "N"},    {"AGEGRP", 22, 1, "N", "N"},   {"AMOUNT", 23, 12, "N", "N"},
    };
    return layout;
}

void write_survey_file(const std::string& path, std::int64_t lines) {
    // Written under another name first, so an interrupted run leaves no short file behind.
    const std::string partial = path + ".partial";
    {
        std::unique_ptr<std::FILE, FileCloser> out(std::fopen(partial.c_str(), "wb"));
        if (!out) {
            throw std::runtime_error("cannot create " + partial);
        }
        SurveyWriter(out.get(), lines).write();
        if (std::fflush(out.get()) != 0) {
            throw std::runtime_error("cannot write " + partial);
        }
    }
    std::filesystem::rename(partial, path);
}

std::string ensure_survey_file(const std::string& folder, std::int64_t lines) {
    std::filesystem::create_directories(folder);
    // The name changes whenever the content does, so no older file is taken for this one.
    const std::string path = folder + "/survey_" + std::to_string(lines) + "_v2.txt";
    std::error_code ec;
    const auto expected = static_cast<std::uintmax_t>(lines * (survey_line_length + 2));
    if (std::filesystem::file_size(path, ec) != expected || ec) {
        write_survey_file(path, lines);
    }
    return path;
}

void write_survey_layout(Database& db) {
    std::vector<VariableRow> rows;
    for (const VarDef& def : survey_layout()) {
        rows.push_back(variable_row(def));
    }
    replace_variable_rows(db, std::move(rows));
}

void prepare_survey_load(AppState& state, const std::string& file) {
    write_survey_layout(state.db_conn);
    state.inp_file = file;
    state.filter_cond.clear();
}

void add_month_variable(Database& db) {
    VariableRow row = variable_row(month_field);
    row.id = largest_variable_id(db) + 1;
    store_variable_row(db, row);
}

LoadSummary load_survey(AppState& state, const std::string& file) {
    prepare_survey_load(state, file);
    LoadSummary summary = load_data(state);
    if (summary.lines_rejected != 0 || !state.data_loaded) {
        throw std::runtime_error("the survey file " + file + " did not load completely");
    }
    return summary;
}

}  // namespace vesk::bench
