#include "gui/app/name_box.h"

#include <QComboBox>
#include <QCompleter>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace velmora::gui {

namespace {

class ExactNames : public QObject
{
public:
    explicit ExactNames(QComboBox* box)
        : QObject(box)
        , m_box(box)
    {
    }

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::FocusOut)
            DropCompletion();
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter)
                DropCompletion();
        }
        return false;
    }

private:
    // The inline completion is the selected tail of the text; what stands before it was typed.
    void DropCompletion()
    {
        QLineEdit* edit = m_box->lineEdit();
        if (!edit || !edit->hasSelectedText())
            return;
        const int start = edit->selectionStart();
        if (start + edit->selectionLength() != edit->text().size())
            return;
        const QString typed = edit->text().left(start);
        if (!typed.isEmpty() && m_box->findText(typed, Qt::MatchExactly | Qt::MatchCaseSensitive) >= 0)
            edit->setText(typed);
    }

    QComboBox* m_box;
};

} // namespace

void KeepExactNames(QComboBox* box)
{
    // The box's own lookups (Enter, leaving the box) then compare with the letter case.
    if (QCompleter* c = box->completer())
        c->setCaseSensitivity(Qt::CaseSensitive);
    auto* filter = new ExactNames(box);
    // The combo box hands its keys and focus events to its edit field directly, past the field's
    // filters: both are watched.
    box->installEventFilter(filter);
    if (box->lineEdit())
        box->lineEdit()->installEventFilter(filter);
}

} // namespace velmora::gui
