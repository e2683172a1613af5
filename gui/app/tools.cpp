#include "gui/app/tools.h"

#include "gui/app/main_window.h"
#include "gui/mating/frm_velmora.h"

namespace velmora::gui {

void RegisterTools(TfrmMain& main)
{
    main.SetToolFactory(Tool::Velmora, [](QWidget* parent) { return new TfrmVelmora(parent); });
}

} // namespace velmora::gui
