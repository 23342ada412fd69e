#include "core/json_writer.h"

#include <cmath>
#include <utility>

namespace vesk {

void JsonWriter::add(std::string_view key, nlohmann::ordered_json member) {
    nlohmann::ordered_json& parent = *open_.back();
    if (parent.is_array()) {
        parent.push_back(std::move(member));
    } else {
        parent[std::string(key)] = std::move(member);
    }
}

void JsonWriter::open(std::string_view key, nlohmann::ordered_json container) {
    if (open_.empty()) {
        root_ = std::move(container);
        open_.push_back(&root_);
        return;
    }
    add(key, std::move(container));
    nlohmann::ordered_json& parent = *open_.back();
    open_.push_back(&parent.back());
}

void JsonWriter::close() {
    open_.pop_back();
    if (open_.empty()) {
        // Paths are bytes, not always UTF-8: a stray byte becomes U+FFFD instead of failing.
        text_ = root_.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
    }
}

void JsonWriter::begin_object(std::string_view key) {
    open(key, nlohmann::ordered_json::object());
}

void JsonWriter::end_object() {
    close();
}

void JsonWriter::begin_array(std::string_view key) {
    open(key, nlohmann::ordered_json::array());
}

void JsonWriter::end_array() {
    close();
}

void JsonWriter::value(std::string_view key, std::string_view text) {
    add(key, std::string(text));
}

void JsonWriter::value(std::string_view key, std::int64_t number) {
    add(key, number);
}

void JsonWriter::value(std::string_view key, double number) {
    add(key, std::isfinite(number) ? nlohmann::ordered_json(number) : nullptr);
}

void JsonWriter::boolean(std::string_view key, bool truth) {
    add(key, truth);
}

void JsonWriter::null(std::string_view key) {
    add(key, nullptr);
}

}  // namespace vesk
