#include "core/data/alias.h"

#include "core/data/cp932.h"
#include "core/data/ini_file.h"

namespace velmora {

namespace {
bool IsBlank(char16_t c)
{
    return c <= u' ' || c == u'\u3000';
}
bool HasLineBreak(std::u16string_view s)
{
    return s.find(u'\r') != std::u16string_view::npos || s.find(u'\n') != std::u16string_view::npos;
}
} // namespace

std::string AliasFilePath(const std::string& startDir)
{
    return startDir + ToUtf8(kAliasFileName);
}

bool CanStoreAlias(std::u16string_view alias, std::u16string_view name)
{
    // A key line is "key=value": a key with "=" or a line break would be read back as another key,
    // and the file layer drops blanks round a key, so such keys would never match again.
    if (alias.empty() || IsBlank(alias.front()) || IsBlank(alias.back()))
        return false;
    if (alias.find(u'=') != std::u16string_view::npos || HasLineBreak(alias) || HasLineBreak(name))
        return false;
    // A key starting like a section header or a comment line would not read back as a key either.
    if (alias.front() == u'[' || alias.front() == u';')
        return false;
    return true;
}

std::u16string GetAlias(const std::string& aliasFilePath, std::u16string_view name)
{
    if (!CanStoreAlias(name, u""))
        return {};
    const IniFile file(aliasFilePath);
    return file.Read(kAliasSection, name).value_or(std::u16string());
}

bool SetAlias(const std::string& aliasFilePath, std::u16string_view alias, std::u16string_view name)
{
    if (!CanStoreAlias(alias, name))
        return false;
    IniFile file(aliasFilePath);
    file.WriteString(kAliasSection, alias, name);
    return true;
}

} // namespace velmora
