#pragma once
// Loading the master data from a window: the wait cursor while the files are read, repaints between
// the large files, and the load's messages in message boxes.

#include "core/data/loader.h"

class QWidget;

namespace velmora::gui {

// The hooks that give a load the wait cursor and keep the windows repainting.
LoadHooks WaitCursorHooks();

// GetMasterData into Master() from App().DataDir and App().DataFiles; shows the load's messages over parent. Returns
// the load's result.
LoadResult ReloadMasterData(QWidget* parent);

// Shows the load's messages: one box each, or one box listing them when there are many.
void ShowLoadMessages(QWidget* parent, const LoadResult& result);

} // namespace velmora::gui
