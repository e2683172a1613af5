#include "cli/json.h"

#include "core/data/cp932.h"

#include <cmath>
#include <cstdio>

namespace velmora::cli {

std::string JsonQuote(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size() + 2);
    out += '"';
    for (unsigned char c : utf8) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    out += '"';
    return out;
}

void Json::Separate()
{
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (!m_first.empty()) {
        if (!m_first.back())
            m_out += ',';
        m_first.back() = false;
    }
}

Json& Json::BeginObject()
{
    Separate();
    m_out += '{';
    m_first.push_back(true);
    return *this;
}

Json& Json::EndObject()
{
    m_out += '}';
    m_first.pop_back();
    return *this;
}

Json& Json::BeginArray()
{
    Separate();
    m_out += '[';
    m_first.push_back(true);
    return *this;
}

Json& Json::EndArray()
{
    m_out += ']';
    m_first.pop_back();
    return *this;
}

Json& Json::Key(std::string_view key)
{
    Separate();
    m_out += JsonQuote(key);
    m_out += ':';
    m_afterKey = true;
    return *this;
}

Json& Json::Value(std::u16string_view text)
{
    return Value(std::string_view(ToUtf8(text)));
}

Json& Json::Value(std::string_view utf8)
{
    Separate();
    m_out += JsonQuote(utf8);
    return *this;
}

Json& Json::Value(int64_t n)
{
    Separate();
    m_out += std::to_string(n);
    return *this;
}

Json& Json::Value(double x)
{
    Separate();
    if (!std::isfinite(x)) {
        m_out += "null";
        return *this;
    }
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.6g", x);
    m_out += buf;
    return *this;
}

Json& Json::Bool(bool b)
{
    Separate();
    m_out += b ? "true" : "false";
    return *this;
}

Json& Json::Null()
{
    Separate();
    m_out += "null";
    return *this;
}

Json& Json::IntArray(const int32_t* values, size_t count)
{
    BeginArray();
    for (size_t i = 0; i < count; ++i)
        Value(static_cast<int64_t>(values[i]));
    return EndArray();
}

Json& Json::StringArray(const std::vector<std::u16string>& texts)
{
    BeginArray();
    for (const auto& t : texts)
        Value(std::u16string_view(t));
    return EndArray();
}

} // namespace velmora::cli
