#include "gui/app/message_box.h"

#include "core/app/settings.h"
#include "gui/app/line_breaks.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QStyle>

#include <algorithm>

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

// The text with its lines broken where a reader expects (BreakMessageLines), each narrow enough that
// the box does not wrap it again: a box wraps a text wider than half the screen (at most 500 pixels),
// beside its icon.
QString BrokenForBox(const QMessageBox& box, const QString& text)
{
    const QScreen* screen = box.screen() ? box.screen() : QGuiApplication::primaryScreen();
    const int screenWidth = screen ? screen->availableGeometry().width() : 800;
    const int icon = box.style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, &box);
    return BreakLines(text, box.font(), std::min(screenWidth / 2, 500) - icon - 64);
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
    QMessageBox box(withCancel ? QMessageBox::Question : QMessageBox::Information, title, QString(),
                    withCancel ? (QMessageBox::Ok | QMessageBox::Cancel) : QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    box.setText(BrokenForBox(box, text));
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
