#include "gui/app/tools.h"

#include "gui/app/frm_data_dir.h"
#include "gui/app/main_window.h"
#include "gui/maint/frm_make_data.h"
#include "gui/mating/frm_velmora.h"
#include "gui/pedigree/frm_editor.h"
#include "gui/pedigree/frm_parents.h"
#include "gui/search/frm_dravik.h"

namespace velmora::gui {

void RegisterTools(TfrmMain& main)
{
    main.SetToolFactory(Tool::Velmora, [](QWidget* parent) { return new TfrmVelmora(parent); });
    main.SetToolFactory(Tool::Dravik, [](QWidget* parent) { return new TfrmDravik(parent); });
    main.SetToolFactory(Tool::Parents, [](QWidget* parent) { return new TfrmParents(parent); });
    main.SetToolFactory(Tool::Editor, [](QWidget* parent) { return new TfrmEditor(parent); });
    main.SetToolFactory(Tool::Dir, [](QWidget* parent) { return new TfrmDataDir(parent); });
    main.SetToolFactory(Tool::Update, [](QWidget* parent) { return new TfrmMakeData(parent); });
}

} // namespace velmora::gui
