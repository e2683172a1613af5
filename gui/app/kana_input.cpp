#include "gui/app/kana_input.h"

#include "core/app/app_state.h"
#include "core/data/name_fold.h"
#include "core/maint/input_mode.h"

#include <QLineEdit>

namespace velmora::gui {

namespace {

template <typename Fold> void FoldEdits(QLineEdit* edit, Fold fold)
{
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit, fold](const QString& text) {
        const std::u16string typed = text.toStdU16String();
        const std::u16string folded = fold(typed);
        if (folded == typed)
            return;
        const std::u16string head = fold(text.left(edit->cursorPosition()).toStdU16String());
        edit->setText(QString::fromStdU16String(folded));
        edit->setCursorPosition(static_cast<int>(head.size()));
    });
}

} // namespace

void FoldTypedKana(QLineEdit* edit)
{
    FoldEdits(edit, [](const std::u16string& t) { return ToHalfWidth(t); });
}

void FoldTypedKanaInKanaMode(QLineEdit* edit)
{
    FoldEdits(edit, [](const std::u16string& t) { return App().KanaMode ? FoldKanaInput(t) : t; });
}

} // namespace velmora::gui
