#include "core/maint/backup_window.h"

#include "core/common/decimal.h"
#include "core/common/errors.h"
#include "core/data/cp932.h"

#include <ctime>

namespace velmora {

BackupWindowModel::BackupWindowModel(std::string dataDir, TDataFiles files)
    : m_dataDir(std::move(dataDir))
    , m_files(std::move(files))
{
    Refresh();
}

void BackupWindowModel::Refresh()
{
    m_sets = ListBackups(m_dataDir);
    m_rows.clear();
    for (const BackupSet& s : m_sets)
        m_rows.push_back(FromUtf8(BackupTimeText(s.name)) + u"　（" + Decimal(static_cast<int64_t>(s.files.size()))
                         + u"ファイル）");
    if (m_rows.empty())
        m_rows.emplace_back(kMsgNoBackups);
}

std::u16string BackupWindowModel::Heading() const
{
    return FromUtf8(m_dataDir) + u" のバックアップ（新しい順）";
}

bool BackupWindowModel::CanRestore(int row) const
{
    return row >= 0 && static_cast<size_t>(row) < m_sets.size();
}

std::u16string BackupWindowModel::Restore(int row, const std::function<bool(std::u16string_view)>& ask)
{
    if (!CanRestore(row))
        return {};
    const std::u16string when = FromUtf8(BackupTimeText(m_sets[static_cast<size_t>(row)].name));
    if (!ask(when + u" のデータに戻しますか？\r\n今のデータは、その前にバックアップします。"))
        return {};
    std::u16string message;
    try {
        const std::string made
            = RestoreBackup(m_dataDir, m_files, m_sets[static_cast<size_t>(row)].name, std::time(nullptr));
        m_restored = true;
        message = when + u" のデータに戻しました。\r\n戻す前のデータは " + FromUtf8(BackupTimeText(made))
            + u" のバックアップにあります。";
    } catch (const VelmoraError& e) {
        message = FromUtf8(e.what());
    }
    Refresh();
    return message;
}

} // namespace velmora
