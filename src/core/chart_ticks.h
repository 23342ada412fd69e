#pragma once

namespace vesk {

// A round step (1, 2 or 5 times a power of ten) that puts about four ticks over 0 ... reach, for
// the results panel's chart and the report's.
double tick_step(double reach);

}  // namespace vesk
