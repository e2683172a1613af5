#include "cli/json_reader.h"

#include "core/common/message_text.h"

#include <cmath>
#include <cstdlib>
#include <functional>
#include <unordered_set>

namespace velmora::cli {

namespace {
constexpr int kMaxDepth = 64;

[[noreturn]] void TypeError(std::string_view what, const char* expected, JsonValue::Type actual)
{
    throw JsonError(std::string(what) + ": expected " + expected + ", found " + JsonValue::TypeName(actual));
}
} // namespace

const char* JsonValue::TypeName(Type t)
{
    switch (t) {
    case Type::Null:
        return "null";
    case Type::Bool:
        return "a boolean";
    case Type::Number:
        return "a number";
    case Type::String:
        return "a string";
    case Type::Array:
        return "an array";
    case Type::Object:
        return "an object";
    }
    return "?";
}

bool JsonValue::AsBool(std::string_view what) const
{
    if (m_type != Type::Bool)
        TypeError(what, "a boolean", m_type);
    return m_bool;
}

double JsonValue::AsNumber(std::string_view what) const
{
    if (m_type != Type::Number)
        TypeError(what, "a number", m_type);
    return m_number;
}

int64_t JsonValue::AsInt(std::string_view what, int64_t lo, int64_t hi) const
{
    const double v = AsNumber(what);
    if (!(v >= static_cast<double>(lo) && v <= static_cast<double>(hi)) || std::floor(v) != v)
        throw JsonError(std::string(what) + ": expected an integer from " + std::to_string(lo) + " to "
                        + std::to_string(hi));
    return static_cast<int64_t>(v);
}

const std::string& JsonValue::AsString(std::string_view what) const
{
    if (m_type != Type::String)
        TypeError(what, "a string", m_type);
    return m_string;
}

const std::vector<JsonValue>& JsonValue::AsArray(std::string_view what) const
{
    if (m_type != Type::Array)
        TypeError(what, "an array", m_type);
    return m_array;
}

const std::vector<std::pair<std::string, JsonValue>>& JsonValue::AsObject(std::string_view what) const
{
    if (m_type != Type::Object)
        TypeError(what, "an object", m_type);
    return m_object;
}

const JsonValue* JsonValue::Find(std::string_view key) const
{
    for (const auto& [k, v] : m_object)
        if (k == key)
            return &v;
    return nullptr;
}

class JsonParser
{
public:
    explicit JsonParser(std::string_view text)
        : m_text(text)
    {
    }

    JsonValue Document()
    {
        SkipSpace();
        JsonValue v = Value(0);
        SkipSpace();
        if (m_pos != m_text.size())
            Fail("unexpected text after the end of the document");
        return v;
    }

private:
    [[noreturn]] void Fail(const std::string& message) const
    {
        int line = 1, column = 1;
        for (size_t i = 0; i < m_pos && i < m_text.size(); ++i) {
            if (m_text[i] == '\n') {
                ++line;
                column = 1;
            } else if ((static_cast<unsigned char>(m_text[i]) & 0xC0) != 0x80) {
                ++column;
            }
        }
        throw JsonError("line " + std::to_string(line) + ", column " + std::to_string(column) + ": " + message);
    }

    bool AtEnd() const { return m_pos >= m_text.size(); }
    char Peek() const { return AtEnd() ? '\0' : m_text[m_pos]; }

    void SkipSpace()
    {
        while (!AtEnd() && (Peek() == ' ' || Peek() == '\t' || Peek() == '\n' || Peek() == '\r'))
            ++m_pos;
    }

    void Expect(char c)
    {
        if (Peek() != c)
            Fail(std::string("expected '") + c + "'");
        ++m_pos;
    }

    void Literal(std::string_view word)
    {
        if (m_text.substr(m_pos, word.size()) != word)
            Fail("unknown word");
        m_pos += word.size();
    }

    JsonValue Value(int depth)
    {
        if (depth > kMaxDepth)
            Fail("nesting too deep");
        JsonValue v;
        switch (Peek()) {
        case '{':
            v.m_type = JsonValue::Type::Object;
            Object(v, depth);
            break;
        case '[':
            v.m_type = JsonValue::Type::Array;
            Array(v, depth);
            break;
        case '"':
            v.m_type = JsonValue::Type::String;
            v.m_string = String();
            break;
        case 't':
            Literal("true");
            v.m_type = JsonValue::Type::Bool;
            v.m_bool = true;
            break;
        case 'f':
            Literal("false");
            v.m_type = JsonValue::Type::Bool;
            break;
        case 'n':
            Literal("null");
            break;
        default:
            if (Peek() == '-' || (Peek() >= '0' && Peek() <= '9')) {
                v.m_type = JsonValue::Type::Number;
                v.m_number = Number();
            } else if (AtEnd()) {
                Fail("unexpected end of the document");
            } else {
                Fail("expected a value");
            }
        }
        return v;
    }

    void Object(JsonValue& v, int depth)
    {
        Expect('{');
        SkipSpace();
        if (Peek() == '}') {
            ++m_pos;
            return;
        }
        // The keys seen so far, by their index in the members, so that a duplicate is found in constant
        // time however many keys the object has.
        auto& members = v.m_object;
        const auto keyOf = [&members](size_t i) { return std::string_view(members[i].first); };
        const auto hash = [&keyOf](size_t i) { return std::hash<std::string_view>()(keyOf(i)); };
        const auto same = [&keyOf](size_t a, size_t b) { return keyOf(a) == keyOf(b); };
        std::unordered_set<size_t, decltype(hash), decltype(same)> seen(16, hash, same);
        for (;;) {
            SkipSpace();
            if (Peek() != '"')
                Fail("expected a key in double quotes");
            members.emplace_back(String(), JsonValue());
            if (!seen.insert(members.size() - 1).second)
                Fail("duplicate key \"" + NameForMessage(members.back().first) + "\"");
            SkipSpace();
            Expect(':');
            SkipSpace();
            members.back().second = Value(depth + 1);
            SkipSpace();
            if (Peek() == ',') {
                ++m_pos;
                continue;
            }
            if (Peek() == '}') {
                ++m_pos;
                return;
            }
            Fail("expected ',' or '}'");
        }
    }

    void Array(JsonValue& v, int depth)
    {
        Expect('[');
        SkipSpace();
        if (Peek() == ']') {
            ++m_pos;
            return;
        }
        for (;;) {
            SkipSpace();
            v.m_array.push_back(Value(depth + 1));
            SkipSpace();
            if (Peek() == ',') {
                ++m_pos;
                continue;
            }
            if (Peek() == ']') {
                ++m_pos;
                return;
            }
            Fail("expected ',' or ']'");
        }
    }

    double Number()
    {
        const size_t start = m_pos;
        auto digits = [&] {
            const size_t from = m_pos;
            while (Peek() >= '0' && Peek() <= '9')
                ++m_pos;
            return m_pos - from;
        };
        if (Peek() == '-')
            ++m_pos;
        if (Peek() == '0') {
            ++m_pos;
            if (Peek() >= '0' && Peek() <= '9')
                Fail("leading zeros are not allowed");
        } else if (digits() == 0) {
            Fail("expected digits");
        }
        if (Peek() == '.') {
            ++m_pos;
            if (digits() == 0)
                Fail("expected digits after '.'");
        }
        if (Peek() == 'e' || Peek() == 'E') {
            ++m_pos;
            if (Peek() == '+' || Peek() == '-')
                ++m_pos;
            if (digits() == 0)
                Fail("expected digits in the exponent");
        }
        const std::string text(m_text.substr(start, m_pos - start));
        return std::strtod(text.c_str(), nullptr);
    }

    unsigned Hex4()
    {
        unsigned v = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = Peek();
            unsigned d;
            if (c >= '0' && c <= '9')
                d = static_cast<unsigned>(c - '0');
            else if (c >= 'a' && c <= 'f')
                d = static_cast<unsigned>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                d = static_cast<unsigned>(c - 'A' + 10);
            else
                Fail("expected four hexadecimal digits after \\u");
            v = v * 16 + d;
            ++m_pos;
        }
        return v;
    }

    static void PutUtf8(std::string& out, unsigned cp)
    {
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }

    // One UTF-8 sequence copied as it is, after checking that it is well formed.
    void Utf8Sequence(std::string& out)
    {
        const auto b0 = static_cast<unsigned char>(Peek());
        int n;
        unsigned cp;
        if (b0 >= 0xC2 && b0 <= 0xDF) {
            n = 1;
            cp = b0 & 0x1F;
        } else if (b0 >= 0xE0 && b0 <= 0xEF) {
            n = 2;
            cp = b0 & 0x0F;
        } else if (b0 >= 0xF0 && b0 <= 0xF4) {
            n = 3;
            cp = b0 & 0x07;
        } else {
            Fail("invalid UTF-8");
        }
        const size_t start = m_pos++;
        for (int i = 0; i < n; ++i) {
            const auto b = static_cast<unsigned char>(Peek());
            if ((b & 0xC0) != 0x80)
                Fail("invalid UTF-8");
            cp = (cp << 6) | (b & 0x3F);
            ++m_pos;
        }
        if ((n == 2 && cp < 0x800) || (n == 3 && (cp < 0x10000 || cp > 0x10FFFF)) || (cp >= 0xD800 && cp <= 0xDFFF))
            Fail("invalid UTF-8");
        out.append(m_text.substr(start, m_pos - start));
    }

    std::string String()
    {
        Expect('"');
        std::string out;
        for (;;) {
            if (AtEnd())
                Fail("unterminated string");
            const char c = Peek();
            if (c == '"') {
                ++m_pos;
                return out;
            }
            if (static_cast<unsigned char>(c) < 0x20)
                Fail("control character in a string");
            if (static_cast<unsigned char>(c) >= 0x80) {
                Utf8Sequence(out);
                continue;
            }
            ++m_pos;
            if (c != '\\') {
                out += c;
                continue;
            }
            const char e = Peek();
            ++m_pos;
            switch (e) {
            case '"':
                out += '"';
                break;
            case '\\':
                out += '\\';
                break;
            case '/':
                out += '/';
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'u': {
                unsigned cp = Hex4();
                if (cp >= 0xD800 && cp <= 0xDBFF) {
                    if (m_text.substr(m_pos, 2) != "\\u")
                        Fail("unpaired surrogate in \\u escape");
                    m_pos += 2;
                    const unsigned low = Hex4();
                    if (low < 0xDC00 || low > 0xDFFF)
                        Fail("unpaired surrogate in \\u escape");
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
                    Fail("unpaired surrogate in \\u escape");
                }
                PutUtf8(out, cp);
                break;
            }
            default:
                --m_pos;
                Fail("invalid escape in a string");
            }
        }
    }

    std::string_view m_text;
    size_t m_pos = 0;
};

JsonValue ParseJson(std::string_view text)
{
    return JsonParser(text).Document();
}

} // namespace velmora::cli
