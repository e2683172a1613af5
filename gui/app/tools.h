#pragma once
// The tool windows the main window opens. Each tool's window file provides a factory, and
// RegisterTools (tools.cpp) hands them to the main window; a tool without a factory keeps its
// button disabled.

#include <functional>

class QDialog;
class QWidget;

namespace velmora::gui {

class TfrmMain;

enum class Tool {
    Velmora, // optimal-mating window
    Dravik, // strongest-mating search window
    Parents, // pedigree viewer
    Editor, // pedigree editor, created once for the whole run
    Dir, // data directory dialog
    Update, // data editing window
};

// Creates a tool's window, parented to the main window; it is shown modally with exec().
using ToolFactory = std::function<QDialog*(QWidget* parent)>;

// Registers every tool window built so far with the main window. Called by TfrmMain's constructor
// before the start-up sequence (which may need the data directory dialog).
void RegisterTools(TfrmMain& main);

} // namespace velmora::gui
