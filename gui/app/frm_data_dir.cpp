#include "gui/app/frm_data_dir.h"

#include "core/app/app_state.h"
#include "gui/app/controls.h"
#include "gui/app/filling.h"
#include "gui/app/fit_form.h"
#include "gui/app/install_paths.h"
#include "gui/app/line_breaks.h"
#include "gui/app/message_box.h"
#include "gui/maint/frm_backups.h"
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStorageInfo>
#include <QStyle>

namespace velmora::gui {

namespace {

constexpr int kClientWidth = 755;
constexpr int kClientHeight = 381;

// The list names, in the order of kDataFileLists.
const char* const kListNames[9]
    = { "lstKeito", "lstKeiro", "lstCross", "lstOmokei", "lstOya", "lstDad", "lstMam", "lstAisho", "lstNix" };

std::vector<DataDirRoot> Roots()
{
    std::vector<std::string> mounts;
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes())
        mounts.push_back(v.rootPath().toStdString());
    return DataDirRoots(QDir::homePath().toStdString(), mounts,
                        SampleDataDir(QString::fromStdString(App().ExeDir)).toStdString());
}

QListWidget* MakeList(QWidget* parent, const char* name, int x, int y, int w, int h)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setGeometry(x, y, w, h);
    return list;
}

} // namespace

TfrmDataDir::TfrmDataDir(QWidget* parent)
    : QDialog(parent)
    , m_model(
          App(), Roots(),
          QDir::home().filePath(QString::fromUtf8(kSampleCopyFolder.data(), kSampleCopyFolder.size())).toStdString())
{
    setObjectName(QStringLiteral("frmDataDir"));
    setWindowTitle(Q(kDataDirCaption));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);
    setProperty("helpContext", 104);
    resize(kClientWidth, kClientHeight);
    setFixedSize(kClientWidth, kClientHeight);

    QLabel* prompt = MakeLabel(this, "lblPrompt", Q(kDataDirPrompt), 8, 6, 739, 44);
    BreakLinesSensibly(prompt);

    auto* place = new QGroupBox(QStringLiteral("データの格納場所"), this);
    place->setObjectName(QStringLiteral("grpPlace"));
    place->setGeometry(8, 54, 225, 288);
    MakeLabel(place, "lblDrive", QStringLiteral("ドライブ"), 10, 22, 205, 18);
    m_cmbDrive = new QComboBox(place);
    m_cmbDrive->setObjectName(QStringLiteral("cmbDrive"));
    m_cmbDrive->setGeometry(10, 42, 205, 24);
    for (const DataDirRoot& r : m_model.Roots())
        m_cmbDrive->addItem(Q(r.caption));
    MakeLabel(place, "lblFolder", QStringLiteral("フォルダ"), 10, 72, 205, 18);
    m_lstFolder = MakeList(place, "lstFolder", 10, 92, 205, 186);

    auto* files = new QGroupBox(QStringLiteral("使用するデータファイル"), this);
    files->setObjectName(QStringLiteral("grpFiles"));
    files->setGeometry(241, 54, 506, 288);
    for (size_t i = 0; i < m_lists.size(); ++i) {
        const int x = 10 + static_cast<int>(i % 3) * 164;
        const int y = 22 + static_cast<int>(i / 3) * 88;
        MakeLabel(files, nullptr, Q(kDataFileLists[i].label), x, y, 160, 18);
        m_lists[i] = MakeList(files, kListNames[i], x, y + 19, 160, 64);
        connect(m_lists[i], &QListWidget::currentRowChanged, this, [this, i](int row) {
            if (!m_filling)
                m_model.Select(static_cast<int>(i), row);
        });
    }

    // The backup sets of the data in use, one of which can be put back.
    QPushButton* backups
        = MakeButton(this, "btnBackups", QStringLiteral("バックアップから戻す(&B)..."), 8, 350, 200, 26);
    connect(backups, &QPushButton::clicked, this, &TfrmDataDir::OnBackups);
    QPushButton* ok = MakeButton(this, "btnOK", QStringLiteral("ＯＫ(&A)"), 561, 350, 90, 26);
    QPushButton* cancel = MakeButton(this, "btnCancel", QStringLiteral("ｷｬﾝｾﾙ(&C)"), 657, 350, 90, 26);
    connect(ok, &QPushButton::clicked, this, &TfrmDataDir::OnOk);
    connect(cancel, &QPushButton::clicked, this, &TfrmDataDir::reject);
    connect(m_cmbDrive, &QComboBox::activated, this, [this](int index) {
        m_model.ChooseRoot(index);
        ShowModel();
    });
    connect(m_lstFolder, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        m_model.ClickFolder(m_lstFolder->row(item));
        ShowModel();
    });
    ShowModel();
}

void TfrmDataDir::ShowModel()
{
    const Filling filling(m_filling);
    m_cmbDrive->setCurrentIndex(m_model.CurrentRoot());
    m_lstFolder->clear();
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirIcon);
    for (const FolderEntry& e : m_model.Folders())
        m_lstFolder->addItem(
            new QListWidgetItem(e.open ? open : closed, QString(e.depth * 2, QLatin1Char(' ')) + Q(e.caption)));
    m_lstFolder->setCurrentRow(m_model.CurrentFolderEntry());
    for (size_t i = 0; i < m_lists.size(); ++i) {
        const DataFileChoice& c = m_model.Lists()[i];
        QListWidget* list = m_lists[i];
        list->clear();
        for (const std::u16string& name : c.names)
            list->addItem(Q(name));
        list->setCurrentRow(c.selected);
        if (c.selected < 0)
            list->clearSelection();
    }
}

void TfrmDataDir::OnOk()
{
    DataDirOkResult r = m_model.Ok();
    if (!r.askCopyFolder.empty()) {
        const QString folder = AskSampleCopyFolder(QString::fromStdString(r.askCopyFolder));
        if (folder.isEmpty())
            return;
        r = m_model.OkWithSampleCopy(folder.toStdString());
    }
    for (const std::u16string& m : r.messages)
        MessageBox::Show(this, Q(m));
    if (r.close)
        accept();
}

void TfrmDataDir::OnBackups()
{
    TfrmBackups backups(this);
    FitForm(&backups);
    backups.exec();
    m_restored = m_restored || backups.Restored();
}

QString TfrmDataDir::AskSampleCopyFolder(const QString& start)
{
    QFileDialog dialog(this, QStringLiteral("サンプルデータのコピー先"), start);
    dialog.setObjectName(QStringLiteral("dlgSampleCopy"));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

void TfrmDataDir::reject()
{
    m_model.Cancel();
    // Data put back from a backup must be read again, as after OK.
    if (m_restored)
        QDialog::accept();
    else
        QDialog::reject();
}

} // namespace velmora::gui
