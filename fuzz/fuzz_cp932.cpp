// libFuzzer target for the code page 932 and UTF-8 conversions. The input is taken as code page 932
// bytes, as UTF-16 text (pairs of bytes) and as UTF-8. Checked: the validity test agrees with the
// decoder; decoded text encodes without loss, back to text that decodes the same, and its measure in
// bytes is the encoded length; any text encodes to bytes that decode and encode again to the same
// bytes; UTF-16 without lone surrogates survives UTF-8 both ways. Any failed check traps.

#include "core/data/cp932.h"
#include "fuzz/fuzz_support.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace velmora;
using velmora::fuzz::Check;

namespace {

void FromBytes(std::string_view bytes)
{
    std::u16string text;
    size_t badDecode = SIZE_MAX, badCheck = SIZE_MAX;
    const bool decoded = DecodeCp932(bytes, text, &badDecode);
    Check(IsCp932Text(bytes, &badCheck) == decoded);
    const std::u16string lossy = FromCp932(bytes);
    if (!decoded) {
        Check(badCheck == badDecode && badDecode < bytes.size());
        return;
    }
    Check(lossy == text);
    std::string encoded;
    Check(EncodeCp932(text, encoded)); // every character read from the page has a code in it
    Check(Cp932Length(text) == encoded.size());
    std::u16string again;
    Check(DecodeCp932(encoded, again) && again == text);
    // Cutting to a byte limit keeps a prefix that fits, never half a character.
    const size_t limit = bytes.size() / 2;
    const std::u16string cut = CutToBytes(text, limit);
    Check(Cp932Length(cut) <= limit && text.compare(0, cut.size(), cut) == 0);
    Check(cut.size() == text.size()
          || Cp932Length(cut) + static_cast<size_t>(Cp932CharBytes(text[cut.size()])) > limit);
}

void FromText(std::u16string_view text)
{
    std::string encoded;
    EncodeCp932(text, encoded);
    Check(encoded == ToCp932(text) && encoded.size() == Cp932Length(text));
    std::u16string decoded;
    Check(DecodeCp932(encoded, decoded));
    std::string again;
    Check(EncodeCp932(decoded, again) && again == encoded);

    bool loneSurrogate = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
            ++i;
        else if (c >= 0xD800 && c <= 0xDFFF)
            loneSurrogate = true;
    }
    if (!loneSurrogate)
        Check(FromUtf8(ToUtf8(text)) == text);
}

void FromUtf8Bytes(std::string_view bytes)
{
    // Whatever the bytes, the text read from them writes well-formed UTF-8 that reads back the same.
    const std::u16string text = FromUtf8(bytes);
    const std::string utf8 = ToUtf8(text);
    for (size_t i = 0; i < utf8.size();) {
        uint32_t c = 0;
        const size_t len = Utf8SequenceLength(utf8, i, &c);
        Check(len > 0);
        i += len;
    }
    Check(FromUtf8(utf8) == text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 65536)
        return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    FromBytes(bytes);
    std::u16string text(size / 2, u'\0');
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
    FromText(text);
    FromUtf8Bytes(bytes);
    return 0;
}
