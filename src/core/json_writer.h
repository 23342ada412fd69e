#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vesk {

// A small writer of indented JSON for the provenance records: the program writes, never reads,
// JSON, so a writer is all it needs.
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
    void null(std::string_view key);
    // Inside an array: an element without a key.
    void element(std::string_view text) { value({}, text); }

    const std::string& text() const { return out_; }

  private:
    void open_member(std::string_view key);
    void close(char bracket);
    static std::string quoted(std::string_view text);

    std::string out_;
    int depth_ = 0;
    bool first_ = true;
};

}  // namespace vesk
