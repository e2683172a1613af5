#include "layout_check.h"

#include "core/app/app_state.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <algorithm>
#include <limits>

namespace velmora::gui::test {

namespace {

// The width and height a text needs in a font, a line at a time, rounded to whole pixels (a fraction
// of a pixel is not a cut); mnemonic marks and the blanks that end a line are not drawn.
QSize Needed(const QFont& font, QString text)
{
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove(QLatin1Char('&'));
    const QFontMetricsF fm(font);
    const QStringList lines = text.split(QLatin1Char('\n'));
    qreal w = 0;
    for (QString l : lines) {
        // The blanks that pad a data field on the right take no room a reader sees.
        while (!l.isEmpty() && (l.back() == QLatin1Char(' ') || l.back() == QChar(0x3000)))
            l.chop(1);
        w = std::max(w, fm.horizontalAdvance(l));
    }
    const qreal h = lines.size() == 1 ? fm.height() : fm.lineSpacing() * static_cast<qreal>(lines.size());
    return { qRound(w), qRound(h) };
}

// Text smaller than this is hard to read; a text that does not fit at this size is elided.
constexpr double kMinReadablePoints = 8.0;

QString Describe(const QWidget* w, const QString& what)
{
    return QStringLiteral("%1 %2 %3pt: %4")
        .arg(QString::fromLatin1(w->metaObject()->className()), w->objectName(),
             QString::number(w->font().pointSizeF()), what);
}

void Check(QWidget* w, QWidget* area, QStringList& out)
{
    QString text;
    QSize room;
    if (auto* l = qobject_cast<QLabel*>(w); l && !l->wordWrap()) {
        text = l->text();
        room = l->contentsRect().size();
    } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
        text = g->title();
        room = QSize(g->width(), g->height());
    } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        text = b->text();
        room = b->size() - QSize(4, 0);
    } else if (auto* e = qobject_cast<QLineEdit*>(w); e && !qobject_cast<QComboBox*>(e->parentWidget())) {
        text = e->text();
        room = e->size() - QSize(4, 0);
    } else if (auto* t = qobject_cast<QTabBar*>(w); t && t->count() > 0) {
        // A tab's caption within the bar's height, inside the tab's frame.
        QStringList captions;
        for (int i = 0; i < t->count(); ++i)
            captions << t->tabText(i);
        text = captions.join(QLatin1Char(' '));
        room = QSize(std::numeric_limits<int>::max(), t->height() - 6);
    }
    if (auto* memo = qobject_cast<QPlainTextEdit*>(w); memo && memo->isReadOnly()) {
        // An explanation shown whole, without scrolling.
        if (memo->verticalScrollBar()->maximum() > 0)
            out << Describe(w, QStringLiteral("\"%1\" needs scrolling").arg(memo->toPlainText()));
    }
    if (!text.isEmpty() && w->font().pointSizeF() > 0 && w->font().pointSizeF() < kMinReadablePoints)
        out << Describe(w, QStringLiteral("\"%1\" drawn under %2pt").arg(text).arg(kMinReadablePoints));
    if (auto* group = qobject_cast<QGroupBox*>(w->parentWidget()); group && !group->rect().contains(w->geometry()))
        out << Describe(w,
                        QStringLiteral("at %1,%2 %3x%4 outside its group %5 %6x%7")
                            .arg(w->x())
                            .arg(w->y())
                            .arg(w->width())
                            .arg(w->height())
                            .arg(group->title())
                            .arg(group->width())
                            .arg(group->height()));
    if (!text.isEmpty()) {
        const QSize need = Needed(w->font(), text);
        if (need.width() > room.width() || need.height() > room.height())
            out << Describe(w,
                            QStringLiteral("\"%1\" needs %2x%3, has %4x%5")
                                .arg(text)
                                .arg(need.width())
                                .arg(need.height())
                                .arg(room.width())
                                .arg(room.height()));
    }
    const QRect inArea(w->mapTo(area, QPoint(0, 0)), w->size());
    if (!area->rect().contains(inArea))
        out << Describe(w,
                        QStringLiteral("at %1,%2 %3x%4 outside %5x%6")
                            .arg(inArea.x())
                            .arg(inArea.y())
                            .arg(inArea.width())
                            .arg(inArea.height())
                            .arg(area->width())
                            .arg(area->height()));
}

void CheckChildren(QWidget* parent, QWidget* area, QStringList& out)
{
    for (QObject* o : parent->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || w->isWindow() || w->isHidden())
            continue;
        if (auto* pages = qobject_cast<QTabWidget*>(w)) {
            Check(w, area, out);
            // Each page in turn, checked against the page itself.
            const int current = pages->currentIndex();
            for (int i = 0; i < pages->count(); ++i) {
                pages->setCurrentIndex(i);
                CheckChildren(pages->widget(i), pages->widget(i), out);
            }
            pages->setCurrentIndex(current);
            continue;
        }
        // The parts of Qt's own compound controls are not laid out by the program.
        if (qobject_cast<QComboBox*>(parent))
            continue;
        Check(w, area, out);
        CheckChildren(w, area, out);
    }
}

} // namespace

LayoutSettings::LayoutSettings(int screenWidth, int screenHeight, int fontSize)
{
    AppState& app = App();
    m_width = app.ScreenWidth;
    m_height = app.ScreenHeight;
    m_fontSize = app.FontSize;
    app.ScreenWidth = screenWidth;
    app.ScreenHeight = screenHeight;
    app.FontSize = fontSize;
}

LayoutSettings::~LayoutSettings()
{
    AppState& app = App();
    app.ScreenWidth = m_width;
    app.ScreenHeight = m_height;
    app.FontSize = m_fontSize;
}

LayoutSettings LayoutSettings::OfRow()
{
    auto value = [](const char* column) { return *static_cast<int*>(QTest::qData(column, QMetaType::Int)); };
    return LayoutSettings(value("width"), value("height"), value("fontSize"));
}

void AddLayoutRows()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("fontSize");
    QTest::newRow("800x600") << 800 << 600 << 12;
    QTest::newRow("640x480") << 640 << 480 << 12;
    QTest::newRow("800x600 14pt") << 800 << 600 << 14;
}

void AddAllLayoutRows()
{
    AddLayoutRows();
    QTest::newRow("640x480 14pt") << 640 << 480 << 14;
}

QStringList CutOrOutOfReach(QWidget* area)
{
    QStringList out;
    CheckChildren(area, area, out);
    return out;
}

double MeanLuminance(const QImage& image)
{
    double sum = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            sum += QColor(image.pixel(x, y)).lightnessF();
    return sum / std::max(1, image.width() * image.height());
}

} // namespace velmora::gui::test
