#include "gui/app/number_input.h"

#include "core/data/typed_number.h"

#include <QLineEdit>

namespace velmora::gui {

namespace {

QString Folded(const QString& text)
{
    return QString::fromStdU16String(FoldNumberInput(text.toStdU16String()));
}

// Folds the text before the field takes it, so that every listener of the field sees the folded text;
// no text is refused (one that is no number is the reader's to judge).
class FoldingValidator : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        input = Folded(input); // folding keeps every character's place, and the cursor with it
        return Acceptable;
    }
};

} // namespace

void FoldTypedNumbers(QLineEdit* edit)
{
    edit->setValidator(new FoldingValidator(edit));
}

QValidator::State NumberBox::validate(QString& input, int& pos) const
{
    input = Folded(input);
    return QSpinBox::validate(input, pos);
}

int NumberBox::valueFromText(const QString& text) const
{
    return QSpinBox::valueFromText(Folded(text));
}

} // namespace velmora::gui
