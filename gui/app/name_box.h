#pragma once
// Editable name boxes: combo boxes whose items are registered names and whose text the user may type.
// Qt completes a typed text inline with the first item that begins with it, ignoring letter case, and
// Enter then chooses that completion: with ｶｽｳﾄ listed before ｶｽｳ, typing ｶｽｳ would choose ｶｽｳﾄ. In a
// name box an exact registered name always wins.

class QComboBox;

namespace velmora::gui {

// From now on, when the text typed into box is exactly one of its items, Enter and leaving the box
// take that item, not the inline completion; names are matched with their letter case.
void KeepExactNames(QComboBox* box);

} // namespace velmora::gui
