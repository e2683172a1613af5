#include "gui/app/main_window.h"

#include "core/app/app_state.h"
#include "core/app/settings.h"
#include "gui/app/controls.h"
#include "gui/app/data_load.h"
#include "gui/app/file_dialogs.h"
#include "gui/app/fit_form.h"
#include "gui/app/frm_help.h"
#include "gui/app/install_paths.h"
#include "gui/app/message_box.h"
#include "gui/app/modal.h"
#include "gui/app/wait_cursor.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QPushButton>

namespace velmora::gui {

namespace {
constexpr int kClientWidth = 338;
constexpr int kClientHeight = 367;
constexpr int kButtonWidth = 289;
constexpr int kButtonHeight = 33;
constexpr int kButtonGap = 8;
constexpr int kButtonLeft = (kClientWidth - kButtonWidth) / 2;
constexpr int kButtonTop = (kClientHeight - (9 * kButtonHeight + 8 * kButtonGap)) / 2;

const char* const kButtonNames[] = { "btnVelmora", "btnDravik", "btnParents", "btnEditor", "btnDir", "btnUpdate" };

} // namespace

TfrmMain::TfrmMain(const QString& exePath, const QString& currentDir,
                   const std::function<void(TfrmMain&)>& beforeStartup, QWidget* parent)
    : QWidget(parent,
              Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                  | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmMain"));
    setProperty("helpContext", 1);
    setFixedSize(kClientWidth, kClientHeight);

    AddButton("btnVelmora", QStringLiteral("Velmora配合決定"), 0, &TfrmMain::OnVelmora);
    AddButton("btnDravik", QStringLiteral("Dravik配合検索"), 1, &TfrmMain::OnDravik);
    AddButton("btnParents", QStringLiteral("血統ビューア"), 2, &TfrmMain::OnParents);
    AddButton("btnEditor", QStringLiteral("血統エディタ"), 3, &TfrmMain::OnEditor);
    AddButton("btnDir", QStringLiteral("データファイルの変更"), 4, &TfrmMain::OnDir);
    AddButton("btnUpdate", QStringLiteral("各種データの更新"), 5, &TfrmMain::OnUpdate);
    AddButton("btnFont", QStringLiteral("フォントの変更"), 6, &TfrmMain::OnFont);
    AddButton("btnHelp", QStringLiteral("ヘルプ"), 7, &TfrmMain::OnHelp);
    AddButton("btnEnd", QStringLiteral("終了"), 8, &TfrmMain::OnEnd);
    for (const char* name : kButtonNames) // tool buttons wait for their windows
        findChild<QPushButton*>(QString::fromLatin1(name))->setEnabled(false);

    SetFileDialogOwner(this);

    RegisterTools(*this);
    if (beforeStartup)
        beforeStartup(*this);
    RunStartup(exePath, currentDir);
}

TfrmMain::~TfrmMain()
{
    if (!m_closed)
        ShutDown(App(), Master());
}

QPushButton* TfrmMain::AddButton(const char* name, const QString& caption, int row, void (TfrmMain::*slot)())
{
    QPushButton* b = MakeButton(this, name, caption, kButtonLeft, kButtonTop + row * (kButtonHeight + kButtonGap),
                                kButtonWidth, kButtonHeight);
    connect(b, &QPushButton::clicked, this, slot);
    return b;
}

QPushButton* TfrmMain::ButtonFor(Tool tool) const
{
    return findChild<QPushButton*>(QString::fromLatin1(kButtonNames[static_cast<int>(tool)]));
}

void TfrmMain::SetToolFactory(Tool tool, ToolFactory factory)
{
    const bool available = static_cast<bool>(factory);
    m_factories[static_cast<size_t>(tool)] = std::move(factory);
    // The editor's button waits until the editor itself exists.
    if (tool != Tool::Editor)
        ButtonFor(tool)->setEnabled(available);
}

bool TfrmMain::HasTool(Tool tool) const
{
    return static_cast<bool>(m_factories[static_cast<size_t>(tool)]);
}

QFontDialog* TfrmMain::FontDialog()
{
    if (!m_fontDialog) {
        m_fontDialog = new QFontDialog(this);
        // Only the fonts installed on the system can be chosen.
        m_fontDialog->setOptions(QFontDialog::DontUseNativeDialog | QFontDialog::ProportionalFonts
                                 | QFontDialog::MonospacedFonts | QFontDialog::ScalableFonts
                                 | QFontDialog::NonScalableFonts);
        OfferJapaneseFontsOnly(m_fontDialog);
    }
    return m_fontDialog;
}

QFileDialog* TfrmMain::OpenDialog()
{
    return KeptTextFileDialog(this, false);
}

QFileDialog* TfrmMain::SaveDialog()
{
    return KeptTextFileDialog(this, true);
}

void TfrmMain::RunStartup(const QString& exePath, const QString& currentDir)
{
    AppState& s = App();
    setWindowTitle(QString::fromStdU16String(std::u16string(kAppTitle)));
    StartupHooks hooks;
    hooks.screen = CurrentScreenSize();
    hooks.fitMainWindow = [this] { FitForm(this); };
    hooks.dataDirDialog = [this] { return RunDataDirDialog(); };
    hooks.load = WaitCursorHooks();
    MessageBox::ShowErrors(
        this,
        [&] {
            const LoadResult result = StartUp(s, Master(), currentDir.toStdString(), exePath.toStdString(), hooks);
            ShowLoadMessages(this, result);
        },
        [this](const std::exception& e) {
            // A refused start says how the program ends; any other error means the settings file could
            // not be read or written: nothing can be kept, so the program ends too.
            const auto* refused = dynamic_cast<const StartupAbort*>(&e);
            m_exitCode = refused ? refused->ExitCode() : 2;
        });
}

bool TfrmMain::RunDataDirDialog()
{
    if (!HasTool(Tool::Dir))
        return false; // no dialog to offer: as if it had been cancelled
    std::unique_ptr<QDialog> dialog(m_factories[static_cast<size_t>(Tool::Dir)](this));
    FitForm(dialog.get());
    return dialog->exec() == QDialog::Accepted;
}

void TfrmMain::CreateEditor()
{
    if (m_editor || !HasTool(Tool::Editor))
        return;
    m_editor = m_factories[static_cast<size_t>(Tool::Editor)](this);
    FitForm(m_editor);
    ButtonFor(Tool::Editor)->setEnabled(true);
}

int TfrmMain::RunTool(Tool tool, bool waitCursor)
{
    if (!HasTool(tool))
        return QDialog::Rejected;
    std::unique_ptr<QDialog> window;
    // The hourglass while the window is made; it is gone before a message shows.
    const bool made = MessageBox::ShowErrors(this, [&] {
        const WaitCursor wait(waitCursor);
        window.reset(m_factories[static_cast<size_t>(tool)](this));
        FitForm(window.get());
    });
    if (!made)
        return QDialog::Rejected;
    const int result = ExecHidden(this, window.get());
    window.reset();
    return result;
}

void TfrmMain::OnVelmora()
{
    RunTool(Tool::Velmora, true);
}

void TfrmMain::OnDravik()
{
    RunTool(Tool::Dravik, true);
}

void TfrmMain::OnParents()
{
    App().ViewFromResults = false;
    RunTool(Tool::Parents, false);
}

void TfrmMain::OnEditor()
{
    if (!m_editor)
        return;
    RefitKeptForm(m_editor);
    ExecHidden(this, m_editor);
}

void TfrmMain::RunDataTool(Tool tool)
{
    if (!HasTool(tool))
        return;
    std::unique_ptr<QDialog> window(m_factories[static_cast<size_t>(tool)](this));
    FitForm(window.get());
    hide();
    const bool ok = window->exec() == QDialog::Accepted;
    window.reset();
    if (ok)
        ReloadMasterData(this);
    show();
}

void TfrmMain::OnDir()
{
    RunDataTool(Tool::Dir);
}

void TfrmMain::OnUpdate()
{
    RunDataTool(Tool::Update);
}

void TfrmMain::OnFont()
{
    hide();
    QFontDialog* dialog = FontDialog();
    dialog->setCurrentFont(font());
    if (dialog->exec() == QDialog::Accepted) {
        const QFont chosen = dialog->selectedFont();
        MessageBox::ShowErrors(this, [&] { SetWindowFont(App(), U(chosen.family()), chosen.pointSize()); });
        setFont(AppFont());
    }
    show();
}

QString TfrmMain::HelpFilePath() const
{
    const QString name = QString::fromStdU16String(App().HelpName);
    const QString inStart = QString::fromStdString(App().StartDir) + name;
    if (QFileInfo::exists(inStart))
        return inStart;
    const QString exeDir = QString::fromStdString(App().ExeDir);
    const QString beside = QDir(exeDir).filePath(name);
    const QString installed = SharedDataDir(exeDir); // <prefix>/share/velmora of an installed program
    return QFileInfo::exists(beside) || installed.isEmpty() ? beside : QDir(installed).filePath(name);
}

void TfrmMain::OnHelp()
{
    // The guide is shown in the program's own window: it needs no browser on the desktop.
    const QString contents = HelpFilePath();
    if (!QFileInfo(contents).isFile()) {
        MessageBox::Show(this, QDir::toNativeSeparators(contents) + QStringLiteral("が見つかりません"));
        return;
    }
    TfrmHelp help(contents, this);
    FitForm(&help);
    ExecHidden(this, &help);
}

void TfrmMain::OnEnd()
{
    close();
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    if (!m_closed) {
        m_closed = true;
        ShutDown(App(), Master());
    }
    event->accept();
}

} // namespace velmora::gui
