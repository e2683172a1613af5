#include "core/maint/nick_file.h"

#include "core/data/cp932.h"
#include "core/data/fields.h"

#include <algorithm>

namespace velmora {

namespace {

// Whether a nick line names one of lines.
bool Names(std::u16string_view line, const std::vector<std::u16string>& lines)
{
    const auto listed
        = [&](const std::u16string& name) { return std::find(lines.begin(), lines.end(), name) != lines.end(); };
    FieldReader f(line);
    if (listed(f.Next()))
        return true;
    std::u16string second = f.Next();
    if (ParseIntDef(second, 0) > 0)
        second = f.Next();
    return listed(second);
}

} // namespace

std::string NickFileWithout(std::string_view bytes, const std::vector<std::u16string>& lines, int* removed)
{
    *removed = 0;
    std::string out;
    out.reserve(bytes.size());
    std::u16string text;
    for (size_t pos = 0; pos < bytes.size();) {
        size_t end = bytes.find_first_of("\r\n", pos);
        size_t next = end;
        if (end == std::string_view::npos)
            end = next = bytes.size();
        else if (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n')
            next = end + 2;
        else
            next = end + 1;
        // A line that is not code page 932 text names no line the program knows: it stays.
        if (DecodeCp932(bytes.substr(pos, end - pos), text) && Names(text, lines))
            ++*removed;
        else
            out.append(bytes.substr(pos, next - pos));
        pos = next;
    }
    return out;
}

} // namespace velmora
