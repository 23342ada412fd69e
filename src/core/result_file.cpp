#include "core/result_file.h"

#include "core/atomic_file.h"
#include "core/csv.h"

namespace vesk {

ResultFile write_result_file(AppState& state, std::string_view table, TestKind kind,
                             const std::vector<std::string>& statistic_names) {
    ResultFile result;
    result.path = result_file_name(state.out_file, kind);
    AtomicFile file(result.path);
    std::ostream& out = file.stream();

    auto count = state.db_conn.prepare("select count(*) as cnt from   " + std::string(table));
    const std::int64_t rows = count.step() ? count.integer("cnt") : 0;
    if (rows > 0) {
        auto query = state.db_conn.prepare("select * from  " + std::string(table) + " order by " +
                                           state.grp_vars);
        const int columns = query.column_count();
        std::string line;
        for (std::int64_t i = 0; i < state.grp_count() && i < columns; ++i) {
            line += csv_field(query.column_name(static_cast<int>(i))) + ",";
        }
        for (std::size_t i = 0; i < statistic_names.size(); ++i) {
            line += (i > 0 ? "," : "") + statistic_names[i];
        }
        out << line << '\n';
        while (query.step()) {
            line.clear();
            for (int column = 0; column < columns; ++column) {
                if (column > 0) {
                    line += ',';
                }
                line += csv_field(query.text(column));
            }
            out << line << '\n';
            ++result.rows;
        }
    }
    file.commit();
    return result;
}

std::string result_file_message(const ResultFile& result) {
    return "Generated Test result in file: " + result.path;
}

}  // namespace vesk
