// JSON written while it is produced, laid out byte for byte as nlohmann's dump(2, ' ', false,
// replace) lays out the same value: a command's output stays the same whether its value was
// built whole first or not, and a million entries never sit in memory twice.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace kantoria::cli {

// Appends text as a quoted JSON string: control characters, '"' and '\' escaped, other
// characters as they are, malformed UTF-8 replaced by U+FFFD.
void AppendJsonString(std::string& out, std::string_view text);

class JsonWriter {
  public:
    explicit JsonWriter(std::ostream& out) : out_(out) {}
    JsonWriter(const JsonWriter&) = delete;
    JsonWriter& operator=(const JsonWriter&) = delete;
    // Writes the closing line break and flushes; the value must be complete.
    ~JsonWriter();

    void BeginObject() { Open('{'); }
    void EndObject() { Close('}'); }
    void BeginArray() { Open('['); }
    void EndArray() { Close(']'); }
    // The next value's name, inside an object.
    void Key(std::string_view key);
    void String(std::string_view text);
    void Number(std::int64_t number);
    void Decimal(double number);
    void Null();

  private:
    void BeforeValue();
    void NewItem();
    void Open(char bracket);
    void Close(char bracket);
    void FlushIfFull();

    std::ostream& out_;
    std::string buffer_;
    std::vector<bool> levelHasItems_;
    bool afterKey_ = false;
};

}  // namespace kantoria::cli
