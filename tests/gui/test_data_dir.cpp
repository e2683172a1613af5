// The data directory dialog through the program's real modal loops: at a first start in a folder
// without data (choosing the data, or cancelling), and from the main window's button (a folder that
// lacks a file, cancel, and a folder whose data are then loaded).

#include "core/app/app_state.h"
#include "core/app/settings.h"
#include "core/data/cp932.h"
#include "core/data/ini_file.h"
#include "core/data/master_data.h"
#include "core/maint/backups.h"
#include "gui/app/main_window.h"
#include "gui/app/message_box.h"
#include "support/sample_program.h"
#include "support/script.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace velmora;
using namespace velmora::gui;
using namespace velmora::gui::test;

namespace {

const char* const kLists[]
    = { "lstKeito", "lstKeiro", "lstCross", "lstOmokei", "lstOya", "lstDad", "lstMam", "lstAisho", "lstNix" };

// Copies the sample data into folder (created), leaving out the files named in leaveOut; with
// stallions > 0 the stallion file keeps only its first lines.
void CopySampleData(const QString& folder, const QStringList& leaveOut = {}, int stallions = 0)
{
    QVERIFY(CopySample(folder, leaveOut));
    if (stallions > 0) {
        QFile f(folder + QStringLiteral("/種牡馬.CSV"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = f.readAll().split('\n');
        f.close();
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        for (int i = 0; i < stallions; ++i)
            f.write(lines[i] + '\n');
    }
}

// The selected file of each list ("-" for none).
QStringList Selected(QDialog* d)
{
    QStringList names;
    for (const char* name : kLists) {
        auto* list = d->findChild<QListWidget*>(QString::fromLatin1(name));
        names << (list && list->currentItem() && list->currentItem()->isSelected() ? list->currentItem()->text()
                                                                                   : QStringLiteral("-"));
    }
    return names;
}

// Clicks the folder list's entry with that caption, as a user does.
void ClickFolder(QDialog* d, const QString& caption)
{
    QVERIFY(d);
    auto* list = d->findChild<QListWidget*>(QStringLiteral("lstFolder"));
    QVERIFY(list);
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->text().trimmed() == caption) {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(i)).center());
            return;
        }
    QFAIL(qPrintable(caption + QStringLiteral(" is not in the folder list")));
}

QString Setting(const QString& dir, std::u16string_view key)
{
    return QString::fromStdU16String(
        IniFile((dir + QStringLiteral("/velmora.INI")).toStdString()).ReadString(u"DATA", key, u"<absent>"));
}

const QStringList kSampleNames
    = { QStringLiteral("系統.CSV"),     QStringLiteral("毛色.CSV"),   QStringLiteral("ｸﾛｽ.CSV"),
        QStringLiteral("面白系統.CSV"), QStringLiteral("祖先馬.CSV"), QStringLiteral("種牡馬.CSV"),
        QStringLiteral("牝馬.CSV"),     QStringLiteral("相性.CSV"),   QStringLiteral("ニックス.CSV") };

} // namespace

class TestDataDir : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { MessageBox::SetAutoAnswer(MessageBox::Ok); }
    void init() { MessageBox::ClearHistory(); }

    // A first start in a folder without data: the dialog opens there with nothing selected; the user
    // opens the data folder, where every file is selected, and the start goes on with that data.
    void firstStartInAnEmptyFolderChoosesTheData()
    {
        QTemporaryDir dir;
        CopySampleData(dir.filePath(QStringLiteral("data")));
        QStringList before, after;
        Script script;
        script.Add([&] {
            QDialog* d = ActiveDialog("frmDataDir");
            QVERIFY(d);
            QCOMPARE(d->windowTitle(), QStringLiteral("データファイルの変更"));
            // The prompt is broken by the program at sensible places, not where wrapping runs out of
            // room (which left a lone "い。").
            auto* prompt = d->findChild<QLabel*>(QStringLiteral("lblPrompt"));
            const QStringList lines = prompt->text().split(QLatin1Char('\n'));
            QVERIFY(!prompt->wordWrap() && lines.size() > 1);
            QCOMPARE(lines.join(QString()),
                     QStringLiteral("左のデータ格納場所でデータフォルダを、右側で使用するデータファイルを選択し"
                                    "てからＯＫボタンを押してください。"));
            for (const QString& line : lines)
                QVERIFY2(line.size() > 4, qPrintable(prompt->text()));
            before = Selected(d);
            ClickFolder(d, QStringLiteral("data"));
            after = Selected(d);
            Click(d, "btnOK");
        });
        script.Start();
        TfrmMain main(dir.filePath(QStringLiteral("velmora")), dir.path());
        QVERIFY(script.Done());
        QCOMPARE(before, QStringList(9, QStringLiteral("-")));
        QCOMPARE(after, kSampleNames);
        QCOMPARE(main.StartupExitCode(), 0);
        QCOMPARE(Master().DadCount, 60);
        QCOMPARE(QString::fromStdString(App().DataDir), dir.filePath(QStringLiteral("data/")));
        QCOMPARE(Setting(dir.path(), u"データディレクトリ"), dir.filePath(QStringLiteral("data/")));
        QCOMPARE(MessageBox::History(), QStringList());
    }

    void installedProgramCopiesItsSampleData_data()
    {
        QTest::addColumn<QString>("programFolder");
        QTest::newRow("bin") << QStringLiteral("bin");
        QTest::newRow("games") << QStringLiteral("games");
    }

    // An installed program (<prefix>/bin/velmora, or <prefix>/games/velmora as the Debian package puts
    // it) offers its sample data (<prefix>/share/velmora/sample) in the drive selector at a first start
    // and finds its help file in <prefix>/share/velmora. The sample is read-only and shared: choosing it copies it into
    // ~/Velmora/data, where the program then works; when that folder exists, the user is asked where to copy it.
    void installedProgramCopiesItsSampleData()
    {
        QFETCH(QString, programFolder);
        QTemporaryDir prefix, home, work1, work2;
        const QString shared = prefix.filePath(QStringLiteral("share/velmora"));
        CopySampleData(shared + QStringLiteral("/sample"));
        QVERIFY(QDir().mkpath(prefix.filePath(programFolder)));
        QVERIFY(QDir().mkpath(home.filePath(QStringLiteral("mine"))));
        QFile help(shared + QStringLiteral("/velmora.HLP"));
        QVERIFY(help.open(QIODevice::WriteOnly));
        help.close();
        const QByteArray oldHome = qgetenv("HOME");
        qputenv("HOME", home.path().toUtf8());
        const QString copy = home.filePath(QStringLiteral("Velmora/data/"));
        QString drive, asked;
        auto chooseSample = [&] {
            QDialog* d = ActiveDialog("frmDataDir");
            QVERIFY(d);
            auto* drives = d->findChild<QComboBox*>(QStringLiteral("cmbDrive"));
            QVERIFY(drives);
            const int sample = drives->count() - 1;
            drive = drives->itemText(sample);
            drives->setCurrentIndex(sample);
            emit drives->activated(sample);
            Click(d, "btnOK");
        };
        Script first;
        first.Add(chooseSample);
        first.Start();
        {
            TfrmMain main(prefix.filePath(programFolder + QStringLiteral("/velmora")), work1.path());
            QVERIFY(first.Done());
            QCOMPARE(drive, QStringLiteral("サンプルデータ (%1/sample/)").arg(shared));
            QCOMPARE(main.StartupExitCode(), 0);
            QCOMPARE(QString::fromStdString(App().DataDir), copy);
            QCOMPARE(Setting(work1.path(), u"データディレクトリ"), copy);
            QCOMPARE(Master().MamCount, 80);
            QCOMPARE(QDir(copy).entryList(QDir::Files),
                     QDir(shared + QStringLiteral("/sample")).entryList(QDir::Files));
            QCOMPARE(main.HelpFilePath(), shared + QStringLiteral("/velmora.HLP"));
        }

        Script second;
        second.Add(chooseSample);
        second.Add([&] {
            auto* folder = qobject_cast<QFileDialog*>(ActiveDialog("dlgSampleCopy"));
            QVERIFY(folder);
            asked = folder->directory().absolutePath();
            folder->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))
                ->setText(home.filePath(QStringLiteral("mine")));
            static_cast<QDialog*>(folder)->accept();
        });
        second.Start();
        TfrmMain main(prefix.filePath(programFolder + QStringLiteral("/velmora")), work2.path());
        qputenv("HOME", oldHome);
        QVERIFY(second.Done());
        QCOMPARE(asked, home.filePath(QStringLiteral("Velmora")));
        QCOMPARE(QString::fromStdString(App().DataDir), home.filePath(QStringLiteral("mine/")));
        QCOMPARE(Master().DadCount, 60);
        // The sample itself holds what was installed, nothing more.
        QCOMPARE(QDir(shared + QStringLiteral("/sample")).entryList(QDir::Files),
                 QDir(QStringLiteral(VELMORA_SAMPLE_DIR)).entryList(QDir::Files));
    }

    void firstStartCancelledEndsWithCode1()
    {
        QTemporaryDir dir;
        Script script;
        script.Add([&] { Click(ActiveDialog("frmDataDir"), "btnCancel"); });
        script.Start();
        TfrmMain main(dir.filePath(QStringLiteral("velmora")), dir.path());
        QVERIFY(script.Done());
        QCOMPARE(main.StartupExitCode(), 1);
        QCOMPARE(MessageBox::History(),
                 QStringList { dir.path() + QStringLiteral("/祖先馬.CSVのパスが正しくありません。") });
    }

    // From the main window: a folder that lacks the ancestor file keeps the dialog open with a message
    // naming the current folder; cancel changes nothing; a complete folder is taken and loaded.
    void buttonChangesTheFolderAndReloads()
    {
        QTemporaryDir dir;
        CopySampleData(dir.path());
        CopySampleData(dir.filePath(QStringLiteral("partial")), { QStringLiteral("祖先馬.CSV") });
        CopySampleData(dir.filePath(QStringLiteral("fewer")), {}, 10);
        TfrmMain main(dir.filePath(QStringLiteral("velmora")), dir.path());
        QCOMPARE(main.StartupExitCode(), 0);
        main.show();
        const QString startDir = QString::fromStdString(App().DataDir);
        const QString iniBefore = Setting(dir.path(), u"データディレクトリ");

        QStringList opened, messages, afterCancel;
        bool mainHidden = false;
        Script script;
        script.Add([&] { Click(&main, "btnDir"); });
        script.Add([&] {
            QDialog* d = ActiveDialog("frmDataDir");
            QVERIFY(d);
            mainHidden = !main.isVisible();
            opened = Selected(d);
            ClickFolder(d, QStringLiteral("partial"));
            Click(d, "btnOK");
            messages = MessageBox::History();
        });
        script.Add([&] { Click(ActiveDialog("frmDataDir"), "btnCancel"); });
        script.Add([&] {
            afterCancel = { QString::fromStdString(App().DataDir), Setting(dir.path(), u"データディレクトリ") };
            Click(&main, "btnDir");
        });
        script.Add([&] {
            QDialog* d = ActiveDialog("frmDataDir");
            ClickFolder(d, QStringLiteral("fewer"));
            Click(d, "btnOK");
        });
        script.Start();
        QTRY_VERIFY_WITH_TIMEOUT(script.Done() && main.isVisible() && !QApplication::activeModalWidget(), 20000);

        QCOMPARE(opened, kSampleNames);
        QVERIFY(mainHidden);
        QCOMPARE(messages, QStringList { startDir + QStringLiteral("祖先馬.CSVが見つかりません") });
        QCOMPARE(afterCancel, (QStringList { startDir, iniBefore }));
        QCOMPARE(Master().DadCount, 10);
        QCOMPARE(QString::fromStdString(App().DataDir), dir.filePath(QStringLiteral("fewer/")));
        QVERIFY(iniBefore != Setting(dir.path(), u"データディレクトリ"));
        QCOMPARE(Setting(dir.path(), u"データディレクトリ"), dir.filePath(QStringLiteral("fewer/")));
    }

    // The backup window, reached from the dialog, puts a set of the data in use back; the dialog then
    // ends as after OK, even by its cancel button, so that the main window reads the data again.
    void backupSetIsPutBackAndTheDataReadAgain()
    {
        QTemporaryDir dir;
        CopySampleData(dir.path());
        MakeBackup(dir.path().toStdString() + "/", DefaultDataFiles(), 1577836800); // all 60 stallions
        CopySampleData(dir.filePath(QStringLiteral("ten")), {}, 10);
        QFile::remove(dir.filePath(QStringLiteral("種牡馬.CSV")));
        QVERIFY(
            QFile::copy(dir.filePath(QStringLiteral("ten/種牡馬.CSV")), dir.filePath(QStringLiteral("種牡馬.CSV"))));
        TfrmMain main(dir.filePath(QStringLiteral("velmora")), dir.path());
        QCOMPARE(main.StartupExitCode(), 0);
        main.show();
        QCOMPARE(Master().DadCount, 10);

        QStringList rows;
        Script script;
        script.Add([&] { Click(&main, "btnDir"); });
        script.Add([&] { Click(ActiveDialog("frmDataDir"), "btnBackups"); });
        script.Add([&] {
            QDialog* d = ActiveDialog("frmBackups");
            QVERIFY(d);
            auto* list = d->findChild<QListWidget*>(QStringLiteral("lstSets"));
            for (int i = 0; i < list->count(); ++i)
                rows << list->item(i)->text();
            Click(d, "btnRestore");
            Click(d, "btnClose");
        });
        script.Add([&] { Click(ActiveDialog("frmDataDir"), "btnCancel"); });
        script.Start();
        QTRY_VERIFY_WITH_TIMEOUT(script.Done() && main.isVisible() && !QApplication::activeModalWidget(), 20000);
        QCOMPARE(rows,
                 QStringList { QString::fromStdString(BackupTimeText(ListBackups(App().DataDir).back().name))
                               + QStringLiteral("　（9ファイル）") });
        QCOMPARE(Master().DadCount, 60);
    }
};

QTEST_MAIN(TestDataDir)
#include "test_data_dir.moc"
