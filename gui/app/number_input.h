#pragma once
// Number fields that take what an input method types: full-width digits and signs are folded to ASCII
// (FoldNumberInput) as they are typed, in edit fields and in number boxes with up-down buttons.

#include <QSpinBox>

class QLineEdit;

namespace velmora::gui {

// From now on the field's text is folded as it changes, before anyone is told of the change; the cursor
// keeps its place.
void FoldTypedNumbers(QLineEdit* edit);

// A number box (edit with up-down buttons) that reads full-width digits.
class NumberBox : public QSpinBox
{
    Q_OBJECT
public:
    using QSpinBox::QSpinBox;

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    int valueFromText(const QString& text) const override;
};

} // namespace velmora::gui
