#include "gui/pedigree/formula_chooser.h"

#include <QListView>

namespace velmora::gui {

namespace {

// A list that lays out its rows only while it is shown (and when asked to).
class LazyListView : public QListView
{
public:
    using QListView::QListView;

    void doItemsLayout() override
    {
        if (isVisible() || m_now)
            QListView::doItemsLayout();
    }

    void LayOutNow()
    {
        m_now = true;
        QListView::doItemsLayout();
        m_now = false;
    }

private:
    bool m_now = false;
};

} // namespace

FormulaChooser::FormulaChooser(QWidget* parent)
    : QComboBox(parent)
{
    auto* view = new LazyListView(this);
    view->setUniformItemSizes(true); // rows of one height: laid out without asking each line its size
    setView(view);
    // Not sized by its items either.
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
}

void FormulaChooser::showPopup()
{
    // The list's height is taken from its first rows before it is shown: they are laid out first.
    static_cast<LazyListView*>(view())->LayOutNow();
    QComboBox::showPopup();
}

} // namespace velmora::gui
