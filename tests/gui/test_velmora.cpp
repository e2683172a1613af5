// The optimal-mating window driven as a user drives it, on the bundled sample data: what it shows for
// chosen pairs is checked against the core's own results.

#include "core/app/app_state.h"
#include "core/common/text_colour.h"
#include "core/data/master_data.h"
#include "core/eval/positions.h"
#include "core/eval/rules.h"
#include "core/mating/ordering.h"
#include "core/mating/points.h"
#include "core/mating/scoring.h"
#include "gui/app/fit_form.h"
#include "gui/app/message_box.h"
#include "gui/app/modal.h"
#include "gui/app/shape.h"
#include "gui/mating/frm_velmora.h"
#include "support/layout_check.h"
#include "support/velmora_fixture.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <bit>
#include <memory>
#include <optional>

using namespace velmora;
using namespace velmora::gui;
using namespace velmora::gui::test;

namespace {

// A stallion-mare pair of the data, by table rows.
struct Pair
{
    int dad = -1;
    int mam = -1;
};

// Generation in the foal's pedigree of a mare position j: 1 -> 2, 2..3 -> 3, 4..7 -> 4, 8..15 -> 5.
int MareGeneration(int j)
{
    return static_cast<int>(std::bit_width(static_cast<unsigned>(j))) + 1;
}

uint32_t ColorOf(QWidget* w, const char* name)
{
    auto* s = w->findChild<TShape*>(QString::fromLatin1(name));
    return s ? s->Color() : 0xDEADBEEF;
}

QString TextOf(QWidget* w, const char* name)
{
    auto* l = w->findChild<QLabel*>(QString::fromLatin1(name));
    return l ? l->text() : QStringLiteral("<missing>");
}

} // namespace

class TestVelmora : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<WorkFolder> m_folder;

    std::unique_ptr<TfrmVelmora> OpenWindow()
    {
        auto w = std::make_unique<TfrmVelmora>();
        FitForm(w.get());
        w->show();
        return w;
    }

    // The first pair of the data for which pred holds, scanning stallions then mares.
    template <typename Pred> std::optional<Pair> FindPair(Pred pred)
    {
        const MasterData& d = Master();
        for (int s = 0; s < d.DadCount; ++s)
            for (int m = 0; m < d.MamCount; ++m)
                if (pred(d.DadTable[static_cast<size_t>(s)], d.MamTable[static_cast<size_t>(m)]))
                    return Pair { s, m };
        return std::nullopt;
    }

    void Choose(TfrmVelmora* w, const Pair& p)
    {
        const MasterData& d = Master();
        ChooseByTyping(Find<QComboBox>(w, "cmbDad"), Q(d.DadTable[static_cast<size_t>(p.dad)].name));
        ChooseByTyping(Find<QComboBox>(w, "cmbMam"), Q(d.MamTable[static_cast<size_t>(p.mam)].name));
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(WorkFolder::SampleAvailable(), "the sample data set is missing");
        m_folder = std::make_unique<WorkFolder>();
        QVERIFY(m_folder->IsValid());
        QVERIFY(Master().DadCount > 0);
        QVERIFY(Master().MamCount > 0);
        MessageBox::SetAutoAnswer(MessageBox::Ok);
    }

    void cleanup()
    {
        QVERIFY2(MessageBox::History().isEmpty(), qPrintable(MessageBox::History().join(QLatin1Char('|'))));
        MessageBox::ClearHistory();
        SetOpenDocumentHook({});
    }

    void cleanupTestCase() { m_folder.reset(); }

    // Opening: every horse listed, stallions by star rank, mares by name, nothing chosen.
    void opensWithFullListsInTheirOrders()
    {
        auto w = OpenWindow();
        const MasterData& d = Master();
        QCOMPARE(w->windowTitle(), QStringLiteral("Velmora配合決定ツール"));
        auto* cmbDad = Find<QComboBox>(w.get(), "cmbDad");
        auto* cmbMam = Find<QComboBox>(w.get(), "cmbMam");
        QCOMPARE(cmbDad->count(), d.DadCount);
        QCOMPARE(cmbMam->count(), d.MamCount);
        QCOMPARE(TextOf(w.get(), "sttDad"), QStringLiteral("0/%1").arg(d.DadCount));

        std::vector<ListRow> rows;
        for (int i = 0; i < d.DadCount; ++i)
            rows.push_back(ListRow { i, 0, StallionStatusPoints(d, PointTable(), d.DadTable[static_cast<size_t>(i)]) });
        SortRows(d, rows, ListOrder::StallionStar);
        QCOMPARE(w->StallionList(), rows);
        for (int i = 0; i < cmbDad->count(); ++i)
            QCOMPARE(cmbDad->itemText(i), Q(d.DadTable[static_cast<size_t>(rows[static_cast<size_t>(i)].index)].name));
        for (size_t i = 1; i < rows.size(); ++i)
            QVERIFY(d.DadTable[static_cast<size_t>(rows[i - 1].index)].Fee
                    >= d.DadTable[static_cast<size_t>(rows[i].index)].Fee);
        for (int i = 1; i < cmbMam->count(); ++i)
            QVERIFY(CompareHorseNames(cmbMam->itemText(i - 1).toStdU16String(), cmbMam->itemText(i).toStdU16String())
                    <= 0);

        QVERIFY(Find<QToolButton>(w.get(), "btnDadFee")->isChecked());
        QVERIFY(Find<QToolButton>(w.get(), "btnDadFee")->font().bold());
        QVERIFY(!Find<QToolButton>(w.get(), "btnDadName")->font().bold());
        QVERIFY(Find<QToolButton>(w.get(), "btnMamName")->isChecked());
        QVERIFY(!Find<QToolButton>(w.get(), "btnDadAisho")->isEnabled());
        QVERIFY(!Find<QToolButton>(w.get(), "btnMamAisho")->isEnabled());
        for (const char* b : { "btnMamReg", "btnDadReg", "btnHtml" })
            QVERIFY(!Find<QPushButton>(w.get(), b)->isEnabled());
        // The star buttons carry the band captions.
        for (int k = 1; k <= 5; ++k)
            QCOMPARE(Find<QToolButton>(w.get(), qPrintable(QStringLiteral("spbDadStar%1").arg(k)))->text(),
                     Q(App().StarBands[static_cast<size_t>(k)].Caption));
    }

    // The evaluation controls for chosen pairs equal the core's results.
    void evaluationShowsTheCoreResults_data()
    {
        QTest::addColumn<int>("dad");
        QTest::addColumn<int>("mam");
        const auto add = [&](const char* tag, auto pred) {
            if (auto p = FindPair(pred))
                QTest::newRow(tag) << p->dad << p->mam;
            else
                qWarning("the sample has no pair for %s", tag);
        };
        const MasterData& d = Master();
        add("crossed", [&](const DadRec& s, const MamRec& m) {
            CrossAnalysis ca;
            AnalyzeCrosses(d, s.Father, m.Father, ca);
            return ca.Crosses > 0 && !ca.Taboo && ca.Crosses < 7;
        });
        add("outbred", [&](const DadRec& s, const MamRec& m) {
            CrossAnalysis ca;
            AnalyzeCrosses(d, s.Father, m.Father, ca);
            return ca.Crosses == 0;
        });
        add("taboo", [&](const DadRec& s, const MamRec& m) {
            CrossAnalysis ca;
            AnalyzeCrosses(d, s.Father, m.Father, ca);
            return ca.Taboo;
        });
        add("interesting", [&](const DadRec& s, const MamRec& m) { return CheckOmo(d, s.Father, m.Father) == 1; });
        add("splendid", [&](const DadRec& s, const MamRec& m) { return CheckMig(d, s.Father, m.Father) == 1; });
        add("wellmade only", [&](const DadRec& s, const MamRec& m) {
            return CheckYok(d, s.Father, m.Father) == 1 && CheckMig(d, s.Father, m.Father) == 0;
        });
        add("undecidable", [&](const DadRec& s, const MamRec& m) {
            return CheckOmo(d, s.Father, m.Father) == -1 || CheckMig(d, s.Father, m.Father) == -1;
        });
        add("nick 25 and more",
            [&](const DadRec& s, const MamRec& m) { return CalcNix(d, s.Fee, s.Father, m.Father) >= 25; });
    }

    void evaluationShowsTheCoreResults()
    {
        QFETCH(int, dad);
        QFETCH(int, mam);
        auto w = OpenWindow();
        Choose(w.get(), Pair { dad, mam });
        const MasterData& d = Master();
        const DadRec& s = d.DadTable[static_cast<size_t>(dad)];
        const MamRec& m = d.MamTable[static_cast<size_t>(mam)];
        QCOMPARE(Find<QComboBox>(w.get(), "cmbDad")->currentText(), Q(s.name));
        QCOMPARE(Find<QComboBox>(w.get(), "cmbMam")->currentText(), Q(m.name));

        CrossAnalysis ca;
        AnalyzeCrosses(d, s.Father, m.Father, ca);
        const int omo = CheckOmo(d, s.Father, m.Father);
        const int mig = CheckMig(d, s.Father, m.Father);
        const int yok = CheckYok(d, s.Father, m.Father);
        const int nix = CalcNix(d, s.Fee, s.Father, m.Father);
        QCOMPARE(TextOf(w.get(), "lblOmo"), Q(MarkText(omo)));
        QCOMPARE(TextOf(w.get(), "lblMig"), Q(MarkText(mig)));
        QCOMPARE(TextOf(w.get(), "lblYok"), Q(MarkText(yok)));
        const auto typeColor = [](int v, uint32_t on) -> uint32_t {
            return v == 1 ? on : v == -1 ? 0x00FFFF : 0xFFFFFF;
        };
        QCOMPARE(ColorOf(w.get(), "shpOmo"), typeColor(omo, 0x00FF00));
        QCOMPARE(ColorOf(w.get(), "shpMig"), typeColor(mig, 0xFFFF00));
        QCOMPARE(ColorOf(w.get(), "shpYok"), typeColor(yok, 0xFFAADD));
        QCOMPARE(TextOf(w.get(), "lblNix"), QString::number(nix));
        QCOMPARE(ColorOf(w.get(), "shpNix"), nix >= 25 ? 0x0099FFu : 0xFFFFFFu);
        QCOMPARE(TextOf(w.get(), "lblCrs"), QString::number(ca.Crosses));
        QStringList inCross;
        for (int e = 1; e <= 10; ++e)
            inCross << QString::number(ca.InCross[static_cast<size_t>(e)]);
        QCOMPARE(Find<QLabel>(w.get(), "lblCrs")->toolTip(), inCross.join(QLatin1Char(',')));
        const QString kiken = ca.Taboo ? QStringLiteral("◎")
            : ca.Crosses >= 7          ? QStringLiteral("○")
                                       : QStringLiteral("×");
        QCOMPARE(TextOf(w.get(), "lblKiken"), kiken);
        QCOMPARE(ColorOf(w.get(), "shpKiken"), IsDanger(ca) ? 0x0000FFu : 0xFFFFFFu);
        // Each panel's text reads on its fill: white on the dark ones.
        for (const char* panel : { "Omo", "Mig", "Yok", "Kiken", "Crs", "Nix" }) {
            const uint32_t fill = ColorOf(w.get(), qPrintable(QStringLiteral("shp%1").arg(panel)));
            const uint32_t text = ReadableTextColor(fill);
            const QColor shown = Find<QLabel>(w.get(), qPrintable(QStringLiteral("lbl%1").arg(panel)))
                                     ->palette()
                                     .color(QPalette::WindowText);
            QCOMPARE(shown, QColor(text & 0xFF, (text >> 8) & 0xFF, (text >> 16) & 0xFF));
        }
        QCOMPARE(TextOf(w.get(), "sttNitSP"), QString::number(ca.NitroSp));
        QCOMPARE(TextOf(w.get(), "sttNitST"), QString::number(ca.NitroSt));
        QCOMPARE(TextOf(w.get(), "lblPoint"), QString::number(CompatValue(d, PointTable(), s, m)));

        // Pedigree panels and cross markers.
        InbreedRec pair;
        FillInbreed(d, s.Father, m.Father, pair);
        for (int k = 0; k <= 15; ++k) {
            const TSosenRec& slot = pair.Dads[static_cast<size_t>(k)];
            auto* marker = w->findChild<TShape*>(QStringLiteral("shpDInb%1").arg(k));
            QVERIFY(marker);
            QCOMPARE(marker->isVisibleTo(w.get()), slot.isCrs >= -1);
            if (slot.isCrs >= -1)
                QCOMPARE(marker->Color(), slot.isCrs > 0 ? 0x0000FFu : 0xFF0000u);
            if (k > 0) {
                auto* label = w->findChild<QLabel*>(QStringLiteral("Dsosen%1").arg(k));
                QCOMPARE(label->text(), Q(slot.name));
                QCOMPARE(label->font().italic(), slot.isInCrs);
            }
        }
        for (int k = 1; k <= 15; ++k) {
            const TSosenRec& slot = pair.Mams[static_cast<size_t>(k - 1)];
            auto* marker = w->findChild<TShape*>(QStringLiteral("shpMInb%1").arg(k));
            QCOMPARE(marker->isVisibleTo(w.get()), slot.isCrs >= -1);
            QCOMPARE(w->findChild<QLabel*>(QStringLiteral("Msosen%1").arg(k))->text(), Q(slot.name));
        }
        // Attributes.
        QCOMPARE(TextOf(w.get(), "lblDRare"), QString(s.Fee, QChar(0x2605)));
        QCOMPARE(TextOf(w.get(), "lblBirth"), Q(s.birth));
        QCOMPARE(TextOf(w.get(), "lblMFee"), QString::number(m.Fee));
        QCOMPARE(TextOf(w.get(), "lblSpeed"), QString::number(m.speed));
        QVERIFY(Find<QPushButton>(w.get(), "btnHtml")->isEnabled());
        QVERIFY(Find<QPushButton>(w.get(), "btnMamReg")->isEnabled()); // a chosen pair can have its foal
        QVERIFY(Find<QPushButton>(w.get(), "btnDadReg")->isEnabled());
        QVERIFY(Find<QToolButton>(w.get(), "btnDadAisho")->isEnabled());
        QVERIFY(Find<QToolButton>(w.get(), "btnMamAisho")->isEnabled());
    }

    // Each kind of press reaches the model, and the name boxes, counters and buttons show its state.
    void pressesReachTheModel()
    {
        auto w = OpenWindow();
        const MatingWindowModel& m = w->Model();
        const auto showsModel = [&](SideKind k) {
            const bool dad = k == SideKind::Stallion;
            const Side& side = m.Of(k);
            auto* combo = Find<QComboBox>(w.get(), dad ? "cmbDad" : "cmbMam");
            QCOMPARE(combo->count(), static_cast<int>(side.Names().size()));
            for (int i = 0; i < combo->count(); ++i)
                QCOMPARE(combo->itemText(i), Q(side.Names()[static_cast<size_t>(i)]));
            QCOMPARE(combo->currentIndex(), side.Chosen());
            QCOMPARE(TextOf(w.get(), dad ? "sttDad" : "sttMam"), Q(side.Counter()));
            const char* sorts[2][3]
                = { { "btnDadFee", "btnDadName", "btnDadAisho" }, { "btnMamFee", "btnMamName", "btnMamAisho" } };
            for (int s = 0; s < 3; ++s) {
                auto* b = Find<QToolButton>(w.get(), sorts[dad ? 0 : 1][s]);
                QCOMPARE(b->isChecked(), side.Sort() == static_cast<ListSort>(s));
                QCOMPARE(b->font().bold(), b->isChecked());
            }
            QCOMPARE(Find<QToolButton>(w.get(), sorts[dad ? 0 : 1][2])->isEnabled(), m.CompatEnabled(k));
            const auto buttons = Find<QGroupBox>(w.get(), dad ? "grpDadFilter" : "grpMamFilter")
                                     ->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly);
            int i = 0;
            for (int g = 0; g < side.FilterGroups(); ++g)
                for (int b = 0; b < side.FilterButtons(g); ++b)
                    QCOMPARE(buttons.at(i++)->isChecked(), side.FilterDown(g, b));
        };
        auto* star1 = Find<QToolButton>(w.get(), "spbDadStar1");
        const QImage down = star1->grab().toImage();
        QTest::mouseClick(star1, Qt::LeftButton);
        // A filter button that is up is plain to tell from one that is down.
        QVERIFY(MeanLuminance(star1->grab().toImage()) - MeanLuminance(down) > 0.3);
        QTest::mouseClick(Find<QToolButton>(w.get(), "spbMamJika"), Qt::LeftButton);
        QVERIFY(!m.Stallions().FilterDown(1, 0) && !m.Mares().FilterDown(1, 0));
        ChooseByTyping(Find<QComboBox>(w.get(), "cmbMam"), Q(m.Mares().Names().back()));
        QTest::mouseClick(Find<QToolButton>(w.get(), "btnDadAisho"), Qt::LeftButton);
        QTest::mouseClick(Find<QToolButton>(w.get(), "btnMamFee"), Qt::LeftButton);
        QCOMPARE(m.Stallions().Sort(), ListSort::Compat);
        QCOMPARE(m.Mares().Sort(), ListSort::Fee);
        showsModel(SideKind::Stallion);
        showsModel(SideKind::Mare);

        QTest::mouseClick(Find<QPushButton>(w.get(), "btnDadAll"), Qt::LeftButton);
        QVERIFY(m.Stallions().FilterDown(1, 0));
        auto* chooser = Find<QComboBox>(w.get(), "cmbFile");
        QCOMPARE(chooser->count(), static_cast<int>(m.PointTables().names.size()));
        QCOMPARE(chooser->currentIndex(), m.PointTables().selected);
        emit chooser->activated(chooser->currentIndex());
        QVERIFY(m.Mares().FilterDown(1, 0));
        showsModel(SideKind::Stallion);
        showsModel(SideKind::Mare);
    }

    // Emptying the combo's text clears that side.
    void emptyingTheComboClearsTheSide()
    {
        auto w = OpenWindow();
        Choose(w.get(), Pair { 0, 0 });
        auto* cmbMam = Find<QComboBox>(w.get(), "cmbMam");
        cmbMam->lineEdit()->selectAll();
        QTest::keyClick(cmbMam->lineEdit(), Qt::Key_Delete);
        QCOMPARE(w->MamArray(), UnknownMamArray());
        QCOMPARE(TextOf(w.get(), "Msosen1"), QString());
        QCOMPARE(TextOf(w.get(), "lblMFee"), QString());
        QVERIFY(!Find<QPushButton>(w.get(), "btnHtml")->isEnabled());
        QVERIFY(!Find<QToolButton>(w.get(), "btnDadAisho")->isEnabled());
        QVERIFY(!TextOf(w.get(), "Dsosen1").isEmpty());
    }

    // Escape leaves the window open with its pair; only 終了 and the close box close it.
    void escapeKeepsTheWindowOpen()
    {
        auto w = OpenWindow();
        Choose(w.get(), Pair { 0, 0 });
        QTest::keyClick(w.get(), Qt::Key_Escape);
        QTest::keyClick(Find<QComboBox>(w.get(), "cmbDad")->lineEdit(), Qt::Key_Escape);
        QVERIFY(w->isVisible());
        QCOMPARE(w->DadArray(), Master().DadTable[0].Father);
        QVERIFY(w->close());
        QVERIFY(!w->isVisible());
    }

    // A typed registered name is chosen exactly, though the box's inline completion ignores letter case
    // and offers the first name that begins alike.
    void typedExactNameWins()
    {
        MasterData& d = Master();
        const std::u16string saved[2] = { d.DadTable[0].name, d.DadTable[1].name };
        d.DadTable[0].name = u"KASU";
        d.DadTable[1].name = u"Kasu";
        QStringList chosen;
        {
            auto w = OpenWindow();
            auto* combo = Find<QComboBox>(w.get(), "cmbDad");
            for (const QString& name : { QStringLiteral("KASU"), QStringLiteral("Kasu") }) {
                combo->lineEdit()->selectAll();
                QTest::keyClicks(combo->lineEdit(), name);
                QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
                const Side& side = w->Model().Stallions();
                chosen << combo->itemText(combo->currentIndex())
                       << (side.Chosen() < 0 ? QString() : Q(side.Names()[static_cast<size_t>(side.Chosen())]));
            }
        }
        d.DadTable[0].name = saved[0];
        d.DadTable[1].name = saved[1];
        QCOMPARE(chosen,
                 (QStringList { QStringLiteral("KASU"), QStringLiteral("KASU"), QStringLiteral("Kasu"),
                                QStringLiteral("Kasu") }));
    }

    // Enter on a text that names no horse chooses no row: the side is cleared, the text stays typed.
    void typedTextNamingNoHorseClearsTheSide_data()
    {
        QTest::addColumn<bool>("dadSide");
        QTest::newRow("stallion") << true;
        QTest::newRow("mare") << false;
    }

    void typedTextNamingNoHorseClearsTheSide()
    {
        QFETCH(bool, dadSide);
        auto w = OpenWindow();
        Choose(w.get(), Pair { 0, 0 });
        auto* combo = Find<QComboBox>(w.get(), dadSide ? "cmbDad" : "cmbMam");
        combo->lineEdit()->selectAll();
        QTest::keyClicks(combo->lineEdit(), QStringLiteral("NOSUCHHORSE"));
        QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
        QCOMPARE(combo->currentText(), QStringLiteral("NOSUCHHORSE"));
        QCOMPARE(combo->currentIndex(), -1);
        QCOMPARE(TextOf(w.get(), dadSide ? "sttDad" : "sttMam"), QStringLiteral("0/%1").arg(combo->count()));
        QCOMPARE(TextOf(w.get(), dadSide ? "Dsosen1" : "Msosen1"), QString());
        QCOMPARE(TextOf(w.get(), "lblPoint"), QString());
        QVERIFY(!Find<QPushButton>(w.get(), "btnHtml")->isEnabled());
        QVERIFY(!Find<QToolButton>(w.get(), dadSide ? "btnMamAisho" : "btnDadAisho")->isEnabled());
        if (dadSide)
            QCOMPARE(w->DadArray(), UnknownDadArray());
        else
            QCOMPARE(w->MamArray(), UnknownMamArray());
    }

    // At 800x600, at 640x480 and with a 14-point font every text is whole and every control in reach;
    // a ★5 stallion shows five stars.
    void layoutKeepsTextsWholeAndInReach_data() { AddAllLayoutRows(); }

    void layoutKeepsTextsWholeAndInReach()
    {
        const LayoutSettings layout = LayoutSettings::OfRow();
        const MasterData& d = Master();
        int top = 0;
        for (int s = 1; s < d.DadCount; ++s)
            if (d.DadTable[static_cast<size_t>(s)].Fee > d.DadTable[static_cast<size_t>(top)].Fee)
                top = s;
        QCOMPARE(d.DadTable[static_cast<size_t>(top)].Fee, 5);
        auto w = OpenWindow();
        Choose(w.get(), Pair { top, 0 });
        QCOMPARE(TextOf(w.get(), "lblDRare"), QString(5, QChar(0x2605)));
        const QStringList bad = CutOrOutOfReach(w.get());
        QVERIFY2(bad.isEmpty(), qPrintable(bad.join(QLatin1Char('\n'))));
    }

    // A right click on a stallion ancestor that stands twice on a mare's side lists that mare with
    // both generations; choosing the item chooses the mare.
    void partnerPopupListsGenerations()
    {
        const MasterData& d = Master();
        int pos = -1;
        std::optional<Pair> pair = FindPair([&](const DadRec& s, const MamRec& m) {
            for (int i = 1; i <= 15; ++i) {
                int n = 0;
                for (int j = 1; j <= 15; ++j)
                    n += CrossKind(d, s.Father, i, m.Father, j) >= 0 ? 1 : 0;
                if (n >= 2) {
                    pos = i;
                    return true;
                }
            }
            return false;
        });
        if (!pair)
            QSKIP("the sample has no ancestor standing twice on a mare's side");
        const DadRec& s = d.DadTable[static_cast<size_t>(pair->dad)];
        const MamRec& m = d.MamTable[static_cast<size_t>(pair->mam)];
        QString expected = Q(m.name);
        for (int j = 1; j <= 15; ++j)
            if (CrossKind(d, s.Father, pos, m.Father, j) >= 0)
                expected += QStringLiteral(",%1").arg(MareGeneration(j));
        QVERIFY(expected.count(QLatin1Char(',')) >= 2);

        auto w = OpenWindow();
        ChooseByTyping(Find<QComboBox>(w.get(), "cmbDad"), Q(s.name));
        auto* label = w->findChild<QLabel*>(QStringLiteral("Dsosen%1").arg(pos));
        QTest::mouseClick(label, Qt::RightButton);
        QVERIFY(w->DadMark(pos));
        QVERIFY(label->font().bold());
        auto* menu = Find<QMenu>(w.get(), "pumDadInb");
        QAction* item = nullptr;
        for (QAction* a : menu->actions()) {
            // Every listed mare crosses the marked ancestor.
            const int mi = FindMam(d, a->text().section(QLatin1Char(','), 0, 0).toStdU16String());
            QVERIFY(mi >= 0);
            bool crosses = false;
            for (int j = 1; j <= 15; ++j)
                crosses = crosses || CrossKind(d, s.Father, pos, d.MamTable[static_cast<size_t>(mi)].Father, j) >= 0;
            QVERIFY(crosses);
            if (a->text() == expected)
                item = a;
        }
        QVERIFY2(item, qPrintable(expected));
        menu->hide();
        item->trigger();
        QCOMPARE(Find<QComboBox>(w.get(), "cmbMam")->currentText(), Q(m.name));
        QCOMPARE(TextOf(w.get(), "lblPoint"), QString::number(CompatValue(d, PointTable(), s, m)));

        // A left click toggles the mark off and on again; choosing the stallion anew clears it.
        QTest::mouseClick(label, Qt::LeftButton);
        QVERIFY(!w->DadMark(pos));
        QVERIFY(!label->font().bold());
        QTest::mouseClick(label, Qt::LeftButton);
        QVERIFY(w->DadMark(pos));
        ChooseByTyping(Find<QComboBox>(w.get(), "cmbDad"), Q(s.name));
        QVERIFY(!w->DadMark(pos));
        QVERIFY(!label->font().bold());
    }

    // Clicking the legend switches the shapes to interesting-line colours and back.
    void legendTogglesColourMode()
    {
        const MasterData& d = Master();
        auto w = OpenWindow();
        QVERIFY(w->ColorMode());
        int dad = -1, pos = -1;
        for (int s = 0; s < d.DadCount && dad < 0; ++s)
            for (int k = 1; k <= 15 && dad < 0; ++k) {
                const int32_t h = d.DadTable[static_cast<size_t>(s)].Father[static_cast<size_t>(k)];
                if (h >= 0 && d.OyaTable[static_cast<size_t>(h)].a > 0
                    && d.OyaTable[static_cast<size_t>(h)].omokei > 0) {
                    dad = s;
                    pos = k;
                }
            }
        QVERIFY(dad >= 0);
        const DadRec& s = d.DadTable[static_cast<size_t>(dad)];
        const OyaRec& o = d.OyaTable[static_cast<size_t>(s.Father[static_cast<size_t>(pos)])];
        ChooseByTyping(Find<QComboBox>(w.get(), "cmbDad"), Q(s.name));
        const QByteArray shpA = QStringLiteral("shpDKokaA%1").arg(pos).toLatin1();
        const QByteArray shpB = QStringLiteral("shpDKokaB%1").arg(pos).toLatin1();
        QCOMPARE(ColorOf(w.get(), shpA), d.CrossTable[static_cast<size_t>(o.a)].Color);
        QCOMPARE(ColorOf(w.get(), shpB), d.CrossTable[static_cast<size_t>(o.b == 0 ? o.a : o.b)].Color);

        QTest::mouseClick(Find<QLabel>(w.get(), "lblCol3"), Qt::LeftButton);
        QVERIFY(!w->ColorMode());
        const uint32_t group = static_cast<uint32_t>(d.OmokeiTable[static_cast<size_t>(o.omokei)].value);
        QCOMPARE(ColorOf(w.get(), shpA), group);
        QCOMPARE(ColorOf(w.get(), shpB), group);
        if (d.OmokeiTable[1].name.find(u"予備") == std::u16string::npos)
            QCOMPARE(TextOf(w.get(), "lblCol1"), Q(d.OmokeiTable[1].lbl));
        // The stallion himself keeps his effect colours.
        const OyaRec& self = d.OyaTable[static_cast<size_t>(s.Father[0])];
        QCOMPARE(ColorOf(w.get(), "shpDKokaA0"), d.CrossTable[static_cast<size_t>(self.a)].Color);

        QTest::mouseClick(Find<QGroupBox>(w.get(), "grpColor"), Qt::LeftButton);
        QVERIFY(w->ColorMode());
        QCOMPARE(ColorOf(w.get(), shpA), d.CrossTable[static_cast<size_t>(o.a)].Color);
    }

    // "html出力" writes the page beside the settings and hands it to the desktop.
    void htmlOutputWritesThePage()
    {
        auto w = OpenWindow();
        QString opened;
        SetOpenDocumentHook([&](const QString& path) { opened = path; });
        Choose(w.get(), Pair { 0, 0 });
        QFile::remove(m_folder->File(QStringLiteral("VelmoraSample.html")));
        QTest::mouseClick(Find<QPushButton>(w.get(), "btnHtml"), Qt::LeftButton);
        QCOMPARE(QFileInfo(opened).canonicalFilePath(),
                 QFileInfo(m_folder->File(QStringLiteral("VelmoraSample.html"))).canonicalFilePath());
        QVERIFY(QFileInfo(opened).size() > 0);

        // No application to show it (the offscreen desktop opens no files): the user is told.
        SetOpenDocumentHook({});
        QTest::mouseClick(Find<QPushButton>(w.get(), "btnHtml"), Qt::LeftButton);
        QCOMPARE(MessageBox::History().size(), 1);
        QVERIFY(MessageBox::History().at(0).contains(QStringLiteral("VelmoraSample.html")));
        MessageBox::ClearHistory();
    }
};

QTEST_MAIN(TestVelmora)
#include "test_velmora.moc"
