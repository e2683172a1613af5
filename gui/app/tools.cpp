#include "gui/app/tools.h"

#include "gui/app/main_window.h"

namespace velmora::gui {

void RegisterTools(TfrmMain& main)
{
    // One line per tool window, e.g.
    //   main.SetToolFactory(Tool::Velmora, [](QWidget* parent) { return new TfrmVelmora(parent); });
    (void)main;
}

} // namespace velmora::gui
