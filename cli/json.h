#pragma once
// A small JSON writer for the command outputs: keys in the order written, strings UTF-8 with escapes.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::cli {

class Json
{
public:
    Json& BeginObject();
    Json& EndObject();
    Json& BeginArray();
    Json& EndArray();
    Json& Key(std::string_view key);
    Json& Value(std::u16string_view text);
    Json& Value(std::string_view utf8);
    Json& Value(const char* utf8) { return Value(std::string_view(utf8)); }
    Json& Value(int64_t n);
    Json& Value(int32_t n) { return Value(static_cast<int64_t>(n)); }
    Json& Value(double x);
    Json& Bool(bool b);
    Json& Null();
    template <typename T> Json& Field(std::string_view key, const T& v)
    {
        Key(key);
        return Value(v);
    }
    Json& IntArray(const int32_t* values, size_t count);
    Json& StringArray(const std::vector<std::u16string>& texts);

    const std::string& Text() const { return m_out; }

private:
    void Separate();
    std::string m_out;
    std::vector<bool> m_first; // per open container: no element written yet
    bool m_afterKey = false;
};

// Escapes a UTF-8 text as a JSON string literal (with the quotes).
std::string JsonQuote(std::string_view utf8);

} // namespace velmora::cli
