// The main window: first start in a fresh working folder, the nine buttons, the start-up failures,
// the tool commands, the font dialog, help and FitForm.

#include "core/app/app_state.h"
#include "core/data/ini_file.h"
#include "core/data/master_data.h"
#include "gui/app/fit_form.h"
#include "gui/app/fit_text.h"
#include "gui/app/main_window.h"
#include "gui/app/message_box.h"
#include "gui/app/modal.h"
#include "gui/app/translations.h"
#include "support/layout_check.h"
#include "support/sample_program.h"
#include "support/script.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontMetricsF>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QListView>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>
#include <QtTest>

using namespace velmora;
using namespace velmora::gui;
using velmora::gui::test::CopySample;

namespace {

// A fresh working folder holding a copy of the sample data.
struct WorkFolder
{
    QTemporaryDir dir;
    explicit WorkFolder(const QStringList& leaveOut = {}) { CopySample(dir.path(), leaveOut); }
    QString Path() const { return dir.path(); }
    QString Exe() const { return dir.filePath(QStringLiteral("velmora")); }
    std::string Ini() const { return dir.filePath(QStringLiteral("velmora.INI")).toStdString(); }
};

// Receives the URLs the window asks the desktop to open.
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls.append(url); }
};

QPushButton* Button(QWidget& w, const QString& name)
{
    return w.findChild<QPushButton*>(name);
}
} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        MessageBox::SetAutoAnswer(MessageBox::Ok);
        QVERIFY(QGuiApplication::primaryScreen()->size().height() >= 600);
    }
    void init() { MessageBox::ClearHistory(); }

    void firstStartCreatesSettingsFileWithEveryKey()
    {
        WorkFolder work;
        QVERIFY(!QFile::exists(QString::fromStdString(work.Ini())));
        TfrmMain w(work.Exe(), work.Path());
        QCOMPARE(w.StartupExitCode(), 0);
        QCOMPARE(MessageBox::History(), QStringList());
        QCOMPARE(Master().DadCount, 60);
        QCOMPARE(Master().MamCount, 80);

        const IniFile ini(work.Ini());
        const std::vector<std::pair<std::u16string, size_t>> sections
            = { { u"SCREEN", 6 },     { u"DATA", 10 },        { u"ImeMode", 1 },     { u"牡馬★", 5 },
                { u"牝馬価格帯", 4 }, { u"牝馬スピード", 3 }, { u"牝馬スタミナ", 3 } };
        QCOMPARE(ini.Sections().size(), sections.size());
        for (const auto& [section, keys] : sections)
            QCOMPARE(ini.Keys(section).size(), keys);
        QCOMPARE(ini.ReadString(u"SCREEN", u"FontSize", u""), std::u16string(u"12"));
        QCOMPARE(ini.ReadString(u"SCREEN", u"ScreenWidth", u""), std::u16string(u"800"));
        QCOMPARE(ini.ReadString(u"SCREEN", u"ScreenHeight", u""), std::u16string(u"600"));
        QCOMPARE(ini.ReadString(u"SCREEN", u"FontName", u""), std::u16string(u"ＭＳ Ｐゴシック"));
        QCOMPARE(ini.ReadString(u"DATA", u"データディレクトリ", u""), (work.Path() + "/").toStdU16String());
        QCOMPARE(ini.ReadString(u"ImeMode", u"Mode", u""), std::u16string(u"カナ"));
    }

    void buttons_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        const char* names[] = { "btnVelmora", "btnDravik", "btnParents", "btnEditor", "btnDir",
                                "btnUpdate",  "btnFont",   "btnHelp",    "btnEnd" };
        const char* captions[]
            = { "Velmora配合決定",  "Dravik配合検索", "血統ビューア", "血統エディタ", "データファイルの変更",
                "各種データの更新", "フォントの変更", "ヘルプ",       "終了" };
        for (int i = 0; i < 9; ++i)
            QTest::newRow(names[i]) << i << QString::fromLatin1(names[i]) << QString::fromUtf8(captions[i]);
    }

    void buttons()
    {
        QFETCH(int, row);
        QFETCH(QString, name);
        QFETCH(QString, caption);
        WorkFolder work;
        TfrmMain w(work.Exe(), work.Path());
        QCOMPARE(w.StartupExitCode(), 0);
        QPushButton* b = Button(w, name);
        QVERIFY(b);
        QCOMPARE(b->text(), caption);
        QCOMPARE(b->size(), QSize(289, 33));
        // A tool's button is enabled once its window is registered; the editor's once the editor
        // exists (it is created after the start-up); the last three always.
        const bool enabled = row >= 6 || (row != 3 && w.HasTool(static_cast<Tool>(row)));
        QCOMPARE(b->isEnabled(), enabled);
        if (row == 3) {
            w.CreateEditor();
            QCOMPARE(b->isEnabled(), w.HasTool(Tool::Editor));
        }
        // Top to bottom, 8 pixels apart, in one column.
        const QPushButton* first = Button(w, QStringLiteral("btnVelmora"));
        QCOMPARE(b->x(), first->x());
        QCOMPARE(b->y(), first->y() + row * (33 + 8));
        QVERIFY(b->geometry().bottom() < w.height());
    }

    void buttonsInTabOrder()
    {
        WorkFolder work;
        TfrmMain w(work.Exe(), work.Path());
        QStringList order;
        QWidget* start = Button(w, QStringLiteral("btnVelmora"));
        QWidget* x = start;
        do {
            if (qobject_cast<QPushButton*>(x) && x->parentWidget() == &w)
                order << x->objectName();
            x = x->nextInFocusChain();
        } while (x && x != start);
        QCOMPARE(order,
                 (QStringList { "btnVelmora", "btnDravik", "btnParents", "btnEditor", "btnDir", "btnUpdate", "btnFont",
                                "btnHelp", "btnEnd" }));
    }

    void windowCaptionSizeAndFont()
    {
        WorkFolder work;
        TfrmMain w(work.Exe(), work.Path());
        QCOMPARE(w.windowTitle(), QStringLiteral("【Velmora5.8】 for Tollan"));
        QCOMPARE(w.size(), QSize(338, 367));
        QCOMPARE(w.minimumSize(), w.maximumSize()); // fixed border
        // System menu and minimise box; no maximise box.
        QVERIFY(w.windowFlags().testFlags(Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint));
        QVERIFY(!w.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QCOMPARE(w.font().pointSize(), 12);
        // "ＭＳ Ｐゴシック" is not installed here: a Japanese font takes its place.
        QVERIFY(QFontDatabase::families().contains(QStringLiteral("IPAPGothic")));
        QCOMPARE(w.font().family(), QStringLiteral("IPAPGothic"));
        QCOMPARE(ResolveFontFamily(QStringLiteral("FixedSys"), true), QStringLiteral("IPAGothic"));
        QCOMPARE(ResolveFontFamily(QStringLiteral("IPAGothic")), QStringLiteral("IPAGothic"));
    }

    void missingDataFileEndsWithCode1()
    {
        WorkFolder work({ QStringLiteral("牝馬.CSV") });
        // Without the data directory dialog, as if it had been cancelled.
        TfrmMain w(work.Exe(), work.Path(), [](TfrmMain& m) { m.SetToolFactory(Tool::Dir, {}); });
        QCOMPARE(w.StartupExitCode(), 1);
        QCOMPARE(MessageBox::History(), QStringList { work.Path() + "/牝馬.CSVのパスが正しくありません。" });
    }

    void dataFileFoundWithoutRegardToCase()
    {
        WorkFolder work;
        QVERIFY(QFile::rename(work.dir.filePath("祖先馬.CSV"), work.dir.filePath("祖先馬.csv")));
        TfrmMain w(work.Exe(), work.Path());
        QCOMPARE(w.StartupExitCode(), 0);
        QVERIFY(Master().OyaCount > 200);
    }

    void toolWindowIsModalWhileMainWindowHidden()
    {
        WorkFolder work;
        TfrmMain w(work.Exe(), work.Path());
        w.show();
        int created = 0;
        bool mainVisibleDuringTool = true;
        QPointer<QDialog> opened;
        QSize toolSize;
        w.SetToolFactory(Tool::Velmora, [&](QWidget* parent) {
            ++created;
            auto* d = new QDialog(parent);
            d->resize(400, 300);
            opened = d;
            QTimer::singleShot(0, d, [&, d] {
                mainVisibleDuringTool = w.isVisible();
                toolSize = d->size();
                d->accept();
            });
            return d;
        });
        QVERIFY(Button(w, "btnVelmora")->isEnabled());
        QTest::mouseClick(Button(w, "btnVelmora"), Qt::LeftButton);
        QCOMPARE(created, 1);
        QVERIFY(!mainVisibleDuringTool);
        QCOMPARE(toolSize, QSize(400, 300)); // fitted at the 800x600 layout: unchanged
        QVERIFY(opened.isNull()); // destroyed after closing
        QVERIFY(w.isVisible());
        QVERIFY(!QApplication::overrideCursor());
    }

    void dataDialogReloadsOnlyOnOk()
    {
        WorkFolder work;
        TfrmMain w(work.Exe(), work.Path());
        bool accept = false;
        w.SetToolFactory(Tool::Dir, [&](QWidget* parent) {
            auto* d = new QDialog(parent);
            QTimer::singleShot(0, d, [d, &accept] { accept ? d->accept() : d->reject(); });
            return d;
        });
        Master().DadCount = 0;
        QTest::mouseClick(Button(w, "btnDir"), Qt::LeftButton);
        QCOMPARE(Master().DadCount, 0); // cancelled: nothing reloaded
        accept = true;
        QTest::mouseClick(Button(w, "btnDir"), Qt::LeftButton);
        QCOMPARE(Master().DadCount, 60);
    }

    void dataDialogAtStartUp()
    {
        // The working folder lacks the data; the data directory dialog is offered for the first file.
        // Confirmed (pointing DataDir at the data), the start goes on; cancelled, it ends with code 1.
        WorkFolder data;
        QTemporaryDir empty;
        for (const bool confirm : { true, false }) {
            MessageBox::ClearHistory();
            QFile::remove(empty.filePath("velmora.INI"));
            int offered = 0;
            TfrmMain w(empty.filePath("velmora"), empty.path(), [&](TfrmMain& m) {
                m.SetToolFactory(Tool::Dir, [&](QWidget* parent) {
                    ++offered;
                    auto* d = new QDialog(parent);
                    QTimer::singleShot(0, d, [d, &data, confirm] {
                        if (confirm) {
                            App().DataDir = (data.Path() + "/").toStdString();
                            d->accept();
                        } else {
                            d->reject();
                        }
                    });
                    return d;
                });
            });
            QCOMPARE(offered, 1);
            if (confirm) {
                QCOMPARE(w.StartupExitCode(), 0);
                QCOMPARE(Master().DadCount, 60);
                QCOMPARE(MessageBox::History(), QStringList());
            } else {
                QCOMPARE(w.StartupExitCode(), 1);
                QCOMPARE(MessageBox::History(), QStringList { empty.path() + "/祖先馬.CSVのパスが正しくありません。" });
            }
        }
    }

    void fontDialogWritesScreenKeys()
    {
        WorkFolder work;
        TfrmMain w(work.Exe(), work.Path());
        w.show();
        QTimer::singleShot(0, &w, [&w] {
            w.FontDialog()->setCurrentFont(QFont(QStringLiteral("IPAGothic"), 14));
            w.FontDialog()->accept();
        });
        QTest::mouseClick(Button(w, "btnFont"), Qt::LeftButton);
        const IniFile ini(work.Ini());
        QCOMPARE(ini.ReadString(u"SCREEN", u"FontName", u""), std::u16string(u"IPAGothic"));
        QCOMPARE(ini.ReadString(u"SCREEN", u"FontSize", u""), std::u16string(u"14"));
        QCOMPARE(App().FontSize, 14);
        QCOMPARE(w.font().family(), QStringLiteral("IPAGothic"));
        QCOMPARE(w.font().pointSize(), 14);
        QVERIFY(w.isVisible());

        // Cancelled: nothing changes.
        QTimer::singleShot(0, &w, [&w] {
            w.FontDialog()->setCurrentFont(QFont(QStringLiteral("IPAPGothic"), 20));
            w.FontDialog()->reject();
        });
        QTest::mouseClick(Button(w, "btnFont"), Qt::LeftButton);
        QCOMPARE(IniFile(work.Ini()).ReadString(u"SCREEN", u"FontSize", u""), std::u16string(u"14"));
    }

    // The font dialog offers only the fonts that write Japanese: a symbol font, or one without kana and
    // kanji, would draw the windows' texts as boxes or dingbats. Such a font in the settings is replaced.
    void fontDialogOffersOnlyJapaneseFonts()
    {
        WorkFolder work;
        TfrmMain w(work.Exe(), work.Path());
        w.show();
        QStringList offered;
        QTimer::singleShot(0, &w, [&] {
            // The family list is one of the dialog's lists (with the styles and the sizes).
            for (const QListView* list : w.FontDialog()->findChildren<QListView*>())
                for (int r = 0; r < list->model()->rowCount(); ++r)
                    offered << list->model()->index(r, 0).data().toString();
            w.FontDialog()->reject();
        });
        QTest::mouseClick(Button(w, "btnFont"), Qt::LeftButton);
        QVERIFY(offered.contains(QStringLiteral("IPAGothic")));
        const QStringList others = QFontDatabase::families();
        QVERIFY(others.contains(QStringLiteral("DejaVu Sans"))); // a font without Japanese is installed
        QVERIFY(!offered.contains(QStringLiteral("DejaVu Sans")));
        QCOMPARE(ResolveFontFamily(QStringLiteral("DejaVu Sans")), QStringLiteral("IPAPGothic"));
    }

    // A long message is broken at sensible places by the program, each line narrow enough that the
    // box does not break it again anywhere (which leaves a lone "い。").
    void messagesBreakAtSensiblePlaces()
    {
        const QString text = QStringLiteral("/home/user/Velmora/data/相性テスト.CSVに書き込めません（Permission "
                                            "denied）。設定名を変えて、もう一度保存してください。");
        QString shown;
        bool wrapsAgain = true;
        MessageBox::SetAutoAnswer(std::nullopt);
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
            QVERIFY(label);
            shown = label->text();
            const QFontMetrics fm(label->font());
            wrapsAgain = false;
            for (const QString& line : shown.split(QLatin1Char('\n')))
                wrapsAgain = wrapsAgain || fm.horizontalAdvance(line) > label->contentsRect().width();
            box->accept();
        });
        MessageBox::Show(nullptr, text);
        MessageBox::SetAutoAnswer(MessageBox::Ok);
        QStringList lines = shown.split(QLatin1Char('\n'));
        QVERIFY2(lines.size() > 1, qPrintable(shown));
        QVERIFY2(!wrapsAgain, qPrintable(shown));
        QCOMPARE(lines.join(QString()), text);
        for (const QString& line : lines)
            QVERIFY2(line.size() > 4 && !QStringLiteral("。、）").contains(line.front()), qPrintable(shown));
    }

    // ヘルプ shows the guide in the program's own window, from its contents page, without asking the
    // desktop for anything; a link clicked with the mouse leads to a page, 戻る and 進む walk the history,
    // 目次 returns to the contents and 閉じる brings the main window back.
    void helpShowsTheGuideInItsOwnWindow()
    {
        WorkFolder work; // the program's own folder holds the guide, as an installed program's share folder does
        TfrmMain main(QStringLiteral(VELMORA_PROGRAM_PATH), work.Path());
        QCOMPARE(main.StartupExitCode(), 0);
        main.show();
        const QUrl contents = QUrl::fromLocalFile(
            QFileInfo(QStringLiteral(VELMORA_PROGRAM_PATH)).dir().filePath(QStringLiteral("velmora.HLP")));
        UrlCatcher desktop;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &desktop, "open");

        QList<QUrl> seen;
        QString title;
        bool mainHidden = false;
        bool backFirst = true;
        bool forwardAfterBack = false;
        test::Script script;
        script.Add([&] { test::Click(&main, "btnHelp"); });
        script.Add([&] {
            QDialog* help = test::ActiveDialog("frmHelp");
            QVERIFY(help);
            mainHidden = !main.isVisible();
            auto* browser = help->findChild<QTextBrowser*>(QStringLiteral("txtHelp"));
            seen.append(browser->source());
            title = help->windowTitle();
            backFirst = help->findChild<QPushButton*>(QStringLiteral("btnBack"))->isEnabled();
            // The first page's link, clicked where it is drawn.
            QTextCursor link(browser->document());
            while (!link.atEnd() && link.charFormat().anchorHref() != QStringLiteral("start.html"))
                link.movePosition(QTextCursor::NextCharacter);
            link.movePosition(QTextCursor::NextCharacter);
            browser->ensureCursorVisible();
            browser->setTextCursor(link);
            browser->ensureCursorVisible();
            const QPoint at = browser->cursorRect(link).center() - QPoint(4, 0);
            QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, at);
            seen.append(browser->source());
            test::Click(help, "btnBack");
            seen.append(browser->source());
            forwardAfterBack = help->findChild<QPushButton*>(QStringLiteral("btnForward"))->isEnabled();
            test::Click(help, "btnForward");
            test::Click(help, "btnContents");
            seen.append(browser->source());
            test::Click(help, "btnClose");
        });
        script.Start();
        QTRY_VERIFY_WITH_TIMEOUT(script.Done() && main.isVisible() && !test::ActiveDialog("frmHelp"), 10000);
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));

        QVERIFY(mainHidden);
        QCOMPARE(seen,
                 (QList<QUrl> { contents, contents.resolved(QUrl(QStringLiteral("start.html"))), contents, contents }));
        QVERIFY2(title.contains(QStringLiteral("ユーザーガイド")), qPrintable(title));
        QVERIFY(!backFirst);
        QVERIFY(forwardAfterBack);
        QCOMPARE(desktop.urls, QList<QUrl>());
        QCOMPARE(MessageBox::History(), QStringList());
    }

    // html出力 asks the desktop first: with no application for the page the user is told and nothing is
    // handed over; with one, the page goes to the desktop.
    void openDocumentSaysWhenNoApplicationOpensTheFile()
    {
        QTemporaryDir desktopDirs;
        const QString data = desktopDirs.filePath(QStringLiteral("data"));
        QVERIFY(QDir().mkpath(data + QStringLiteral("/applications")));
        // The desktop's file types stay known; its applications are only those the test puts in place.
        const QString types = desktopDirs.filePath(QStringLiteral("share"));
        QVERIFY(QDir().mkpath(types));
        QVERIFY(QFile::link(QStringLiteral("/usr/share/mime"), types + QStringLiteral("/mime")));
        const QByteArray names[] = { "XDG_DATA_HOME", "XDG_DATA_DIRS", "XDG_CONFIG_HOME", "XDG_CONFIG_DIRS" };
        QList<QByteArray> saved;
        for (const QByteArray& name : names) {
            saved.append(qgetenv(name.constData()));
            const QString value = name == "XDG_DATA_HOME" ? data
                : name == "XDG_DATA_DIRS"                 ? types
                                                          : desktopDirs.filePath(QStringLiteral("none"));
            qputenv(name.constData(), value.toUtf8());
        }
        qunsetenv("XDG_CURRENT_DESKTOP");
        const QString page = desktopDirs.filePath(QStringLiteral("VelmoraSample.html"));
        QFile file(page);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<html><body>Velmora</body></html>\r\n");
        file.close();
        UrlCatcher desktop;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &desktop, "open");

        const bool withoutApplication = OpenDocument(page);
        QFile entry(data + QStringLiteral("/applications/viewer.desktop"));
        QVERIFY(entry.open(QIODevice::WriteOnly));
        entry.write("[Desktop Entry]\nType=Application\nName=Viewer\nExec=true %f\nMimeType=text/html;\n");
        entry.close();
        const bool withApplication = OpenDocument(page);

        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        for (int i = 0; i < saved.size(); ++i)
            saved[i].isNull() ? qunsetenv(names[i].constData()) : qputenv(names[i].constData(), saved[i]);
        QVERIFY(!withoutApplication);
        QVERIFY(withApplication);
        QCOMPARE(MessageBox::History(),
                 QStringList { page + QStringLiteral("を開けませんでした。表示するアプリケーションがありません。") });
        QCOMPARE(desktop.urls, QList<QUrl> { QUrl::fromLocalFile(page) });
    }

    // A text too wide for its control is drawn in a smaller font; a text that fits keeps the window's
    // font, a control's own smaller font stays, a group's smaller title leaves its controls' font alone,
    // and fitting again after the control grew gives the design size back.
    void textsShrinkOnlyWhereTheyWouldBeCut()
    {
        velmora::gui::test::LayoutSettings layout(800, 600, 12);
        QWidget form;
        form.resize(400, 300);
        auto* fits = new QLabel(QStringLiteral("短い"), &form);
        fits->setGeometry(10, 10, 200, 30);
        auto* cut = new QLabel(QStringLiteral("長い見出しです"), &form); // 112 pixels at 12 points
        cut->setGeometry(10, 50, 80, 30);
        auto* group = new QGroupBox(QStringLiteral("とても長いグループの見出し"), &form);
        group->setGeometry(10, 100, 80, 100);
        auto* inGroup = new QLabel(QStringLiteral("中"), group);
        inGroup->setGeometry(10, 40, 60, 30);
        auto* small = new QLabel(QStringLiteral("小"), &form);
        QFont smallFont = small->font();
        smallFont.setPointSize(8);
        small->setFont(smallFont);
        small->setGeometry(10, 250, 100, 30);
        FitForm(&form);
        form.show();

        const qreal design = form.font().pointSizeF();
        QCOMPARE(fits->font().pointSizeF(), design);
        QVERIFY(cut->font().pointSizeF() < design && cut->font().pointSizeF() >= kMinFitPointSize);
        QVERIFY(QFontMetricsF(cut->font()).horizontalAdvance(cut->text()) <= cut->contentsRect().width());
        QVERIFY(group->font().pointSizeF() < design);
        QCOMPARE(inGroup->font().pointSizeF(), design);
        QCOMPARE(small->font().pointSizeF(), 8.0);
        cut->resize(400, 30);
        FitTexts(&form);
        QCOMPARE(cut->font().pointSizeF(), design);
    }

    // Qt's own texts (standard dialogs, dialog buttons) are Japanese.
    void qtTextsAreJapanese()
    {
        QVERIFY(InstallJapaneseQtTranslation(qApp));
        QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("キャンセル"));
    }

    void endClosesAndReleasesTheSettingsFile()
    {
        WorkFolder work;
        TfrmMain w(work.Exe(), work.Path());
        w.show();
        QVERIFY(App().IniFile);
        QTest::mouseClick(Button(w, "btnEnd"), Qt::LeftButton);
        QVERIFY(!w.isVisible());
        QVERIFY(!App().IniFile);
    }

    void fitFormScalesAndDescendsGroupBoxesAndPagesOnly()
    {
        AppState& s = App();
        const int oldW = s.ScreenWidth, oldH = s.ScreenHeight;
        s.ScreenWidth = 640;
        s.ScreenHeight = 480;
        QWidget form;
        form.resize(400, 300);
        auto* group = new QGroupBox(&form);
        group->setGeometry(10, 10, 200, 100);
        auto* panel = new QFrame(group);
        panel->setGeometry(20, 20, 100, 50);
        auto* inPanel = new QLabel(QStringLiteral("x"), panel);
        inPanel->setGeometry(5, 5, 40, 20);
        auto* direct = new QPushButton(&form);
        direct->setGeometry(100, 200, 50, 25);
        auto* pages = new QTabWidget(&form);
        pages->setGeometry(220, 10, 170, 280);
        auto* page = new QWidget;
        pages->addTab(page, QStringLiteral("p"));
        auto* onPage = new QLabel(QStringLiteral("y"), page);
        onPage->setGeometry(100, 200, 50, 25);
        FitForm(&form);
        QCOMPARE(form.size(), QSize(320, 240));
        QCOMPARE(group->geometry(), QRect(8, 8, 160, 80));
        QCOMPARE(panel->geometry(), QRect(16, 16, 80, 40));
        QCOMPARE(inPanel->geometry(), QRect(5, 5, 40, 20)); // moved with the panel, not scaled
        QCOMPARE(direct->geometry(), QRect(80, 160, 40, 20));
        QCOMPARE(onPage->geometry(), QRect(80, 160, 40, 20)); // pages are scaled like group boxes

        QWidget tall;
        tall.resize(700, 500);
        FitForm(&tall);
        QCOMPARE(tall.size(), QSize(640, 480)); // exactly the layout size
        QCOMPARE(tall.font().family(), QStringLiteral("IPAPGothic"));
        s.ScreenWidth = oldW;
        s.ScreenHeight = oldH;
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
