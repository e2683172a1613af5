#pragma once
// TfrmHelp, the program's own help window: the user's guide (HTML pages with pictures) shown in a
// text browser, with back, forward and contents buttons, so that the help works on a desktop without
// a web browser.

#include <QDialog>
#include <QUrl>

class QPushButton;
class QTextBrowser;

namespace velmora::gui {

class TfrmHelp : public QDialog
{
    Q_OBJECT

public:
    // Opens the guide at its contents page `contents` (an HTML file whose links lead to the other pages
    // beside it).
    explicit TfrmHelp(const QString& contents, QWidget* parent = nullptr);

    QTextBrowser* Browser() const { return m_browser; }

private:
    void ShowTitle();

    QTextBrowser* m_browser;
    QPushButton* m_back;
    QPushButton* m_forward;
};

} // namespace velmora::gui
