#pragma once
// Code page 932 (Shift-JIS) <-> UTF-16, and the byte measure of texts in that code page.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace velmora {

// Decodes code page 932 bytes. Returns false, with the byte offset of the first undefined sequence
// in *badOffset, when the bytes are not code page 932 text.
bool DecodeCp932(std::string_view bytes, std::u16string& out, size_t* badOffset = nullptr);

// Whether the bytes are code page 932 text, as DecodeCp932 would find, without decoding them.
bool IsCp932Text(std::string_view bytes, size_t* badOffset = nullptr);

// Encodes to code page 932. Characters the code page lacks become '?'; returns false when any did.
bool EncodeCp932(std::u16string_view text, std::string& out);
// The index of the first code unit the code page lacks, or npos when it has them all.
size_t FirstNonCp932(std::u16string_view text);
// The characters other systems type where code page 932 has its own look-alikes (the wave dash 〜 of
// Linux input methods for ～, − for －, ‖ for ∥, — for ―, ¢ £ ¬ for ￠ ￡ ￢), replaced by the code
// page's; everything else is kept.
std::u16string FoldCp932LookAlikes(std::u16string_view text);

// Whether every character of text has a code in code page 932 (what EncodeCp932 would find), without
// building the bytes.
bool IsCp932Encodable(std::u16string_view text);

// Convenience forms: lossy ('?' for unmappable characters, U+FFFD for undefined bytes).
std::u16string FromCp932(std::string_view bytes);
std::string ToCp932(std::u16string_view text);

// Bytes one UTF-16 code unit takes in code page 932 (1 or 2); equals display columns in a fixed-pitch font.
int Cp932CharBytes(char16_t c);
// Bytes a text takes in code page 932.
size_t Cp932Length(std::u16string_view text);
// The longest prefix that fits in maxBytes, never cutting a double-byte character in half.
std::u16string CutToBytes(std::u16string_view text, size_t maxBytes);

// UTF-8 <-> UTF-16 for file names, command lines and messages.
std::string ToUtf8(std::u16string_view text);
std::u16string FromUtf8(std::string_view text);

// The length of the well-formed UTF-8 sequence at s[i] (1..4) with its code point, or 0 when the bytes
// there are not well-formed UTF-8 (overlong forms and surrogates included).
size_t Utf8SequenceLength(std::string_view s, size_t i, uint32_t* codePoint);

} // namespace velmora
