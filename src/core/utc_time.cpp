#include "core/utc_time.h"

#include <chrono>
#include <ctime>

namespace vesk {

std::string utc_text(std::int64_t seconds) {
    const auto time = static_cast<std::time_t>(seconds);
    std::tm utc{};
    gmtime_r(&time, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

std::string utc_now_text() {
    return utc_text(std::chrono::duration_cast<std::chrono::seconds>(
                        std::chrono::system_clock::now().time_since_epoch())
                        .count());
}

std::string readable_utc(std::string time) {
    if (time.size() == 20 && time[10] == 'T' && time.back() == 'Z') {
        time[10] = ' ';
        time.pop_back();
        time += " UTC";
    }
    return time;
}

}  // namespace vesk
