#pragma once
// A small JSON reader for the command inputs (CONDITIONS.json): the whole RFC 8259 grammar, strings
// kept as UTF-8, numbers as double. Malformed input throws JsonError with the line and column.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velmora::cli {

class JsonError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

class JsonValue
{
public:
    enum class Type { Null, Bool, Number, String, Array, Object };

    Type type() const { return m_type; }
    // Typed access; `what` names the value in the error message (e.g. "haigo.1.Omo").
    bool AsBool(std::string_view what) const;
    double AsNumber(std::string_view what) const;
    // An integral number within [lo, hi].
    int64_t AsInt(std::string_view what, int64_t lo, int64_t hi) const;
    const std::string& AsString(std::string_view what) const;
    const std::vector<JsonValue>& AsArray(std::string_view what) const;
    const std::vector<std::pair<std::string, JsonValue>>& AsObject(std::string_view what) const;
    // A member of an object, or nullptr.
    const JsonValue* Find(std::string_view key) const;

    static const char* TypeName(Type t);

private:
    friend class JsonParser;
    Type m_type = Type::Null;
    bool m_bool = false;
    double m_number = 0;
    std::string m_string;
    std::vector<JsonValue> m_array;
    std::vector<std::pair<std::string, JsonValue>> m_object;
};

// Parses a whole document; duplicate keys and nesting deeper than 64 levels are errors.
JsonValue ParseJson(std::string_view text);

} // namespace velmora::cli
