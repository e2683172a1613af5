#include "gui/pedigree/kept_selection.h"

#include <QComboBox>
#include <QEvent>
#include <QLineEdit>

namespace velmora::gui {

KeptSelection::KeptSelection(QLineEdit* edit)
    : QObject(edit)
    , m_edit(edit)
{
    edit->installEventFilter(this);
    // A combo box takes the focus for its edit field and hands the focus events on to it directly.
    if (auto* combo = qobject_cast<QComboBox*>(edit->parentWidget()))
        combo->installEventFilter(this);
    connect(edit, &QLineEdit::textChanged, this, [this] { m_start = -1; });
}

bool KeptSelection::eventFilter(QObject*, QEvent* event)
{
    // Seen before the edit field handles the event, that is before it drops the selection.
    if (event->type() == QEvent::FocusOut && m_edit->hasSelectedText()) {
        m_start = m_edit->selectionStart();
        m_length = m_edit->selectionLength();
    } else if (event->type() == QEvent::FocusIn) {
        m_start = -1;
    }
    return false;
}

QString KeptSelection::SelectedText() const
{
    if (m_edit->hasSelectedText())
        return m_edit->selectedText();
    if (m_start < 0)
        return QString();
    return m_edit->text().mid(m_start, m_length);
}

void KeptSelection::ReplaceSelection(const QString& text)
{
    if (!m_edit->hasSelectedText()) {
        if (m_start < 0)
            return;
        m_edit->setSelection(m_start, m_length);
    }
    m_edit->insert(text);
}

} // namespace velmora::gui
