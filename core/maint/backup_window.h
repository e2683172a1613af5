#pragma once
// The window that lists the backup sets of the data in use and puts one back ("バックアップから戻す"),
// reached from the data directory dialog.

#include "core/maint/backups.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

inline constexpr std::u16string_view kBackupCaption = u"バックアップから戻す";
inline constexpr std::u16string_view kMsgNoBackups = u"バックアップはまだありません";

class BackupWindowModel
{
public:
    // The sets beside the data files in dataDir, newest first.
    BackupWindowModel(std::string dataDir, TDataFiles files);

    // The caption above the list: which folder's sets these are.
    std::u16string Heading() const;
    // A row per set: its time and how many files it holds; one row kMsgNoBackups when there is none.
    const std::vector<std::u16string>& Rows() const { return m_rows; }
    bool CanRestore(int row) const;

    // Puts the set of row back after asking ask (the current files are backed up first); returns the
    // message to show, empty when the user said no. The rows are read again afterwards.
    std::u16string Restore(int row, const std::function<bool(std::u16string_view)>& ask);
    // Whether a set was put back: the data in memory must be read again.
    bool Restored() const { return m_restored; }

private:
    void Refresh();

    std::string m_dataDir;
    TDataFiles m_files;
    std::vector<BackupSet> m_sets;
    std::vector<std::u16string> m_rows;
    bool m_restored = false;
};

} // namespace velmora
