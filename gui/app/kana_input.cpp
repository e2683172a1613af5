#include "gui/app/kana_input.h"

#include "core/data/name_fold.h"

#include <QLineEdit>

namespace velmora::gui {

void FoldTypedKana(QLineEdit* edit)
{
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString& text) {
        const std::u16string folded = ToHalfWidth(text.toStdU16String());
        if (folded == text.toStdU16String())
            return;
        const std::u16string head = ToHalfWidth(text.left(edit->cursorPosition()).toStdU16String());
        edit->setText(QString::fromStdU16String(folded));
        edit->setCursorPosition(static_cast<int>(head.size()));
    });
}

} // namespace velmora::gui
