#pragma once
// The program's message boxes: plain messages with one OK button, and "確認" questions with OK and
// Cancel. All windows go through this wrapper so that tests can answer the boxes: with a queued or an
// automatic answer a box is not shown at all, and every text is recorded.

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QWidget;

namespace velmora::gui {

class MessageBox
{
public:
    enum Answer { Ok, Cancel };

    // A message with one OK button, titled with the application's title.
    static void Show(QWidget* parent, const QString& text);
    // A question titled "確認" with OK and Cancel; true for OK.
    static bool Confirm(QWidget* parent, const QString& text);
    // Runs work; an error it throws (any std::exception) is shown in a message box over parent and goes
    // no further. False when there was one. `failed`, when given, gets the error before it is shown, to
    // undo what work began or to note what the error means. Every window reports its errors this way.
    static bool ShowErrors(QWidget* parent, const std::function<void()>& work,
                           const std::function<void(const std::exception&)>& failed = {});

    // Test hooks. While set, every box takes this answer without being shown.
    static void SetAutoAnswer(std::optional<Answer> answer);
    // The texts of all boxes since the last ClearHistory, shown or answered.
    static QStringList History();
    static void ClearHistory();

private:
    static Answer Ask(QWidget* parent, const QString& title, const QString& text, bool withCancel);
};

} // namespace velmora::gui
