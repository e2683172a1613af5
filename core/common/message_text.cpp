#include "core/common/message_text.h"

#include <cerrno>
#include <sys/stat.h>
#include <system_error>

namespace velmora {

std::string SystemErrorText(int err)
{
    switch (err) {
    case EACCES:
    case EPERM:
        return "アクセスが許可されていません";
    case ENOENT:
        return "ファイルまたはフォルダがありません";
    case ENOSPC:
        return "ディスクに空きがありません";
    case EDQUOT:
        return "ディスクの使用量の上限を超えます";
    case EROFS:
        return "読み取り専用のファイルシステムです";
    case ENAMETOOLONG:
        return "名前が長すぎます";
    case ELOOP:
        return "シンボリックリンクが循環しています";
    case EISDIR:
        return "フォルダです";
    case ENOTDIR:
        return "パスの途中にフォルダでないものがあります";
    default:
        return std::generic_category().message(err);
    }
}

std::string NotAFileReason(const std::string& path)
{
    struct stat st
    {
    };
    if (::stat(path.c_str(), &st) == 0) {
        if (S_ISREG(st.st_mode))
            return {};
        if (S_ISDIR(st.st_mode))
            return "フォルダです";
        if (S_ISFIFO(st.st_mode))
            return "名前付きパイプ (FIFO) です";
        return "デバイスまたはソケットです";
    }
    const int err = errno;
    if (err == ENOENT) {
        struct stat link
        {
        };
        if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode))
            return "シンボリックリンクの先がありません";
        return {};
    }
    return SystemErrorText(err);
}

std::u16string NameForMessage(std::u16string_view name)
{
    if (name.size() <= kMessageNameLength)
        return std::u16string(name);
    size_t end = kMessageNameLength;
    if (name[end - 1] >= 0xD800 && name[end - 1] <= 0xDBFF) // the first half of a pair
        --end;
    return std::u16string(name.substr(0, end)) + u"…";
}

std::string NameForMessage(std::string_view name)
{
    size_t chars = 0;
    for (size_t i = 0; i < name.size(); ++i) {
        if ((static_cast<unsigned char>(name[i]) & 0xC0) == 0x80)
            continue; // a continuation byte
        if (chars++ == kMessageNameLength)
            return std::string(name.substr(0, i)) + "…";
    }
    return std::string(name);
}

} // namespace velmora
