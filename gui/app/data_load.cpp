#include "gui/app/data_load.h"

#include "core/app/app_state.h"
#include "core/app/load_messages.h"
#include "gui/app/message_box.h"
#include "gui/app/wait_cursor.h"

#include <QCoreApplication>

namespace velmora::gui {

LoadHooks WaitCursorHooks()
{
    LoadHooks hooks;
    hooks.setBusy = SetBusyCursor;
    hooks.processEvents = [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); };
    return hooks;
}

void ShowLoadMessages(QWidget* parent, const LoadResult& result)
{
    for (const std::u16string& m : LoadMessageBoxes(result.messages))
        MessageBox::Show(parent, QString::fromStdU16String(m));
}

LoadResult ReloadMasterData(QWidget* parent)
{
    const AppState& s = App();
    const LoadResult result = GetMasterData(Master(), s.DataDir, s.DataFiles, WaitCursorHooks());
    ShowLoadMessages(parent, result);
    return result;
}

} // namespace velmora::gui
