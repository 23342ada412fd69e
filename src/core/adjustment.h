#pragma once

namespace vesk {

// Which adjusted p-value decides whether a group counts as significant.
enum class Adjustment { benjamini_hochberg, holm };

}  // namespace vesk
