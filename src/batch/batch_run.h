#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace vesk {

// Exit statuses of vesk-batch.
inline constexpr int exit_success = 0;
inline constexpr int exit_failure = 1;     // anything that is not the user's to mend
inline constexpr int exit_user_error = 2;  // arguments, layout, data or names the user gave

// Runs one vesk-batch command line (the arguments after the program name). Results and the
// load summary go to out; errors and warnings to err. Returns the exit status.
int run_batch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace vesk
