#pragma once

#include <cstdint>
#include <string>

namespace vesk {

// Times as the program writes them, always in UTC.

// Seconds since 1970 as 2024-05-01T12:00:00Z: how the database and the provenance files keep a
// time.
std::string utc_text(std::int64_t seconds);
std::string utc_now_text();

// A time written by utc_text as the report shows it: 2024-05-01 12:00:00 UTC. Any other text
// stays as it is.
std::string readable_utc(std::string time);

}  // namespace vesk
