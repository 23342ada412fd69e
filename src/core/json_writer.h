#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

namespace vesk {

// Builds the provenance records member by member in the order written, and gives them as
// indented JSON text (two blanks a level, one line end at the end).
class JsonWriter {
  public:
    void begin_object(std::string_view key = {});
    void end_object();
    void begin_array(std::string_view key = {});
    void end_array();

    void value(std::string_view key, std::string_view text);
    void value(std::string_view key, const char* text) { value(key, std::string_view(text)); }
    void value(std::string_view key, std::int64_t number);
    void value(std::string_view key, double number);
    void boolean(std::string_view key, bool truth);
    void null(std::string_view key);
    // Inside an array: an element without a key.
    void element(std::string_view text) { value({}, text); }

    // The text of the record once its outermost object is closed.
    const std::string& text() const { return text_; }

  private:
    void add(std::string_view key, nlohmann::ordered_json member);
    void open(std::string_view key, nlohmann::ordered_json container);
    void close();

    nlohmann::ordered_json root_;
    std::vector<nlohmann::ordered_json*> open_;
    std::string text_;
};

}  // namespace vesk
