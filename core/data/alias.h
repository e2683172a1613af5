#pragma once
// The alias file: names used in pedigree formulas mapped onto the registered horse they stand for.
// An INI file in code page 932 with the one section "Alias"; key = the name as written in a formula,
// value = the registered name. The file is opened for each call and closed again; nothing is cached.

#include <string>
#include <string_view>

namespace velmora {

inline constexpr std::u16string_view kAliasFileName = u"ALIAS.TXT";
inline constexpr std::u16string_view kAliasSection = u"Alias";

// The alias file of a start directory (UTF-8, ending with '/'): startDir + "ALIAS.TXT".
std::string AliasFilePath(const std::string& startDir);

// The registered name the alias file gives for name; empty when the name is not a key or the file is
// missing. A name that cannot be a key of the file (see CanStoreAlias) is never found.
std::u16string GetAlias(const std::string& aliasFilePath, std::u16string_view name);

// Whether the pair can be stored so that it reads back unchanged: the alias is not empty, has no
// surrounding blanks and contains neither "=" nor a line break, and the name contains no line break.
bool CanStoreAlias(std::u16string_view alias, std::u16string_view name);

// Writes alias = name into section "Alias", adding or replacing the entry; creates the file on first
// use. Returns false, writing nothing, when the pair cannot be stored (CanStoreAlias). Throws FileError
// when the file cannot be written.
bool SetAlias(const std::string& aliasFilePath, std::u16string_view alias, std::u16string_view name);

} // namespace velmora
