#include "gui/app/kana_input.h"

#include "core/app/app_state.h"
#include "core/maint/input_mode.h"

#include <QEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

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
    FoldEdits(edit, [](const std::u16string& t) { return FoldKanaInput(t); });
}

// Marks the time a text box handles the user's keys and input-method text: what it inserts then was
// typed.
class TypingWatch : public QObject
{
public:
    using QObject::QObject;
    bool typing = false;
    bool folding = false; // the watch's own replacement of what was typed

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (typing || (event->type() != QEvent::KeyPress && event->type() != QEvent::InputMethod))
            return false;
        typing = true;
        const bool handled = watched->event(event);
        typing = false;
        return handled;
    }
};

void FoldTypedKanaInKanaMode(QPlainTextEdit* edit)
{
    auto* watch = new TypingWatch(edit);
    edit->installEventFilter(watch);
    QObject::connect(edit->document(), &QTextDocument::contentsChange, edit,
                     [edit, watch](int position, int, int added) {
                         // Text the program sets is left as it is.
                         if (watch->folding || added <= 0 || !watch->typing || !App().KanaMode)
                             return;
                         QTextCursor range(edit->document());
                         range.setPosition(position);
                         range.setPosition(position + added, QTextCursor::KeepAnchor);
                         const QString typed = range.selectedText();
                         const QString folded = QString::fromStdU16String(FoldKanaInput(typed.toStdU16String()));
                         if (folded == typed)
                             return;
                         watch->folding = true;
                         range.insertText(folded); // the edit's cursor stays after the insertion
                         watch->folding = false;
                     });
}

void FoldTypedKanaInKanaMode(QLineEdit* edit)
{
    FoldEdits(edit, [](const std::u16string& t) { return App().KanaMode ? FoldKanaInput(t) : t; });
}

} // namespace velmora::gui
