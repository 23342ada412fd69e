#pragma once

#include <string>
#include <vector>

#include "core/result_stats.h"

namespace vesk {

// Why a group's verdict is missing or needs care: a short name for the table ("ties decide")
// and the reason in a sentence, for the hover text and the detail files.
struct GroupFlag {
    std::string name;
    std::string reason;
};

// The flags of a runs test group at a significance level ("ties decide" depends on it).
std::vector<GroupFlag> group_flags(const RunGroupStats& group, double level);
std::vector<GroupFlag> group_flags(const ChiGroupStats& group);

// The names joined by ", "; the reasons joined by "; ".
std::string flag_names(const std::vector<GroupFlag>& flags);
std::string flag_reasons(const std::vector<GroupFlag>& flags);

}  // namespace vesk
