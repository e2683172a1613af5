#pragma once
// The selection of a formula box as the user left it. A Qt line edit drops its selection when another
// control takes the focus; the pedigree windows need it afterwards: the alias dialog, opened with a
// button, replaces the unknown name that the reading selected. This keeps the selection the box had
// when it lost the focus, until the box gets the focus again or its text changes.

#include <QObject>
#include <QString>

class QLineEdit;

namespace velmora::gui {

class KeptSelection : public QObject
{
    Q_OBJECT
public:
    // Watches edit (and the combo box around it, when it is a combo box's edit field).
    explicit KeptSelection(QLineEdit* edit);

    // The text selected now, or the selection kept from when the box lost the focus; empty for none.
    QString SelectedText() const;
    // Replaces that selection with text (nothing happens when there is none).
    void ReplaceSelection(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* m_edit;
    int m_start = -1; // the kept selection, -1 for none
    int m_length = 0;
};

} // namespace velmora::gui
