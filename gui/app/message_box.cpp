#include "gui/app/message_box.h"

#include "core/app/settings.h"

#include <QApplication>
#include <QMessageBox>

namespace velmora::gui {

namespace {
struct HookState
{
    std::optional<MessageBox::Answer> automatic;
    QStringList history;
};

HookState& Hooks()
{
    static HookState state;
    return state;
}
} // namespace

void MessageBox::SetAutoAnswer(std::optional<Answer> answer)
{
    Hooks().automatic = answer;
}
QStringList MessageBox::History()
{
    return Hooks().history;
}
void MessageBox::ClearHistory()
{
    Hooks().history.clear();
}

MessageBox::Answer MessageBox::Ask(QWidget* parent, const QString& title, const QString& text, bool withCancel)
{
    HookState& h = Hooks();
    h.history.append(text);
    if (h.automatic)
        return *h.automatic;
    // A hidden parent (the main window during start-up or while a tool is open) would place the box
    // off its own window; then it is centred on the screen instead.
    QWidget* owner = parent && parent->isVisible() ? parent : nullptr;
    QMessageBox box(withCancel ? QMessageBox::Question : QMessageBox::Information, title, text,
                    withCancel ? (QMessageBox::Ok | QMessageBox::Cancel) : QMessageBox::Ok, owner);
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok ? Ok : Cancel;
}

void MessageBox::Show(QWidget* parent, const QString& text)
{
    Ask(parent, QString::fromStdU16String(std::u16string(kAppTitle)), text, false);
}

bool MessageBox::Confirm(QWidget* parent, const QString& text)
{
    return Ask(parent, QStringLiteral("確認"), text, true) == Ok;
}

bool MessageBox::ShowErrors(QWidget* parent, const std::function<void()>& work,
                            const std::function<void(const std::exception&)>& failed)
{
    try {
        work();
        return true;
    } catch (const std::exception& e) {
        if (failed)
            failed(e);
        Show(parent, QString::fromUtf8(e.what()));
        return false;
    }
}

} // namespace velmora::gui
