#pragma once
// The viewer's formula box with its item list: the result lines of a search, which may be millions.
// A Qt combo box lays out every item of its list whenever its font changes or items are added, a
// shown list or not; this one lays them out only when its list is opened, so that giving it the
// results window's lines costs neither time nor memory in proportion to them.

#include <QComboBox>

namespace velmora::gui {

class FormulaChooser : public QComboBox
{
    Q_OBJECT
public:
    explicit FormulaChooser(QWidget* parent = nullptr);
    void showPopup() override;
};

} // namespace velmora::gui
