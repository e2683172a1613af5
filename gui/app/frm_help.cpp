#include "gui/app/frm_help.h"

#include "core/app/settings.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace velmora::gui {

namespace {
constexpr int kClientWidth = 800;
constexpr int kClientHeight = 600;

// The guide's pages are HTML whatever their extension: the contents page carries the help file's
// name (velmora.HLP), which says nothing to the browser's guess by extension.
class GuideBrowser : public QTextBrowser
{
public:
    using QTextBrowser::QTextBrowser;

protected:
    void doSetSource(const QUrl& name, QTextDocument::ResourceType type) override
    {
        if (type == QTextDocument::UnknownResource && name.isLocalFile()
            && !name.path().endsWith(QStringLiteral(".md"), Qt::CaseInsensitive))
            type = QTextDocument::HtmlResource;
        QTextBrowser::doSetSource(name, type);
    }
};

QPushButton* AddButton(QHBoxLayout* row, const char* name, const QString& caption)
{
    auto* b = new QPushButton(caption);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    row->addWidget(b);
    return b;
}

} // namespace

TfrmHelp::TfrmHelp(const QString& contents, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowCloseButtonHint | Qt::WindowMaximizeButtonHint)
{
    setObjectName(QStringLiteral("frmHelp"));
    resize(kClientWidth, kClientHeight);

    auto* buttons = new QHBoxLayout;
    m_back = AddButton(buttons, "btnBack", QStringLiteral("← 戻る(&B)"));
    m_forward = AddButton(buttons, "btnForward", QStringLiteral("進む(&F) →"));
    QPushButton* home = AddButton(buttons, "btnContents", QStringLiteral("目次(&C)"));
    buttons->addStretch();
    QPushButton* close = AddButton(buttons, "btnClose", QStringLiteral("閉じる(&X)"));

    m_browser = new GuideBrowser;
    m_browser->setObjectName(QStringLiteral("txtHelp"));
    m_browser->setOpenLinks(true);
    m_browser->setOpenExternalLinks(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(buttons);
    layout->addWidget(m_browser, 1);

    connect(m_back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QPushButton::clicked, m_browser, &QTextBrowser::forward);
    connect(home, &QPushButton::clicked, m_browser, &QTextBrowser::home);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QPushButton::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QPushButton::setEnabled);
    connect(m_browser, &QTextBrowser::sourceChanged, this, &TfrmHelp::ShowTitle);
    m_back->setEnabled(false);
    m_forward->setEnabled(false);

    m_browser->setSource(QUrl::fromLocalFile(contents));
    m_browser->setFocus();
}

void TfrmHelp::ShowTitle()
{
    const QString page = m_browser->documentTitle();
    const QString app = QString::fromStdU16String(std::u16string(kAppTitle));
    setWindowTitle(page.isEmpty() ? app + QStringLiteral(" ヘルプ") : page);
}

} // namespace velmora::gui
