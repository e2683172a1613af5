// The point-table editor and its save dialog, opened from the optimal-mating window with "相性値編集".

#include "core/app/app_state.h"
#include "core/data/master_data.h"
#include "core/data/text_file.h"
#include "core/mating/points.h"
#include "core/mating/scoring.h"
#include "gui/app/fit_form.h"
#include "gui/app/message_box.h"
#include "gui/mating/frm_points.h"
#include "gui/mating/frm_velmora.h"
#include "support/layout_check.h"
#include "support/script.h"
#include "support/velmora_fixture.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <functional>
#include <memory>

using namespace velmora;
using namespace velmora::gui;
using namespace velmora::gui::test;

class TestPoints : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<WorkFolder> m_folder;

    // Presses "相性値編集" of the optimal-mating window and lets `drive` work the editor in its own modal
    // loop; the save dialog, when the editor opens it, is answered from its loop by `saveAs` (return
    // the name, or an empty optional to cancel). An editor still open afterwards is left with Cancel.
    void EditPoints(TfrmVelmora* w, const std::function<void(TfrmPoints*)>& drive,
                    const std::function<std::optional<QString>()>& saveAs = {})
    {
        bool driven = false;
        Script script;
        script.Add([&] { QTest::mouseClick(Find<QPushButton>(w, "btnPoints"), Qt::LeftButton); });
        script.Add([&] {
            auto* editor = qobject_cast<TfrmPoints*>(ActiveDialog("frmPoints"));
            QVERIFY(editor);
            driven = true;
            drive(editor);
        });
        script.Add([&] {
            auto* save = qobject_cast<TfrmSaveAs*>(ActiveDialog("frmSaveAs"));
            if (!save)
                return;
            const std::optional<QString> name = saveAs ? saveAs() : std::nullopt;
            if (name)
                save->NameBox()->setEditText(*name);
            Click(save, name ? "btnOK" : "btnCancel");
        });
        script.Add([&] {
            if (QDialog* editor = ActiveDialog("frmPoints"))
                editor->reject();
        });
        script.Start();
        QTRY_VERIFY_WITH_TIMEOUT(script.Done() && !ActiveDialog("frmPoints"), 10000);
        QVERIFY(driven);
    }

    // Key lines (key=value) of a point file, section by section.
    static QStringList KeyLines(const QString& path)
    {
        QStringList keys;
        for (const std::u16string& l : ReadCp932Lines(path.toStdString())) {
            const QString line = Q(l);
            if (line.contains(QLatin1Char('=')))
                keys << line;
        }
        return keys;
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(WorkFolder::SampleAvailable(), "the sample data set is missing");
        m_folder = std::make_unique<WorkFolder>();
        QVERIFY(m_folder->IsValid());
        MessageBox::SetAutoAnswer(MessageBox::Ok);
    }

    void init()
    {
        App().DataFiles.Aisho = u"相性.CSV";
        MessageBox::ClearHistory();
    }

    void cleanup()
    {
        QVERIFY2(MessageBox::History().isEmpty(), qPrintable(MessageBox::History().join(QLatin1Char('|'))));
    }

    void cleanupTestCase() { m_folder.reset(); }

    // The editor shows every value of the current table and the effect names.
    void editorShowsTheTable()
    {
        TfrmVelmora w;
        const PtsRec& t = PointTable();
        EditPoints(&w, [&](TfrmPoints* e) {
            QCOMPARE(e->windowTitle(), QStringLiteral("【Velmora】相性条件の編集"));
            QCOMPARE(Find<QLineEdit>(e, "edtOmo")->text(), QString::number(t.haigo.Omo));
            QCOMPARE(Find<QLineEdit>(e, "edtKiken1")->text(), QString::number(t.haigo.Taboo));
            QCOMPARE(Find<QLineEdit>(e, "edtOutB")->text(), QString::number(t.haigo.Outb));
            QCOMPARE(Find<QLineEdit>(e, "edtCross7")->text(), QString::number(t.CrosNum[7]));
            QCOMPARE(Find<QLineEdit>(e, "Edit40")->text(), QString::number(t.dstatus[DStatus::StarHigh]));
            QCOMPARE(Find<QLineEdit>(e, "Edit107")->text(), QString::number(t.dstatus[DStatus::KenkoO]));
            QCOMPARE(Find<QLineEdit>(e, "Edit11")->text(), QString::number(t.mstatus[MStatus::FeeHigh]));
            for (int k = 1; k <= 16; ++k)
                QCOMPARE(Find<QLabel>(e, qPrintable(QStringLiteral("lblKosei%1").arg(k)))->text(),
                         Q(Master().CrossTable[static_cast<size_t>(k)].name));
            QTest::mouseClick(Find<QPushButton>(e, "btnCancel"), Qt::LeftButton);
        });
    }

    // Saving under a new name writes the complete table there, makes it current, and the window
    // lists the new name selected; blanks around a number are dropped and a non-number saves as 0.
    void saveUnderNewNameSelectsIt()
    {
        TfrmVelmora w;
        EditPoints(
            &w,
            [&](TfrmPoints* e) {
                Find<QLineEdit>(e, "edtOmo")->setText(QStringLiteral(" 500 "));
                Find<QLineEdit>(e, "edtYok")->setText(QStringLiteral("5a"));
                Find<QLineEdit>(e, "edtMigo")->setText(QStringLiteral("１５０")); // as an input method types it
                Find<QLineEdit>(e, "Edit36")->setText(QStringLiteral("-7"));
                QTest::mouseClick(Find<QPushButton>(e, "btnSave"), Qt::LeftButton);
                QCOMPARE(e->result(), int(QDialog::Accepted));
            },
            [] { return std::optional<QString>(QStringLiteral("テスト")); });

        QVERIFY(App().DataFiles.Aisho == u"相性テスト.CSV");
        const QString path = m_folder->File(QStringLiteral("相性テスト.CSV"));
        QVERIFY(QFile::exists(path));
        const QStringList keys = KeyLines(path);
        QCOMPARE(keys.size(), 115);
        QVERIFY(keys.contains(QStringLiteral("面白配合=500")));
        QVERIFY(keys.contains(QStringLiteral("よくできた配合=0")));
        QVERIFY(keys.contains(QStringLiteral("見事な配合=150")));
        QVERIFY(keys.contains(QStringLiteral("内国産=-7")));
        QCOMPARE(PointTable().haigo.Omo, 500);
        QCOMPARE(PointTable().haigo.Yok, 0);
        auto* chooser = Find<QComboBox>(&w, "cmbFile");
        QCOMPARE(chooser->currentText(), QStringLiteral("テスト"));
        QVERIFY(Items(chooser).contains(QStringLiteral("デフォルト")));
    }

    // A name that cannot be a file name is refused with a message; nothing is written and the editor
    // stays open.
    void saveRefusesNamesThatAreNoFileName()
    {
        TfrmVelmora w;
        const QStringList before = QDir(m_folder->File(QString())).entryList(QDir::Files);
        for (const QString& name : { QStringLiteral("a/b"), QStringLiteral(".."), QStringLiteral("x*") }) {
            EditPoints(
                &w,
                [&](TfrmPoints* e) {
                    QTest::mouseClick(Find<QPushButton>(e, "btnSave"), Qt::LeftButton);
                    QVERIFY(e->result() != QDialog::Accepted);
                },
                [&] { return std::optional<QString>(name); });
            QCOMPARE(MessageBox::History().size(), 1);
            QVERIFY2(MessageBox::History().first().startsWith(QStringLiteral("設定名「") + name + QStringLiteral("」")),
                     qPrintable(MessageBox::History().first()));
            MessageBox::ClearHistory();
        }
        QCOMPARE(QDir(m_folder->File(QString())).entryList(QDir::Files), before);
        QVERIFY(App().DataFiles.Aisho == u"相性.CSV");
    }

    // A name is kept in the settings file in code page 932: 〜 as Linux input methods type it is saved
    // as the code page's ～, a character the code page lacks is refused with a message. A save that
    // fails keeps the table that was current, and the editor open.
    void saveNamesTheSettingsFileCanKeep()
    {
        TfrmVelmora w;
        QVERIFY(QDir(m_folder->File(QString())).mkdir(QStringLiteral("相性壊.CSV"))); // cannot be written
        const QStringList before = QDir(m_folder->File(QString())).entryList(QDir::Files);
        struct Case
        {
            QString name;
            QString message; // empty: saved
        };
        const Case cases[] = {
            { QStringLiteral("x😀"), QStringLiteral("設定名「x😀」は使えません。「😀」は設定名に使えない文字です") },
            { QStringLiteral("壊"), m_folder->File(QStringLiteral("相性壊.CSV")) },
            { QStringLiteral("春〜夏"), QString() },
        };
        for (const Case& c : cases) {
            EditPoints(
                &w, [&](TfrmPoints* e) { QTest::mouseClick(Find<QPushButton>(e, "btnSave"), Qt::LeftButton); },
                [&] { return std::optional<QString>(c.name); });
            if (c.message.isEmpty()) {
                QCOMPARE(MessageBox::History(), QStringList());
            } else {
                QCOMPARE(MessageBox::History().size(), 1);
                QVERIFY2(MessageBox::History().first().contains(c.message), qPrintable(MessageBox::History().first()));
                QVERIFY(App().DataFiles.Aisho == u"相性.CSV");
                QCOMPARE(QDir(m_folder->File(QString())).entryList(QDir::Files), before);
            }
            MessageBox::ClearHistory();
        }
        QVERIFY(App().DataFiles.Aisho == u"相性春～夏.CSV");
        QVERIFY(QFile::exists(m_folder->File(QStringLiteral("相性春～夏.CSV"))));
        QCOMPARE(Find<QComboBox>(&w, "cmbFile")->currentText(), QStringLiteral("春～夏"));
    }

    // The name "デフォルト" saves into "相性.CSV".
    void saveAsDefaultWritesTheDefaultFile()
    {
        TfrmVelmora w;
        QFile::remove(m_folder->File(QStringLiteral("相性.CSV")));
        EditPoints(
            &w,
            [&](TfrmPoints* e) {
                Find<QLineEdit>(e, "edtDokei")->setText(QStringLiteral("123"));
                QTest::mouseClick(Find<QPushButton>(e, "btnSave"), Qt::LeftButton);
            },
            [] { return std::optional<QString>(QStringLiteral("デフォルト")); });
        QVERIFY(App().DataFiles.Aisho == u"相性.CSV");
        QVERIFY(KeyLines(m_folder->File(QStringLiteral("相性.CSV"))).contains(QStringLiteral("同系配合=123")));
        QCOMPARE(Find<QComboBox>(&w, "cmbFile")->currentText(), QStringLiteral("デフォルト"));
    }

    // Cancelling the save dialog writes nothing and leaves the editor open.
    void cancelledSaveKeepsTheEditorOpen()
    {
        TfrmVelmora w;
        const QStringList before = KeyLines(m_folder->File(QStringLiteral("相性.CSV")));
        EditPoints(
            &w,
            [&](TfrmPoints* e) {
                Find<QLineEdit>(e, "edtMigo")->setText(QStringLiteral("999"));
                QTest::mouseClick(Find<QPushButton>(e, "btnSave"), Qt::LeftButton);
                QVERIFY(e->result() != QDialog::Accepted);
            },
            [] { return std::optional<QString>(); });
        QCOMPARE(KeyLines(m_folder->File(QStringLiteral("相性.CSV"))), before);
        QVERIFY(App().DataFiles.Aisho == u"相性.CSV");
    }

    // A table chosen in the editor becomes current at once and stays so after "破棄して戻る(&C)".
    void chosenTableStaysCurrentAfterDiscard()
    {
        ChoosePointTable(App(), u"強化");
        PointTable().haigo.Omo = 4321;
        for (int32_t& v : PointTable().dstatus)
            v += 7;
        for (int32_t& v : PointTable().mstatus)
            v += 11;
        WritePoints(*PointFile(), PointTable());
        App().DataFiles.Aisho = u"相性.CSV";
        TfrmVelmora w;
        QCOMPARE(Find<QComboBox>(&w, "cmbFile")->currentText(), QStringLiteral("デフォルト"));
        const MasterData& d = Master();
        const DadRec& s = d.DadTable[0];
        const MamRec& m = d.MamTable[0];
        ChooseByTyping(Find<QComboBox>(&w, "cmbDad"), Q(s.name));
        ChooseByTyping(Find<QComboBox>(&w, "cmbMam"), Q(m.name));
        EditPoints(&w, [&](TfrmPoints* e) {
            auto* chooser = Find<QComboBox>(e, "cmbFile");
            const int i = chooser->findText(QStringLiteral("強化"));
            QVERIFY(i >= 0);
            chooser->setCurrentIndex(i);
            emit chooser->activated(i);
            QCOMPARE(Find<QLineEdit>(e, "edtOmo")->text(), QStringLiteral("4321"));
            QTest::mouseClick(Find<QPushButton>(e, "btnCancel"), Qt::LeftButton);
        });
        QVERIFY(App().DataFiles.Aisho == u"相性強化.CSV");
        QCOMPARE(PointTable().haigo.Omo, 4321);
        // The window follows the table that is now current, so its values come from one table only.
        QCOMPARE(Find<QComboBox>(&w, "cmbFile")->currentText(), QStringLiteral("強化"));
        QCOMPARE(Find<QLabel>(&w, "lblPoint")->text(), QString::number(CompatValue(d, PointTable(), s, m)));
    }

    // Choosing a table in the window makes it current and rebuilds both lists with every filter down.
    void chooserInTheWindowSwitchesTables()
    {
        ChoosePointTable(App(), u"別");
        App().DataFiles.Aisho = u"相性.CSV";
        TfrmVelmora w;
        auto* star = Find<QToolButton>(&w, "spbDadStar1");
        QTest::mouseClick(star, Qt::LeftButton);
        QVERIFY(!star->isChecked());
        auto* chooser = Find<QComboBox>(&w, "cmbFile");
        const int i = chooser->findText(QStringLiteral("別"));
        QVERIFY(i >= 0);
        chooser->setCurrentIndex(i);
        emit chooser->activated(i);
        QVERIFY(App().DataFiles.Aisho == u"相性別.CSV");
        QVERIFY(star->isChecked());
        QCOMPARE(Find<QComboBox>(&w, "cmbDad")->count(), Master().DadCount);
    }

    // Every page of the editor and the save dialog at 800x600, at 640x480 and with a 14-point font:
    // every text whole, every field within its page.
    void layoutKeepsTextsWholeAndInReach_data() { AddAllLayoutRows(); }

    void layoutKeepsTextsWholeAndInReach()
    {
        const LayoutSettings layout = LayoutSettings::OfRow();
        TfrmPoints editor;
        TfrmSaveAs saveAs;
        for (QDialog* dialog : { static_cast<QDialog*>(&editor), static_cast<QDialog*>(&saveAs) }) {
            FitForm(dialog);
            dialog->show();
            const QStringList bad = CutOrOutOfReach(dialog);
            QVERIFY2(bad.isEmpty(), qPrintable(bad.join(QLatin1Char('\n'))));
        }
    }
};

QTEST_MAIN(TestPoints)
#include "test_points.moc"
