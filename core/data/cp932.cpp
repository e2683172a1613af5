#include "core/data/cp932.h"

#include <array>
#include <cstdint>
#include <iconv.h>
#include <memory>
#include <utility>

namespace velmora {

namespace {

constexpr uint16_t kNoCode = 0xFFFF; // no code in the page (0xFF is never a trail byte)

bool IsLeadByte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
bool IsTrailByte(unsigned char b)
{
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// The five single bytes glibc's converter rejects, with the characters the code page gives them.
struct RejectedByte
{
    unsigned char byte;
    char16_t ch;
};
constexpr std::array<RejectedByte, 5> kRejectedBytes {
    { { 0x80, 0x0080 }, { 0xA0, 0xF8F0 }, { 0xFD, 0xF8F1 }, { 0xFE, 0xF8F2 }, { 0xFF, 0xF8F3 } }
};

// Both directions of the code page as flat tables, built once through iconv at first use.
// single[b]: the character of single byte b (0 where b is a lead byte).
// dbcs[lead << 8 | trail]: the character of a double-byte code, 0 where undefined.
// encode[c]: the code of character c (one byte, or lead << 8 | trail), kNoCode where the page lacks it.
struct Tables
{
    std::array<char16_t, 256> single {};
    std::array<char16_t, 0x10000> dbcs {};
    std::array<uint16_t, 0x10000> encode {};

    Tables()
    {
        encode.fill(kNoCode);
        for (int b = 0; b < 0x80; ++b)
            single[b] = static_cast<char16_t>(b);
        for (int b = 0xA1; b <= 0xDF; ++b)
            single[b] = static_cast<char16_t>(0xFF61 + (b - 0xA1));
        for (const auto& s : kRejectedBytes)
            single[s.byte] = s.ch;
        for (int b = 0; b < 256; ++b)
            if (!IsLeadByte(static_cast<unsigned char>(b)))
                encode[single[b]] = static_cast<uint16_t>(b);

        iconv_t toUnicode = iconv_open("UTF-16LE", "CP932");
        iconv_t fromUnicode = iconv_open("CP932", "UTF-16LE");
        if (toUnicode == reinterpret_cast<iconv_t>(-1) || fromUnicode == reinterpret_cast<iconv_t>(-1))
            return; // no converter: only the single-byte part of the page is known
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (!IsLeadByte(static_cast<unsigned char>(lead)))
                continue;
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                if (!IsTrailByte(static_cast<unsigned char>(trail)))
                    continue;
                char in[2] = { static_cast<char>(lead), static_cast<char>(trail) };
                unsigned char out[8];
                char* ip = in;
                char* op = reinterpret_cast<char*>(out);
                size_t il = 2, ol = sizeof out;
                iconv(toUnicode, nullptr, nullptr, nullptr, nullptr);
                if (iconv(toUnicode, &ip, &il, &op, &ol) == static_cast<size_t>(-1) || il != 0
                    || op - reinterpret_cast<char*>(out) != 2)
                    continue;
                const char16_t c = static_cast<char16_t>(out[0] | (out[1] << 8));
                if (c != 0)
                    dbcs[lead << 8 | trail] = c;
            }
        }
        // Several codes can share one character (NEC and IBM extensions); the converter's own choice of
        // code for the character is the one written, so that a text round-trips the way the platform does.
        for (int code = 0; code < 0x10000; ++code) {
            const char16_t c = dbcs[code];
            if (c == 0 || encode[c] != kNoCode)
                continue;
            unsigned char in[2] = { static_cast<unsigned char>(c & 0xFF), static_cast<unsigned char>(c >> 8) };
            unsigned char out[8];
            char* ip = reinterpret_cast<char*>(in);
            char* op = reinterpret_cast<char*>(out);
            size_t il = 2, ol = sizeof out;
            iconv(fromUnicode, nullptr, nullptr, nullptr, nullptr);
            uint16_t chosen = static_cast<uint16_t>(code);
            if (iconv(fromUnicode, &ip, &il, &op, &ol) != static_cast<size_t>(-1) && il == 0) {
                const size_t n = static_cast<size_t>(op - reinterpret_cast<char*>(out));
                uint16_t viaIconv = kNoCode;
                if (n == 2 && IsLeadByte(out[0]))
                    viaIconv = static_cast<uint16_t>(out[0] << 8 | out[1]);
                if (viaIconv != kNoCode && dbcs[viaIconv] == c)
                    chosen = viaIconv;
            }
            encode[c] = chosen;
        }
        iconv_close(toUnicode);
        iconv_close(fromUnicode);
    }
};

const Tables& T()
{
    static const std::unique_ptr<Tables> tables = std::make_unique<Tables>();
    return *tables;
}

} // namespace

bool DecodeCp932(std::string_view bytes, std::u16string& out, size_t* badOffset)
{
    const Tables& t = T();
    out.clear();
    out.reserve(bytes.size());
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t n = bytes.size();
    for (size_t i = 0; i < n;) {
        const unsigned char b = p[i];
        if (b < 0x80) {
            out.push_back(static_cast<char16_t>(b));
            ++i;
            continue;
        }
        if (!IsLeadByte(b)) {
            out.push_back(t.single[b]);
            ++i;
            continue;
        }
        const char16_t c = i + 1 < n ? t.dbcs[b << 8 | p[i + 1]] : char16_t(0);
        if (c == 0) {
            if (badOffset)
                *badOffset = i;
            return false;
        }
        out.push_back(c);
        i += 2;
    }
    return true;
}

bool IsCp932Text(std::string_view bytes, size_t* badOffset)
{
    const Tables& t = T();
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t n = bytes.size();
    for (size_t i = 0; i < n;) {
        const unsigned char b = p[i];
        if (!IsLeadByte(b)) {
            ++i;
            continue;
        }
        if (i + 1 >= n || t.dbcs[b << 8 | p[i + 1]] == 0) {
            if (badOffset)
                *badOffset = i;
            return false;
        }
        i += 2;
    }
    return true;
}

bool EncodeCp932(std::u16string_view text, std::string& out)
{
    const Tables& t = T();
    out.clear();
    out.reserve(text.size() * 2);
    bool ok = true;
    for (const char16_t c : text) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
            continue;
        }
        const uint16_t code = t.encode[c];
        if (code == kNoCode) {
            out.push_back('?');
            ok = false;
        } else if (code > 0xFF) {
            out.push_back(static_cast<char>(code >> 8));
            out.push_back(static_cast<char>(code & 0xFF));
        } else {
            out.push_back(static_cast<char>(code));
        }
    }
    return ok;
}

size_t FirstNonCp932(std::u16string_view text)
{
    const Tables& t = T();
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] >= 0x80 && t.encode[text[i]] == kNoCode)
            return i;
    return std::u16string_view::npos;
}

std::u16string FoldCp932LookAlikes(std::u16string_view text)
{
    static constexpr std::pair<char16_t, char16_t> kLookAlikes[] = {
        { u'\u301C', u'\uFF5E' }, // 〜 -> ～
        { u'\u2212', u'\uFF0D' }, // − -> －
        { u'\u2016', u'\u2225' }, // ‖ -> ∥
        { u'\u2014', u'\u2015' }, // — -> ―
        { u'\u00A2', u'\uFFE0' }, // ¢ -> ￠
        { u'\u00A3', u'\uFFE1' }, // £ -> ￡
        { u'\u00AC', u'\uFFE2' }, // ¬ -> ￢
    };
    std::u16string out(text);
    for (char16_t& c : out)
        for (const auto& [from, to] : kLookAlikes)
            if (c == from)
                c = to;
    return out;
}

bool IsCp932Encodable(std::u16string_view text)
{
    return FirstNonCp932(text) == std::u16string_view::npos;
}

std::u16string FromCp932(std::string_view bytes)
{
    const Tables& t = T();
    std::u16string out;
    out.reserve(bytes.size());
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t n = bytes.size();
    for (size_t i = 0; i < n;) {
        const unsigned char b = p[i];
        if (!IsLeadByte(b)) {
            out.push_back(t.single[b]);
            ++i;
        } else if (i + 1 < n && IsTrailByte(p[i + 1])) {
            const char16_t c = t.dbcs[b << 8 | p[i + 1]];
            out.push_back(c != 0 ? c : u'\uFFFD');
            i += 2;
        } else {
            out.push_back(u'\uFFFD');
            ++i;
        }
    }
    return out;
}

std::string ToCp932(std::u16string_view text)
{
    std::string out;
    EncodeCp932(text, out);
    return out;
}

int Cp932CharBytes(char16_t c)
{
    if (c < 0x80)
        return 1;
    const uint16_t code = T().encode[c];
    return code != kNoCode && code > 0xFF ? 2 : 1; // a missing character is written as one '?'
}

size_t Cp932Length(std::u16string_view text)
{
    size_t n = 0;
    for (const char16_t c : text)
        n += static_cast<size_t>(Cp932CharBytes(c));
    return n;
}

std::u16string CutToBytes(std::u16string_view text, size_t maxBytes)
{
    size_t bytes = 0;
    size_t units = 0;
    for (; units < text.size(); ++units) {
        const size_t w = static_cast<size_t>(Cp932CharBytes(text[units]));
        if (bytes + w > maxBytes)
            break;
        bytes += w;
    }
    return std::u16string(text.substr(0, units));
}

std::string ToUtf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size() * 3);
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD; // a lone surrogate has no UTF-8 form
        }
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

size_t Utf8SequenceLength(std::string_view s, size_t i, uint32_t* codePoint)
{
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    const size_t n = s.size();
    const unsigned char b = p[i];
    if (b < 0x80) {
        *codePoint = b;
        return 1;
    }
    size_t len;
    uint32_t c;
    uint32_t min;
    if (b >= 0xC2 && b <= 0xDF) {
        len = 2, c = b & 0x1F, min = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
        len = 3, c = b & 0x0F, min = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
        len = 4, c = b & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (i + len > n)
        return 0;
    for (size_t k = 1; k < len; ++k) {
        if ((p[i + k] & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (p[i + k] & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return 0;
    *codePoint = c;
    return len;
}

std::u16string FromUtf8(std::string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        uint32_t c = 0;
        const size_t len = Utf8SequenceLength(text, i, &c);
        if (len == 0) {
            out.push_back(u'\uFFFD');
            ++i;
            continue;
        }
        i += len;
        if (c >= 0x10000) {
            c -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(c));
        }
    }
    return out;
}

} // namespace velmora
