#include "gui/app/fit_text.h"

#include "core/app/app_state.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTabBar>
#include <QToolButton>
#include <QVariant>

#include <algorithm>
#include <limits>

namespace velmora::gui {

namespace {

constexpr char kSeen[] = "fitSeen";
constexpr char kOwnSize[] = "fitOwnSize"; // the point size of a font the control had of its own
constexpr double kStep = 0.5;
constexpr int kTabPadding = 8; // a tab's frame and margins above and below its caption
// An elided text: what the control shows, the whole text it stands for, and the hint before and after.
constexpr char kElidedText[] = "fitElidedText";
constexpr char kWholeText[] = "fitWholeText";
constexpr char kHintBefore[] = "fitHintBefore";
constexpr char kHintGiven[] = "fitHintGiven";

double DesignSize(const QWidget* w)
{
    const QVariant own = w->property(kOwnSize);
    if (own.isValid())
        return own.toDouble();
    if (w->isWindow() || !w->parentWidget())
        return w->font().pointSizeF();
    return DesignSize(w->parentWidget());
}

// Remembers, the first time a control is fitted, whether it had a size of its own (a smaller font
// for a row of buttons, say) or took its parent's (a bold label keeps following its window's font):
// that is its design size from then on.
void Remember(QWidget* w)
{
    if (w->property(kSeen).toBool())
        return;
    w->setProperty(kSeen, true);
    const QWidget* parent = w->parentWidget();
    if (w->testAttribute(Qt::WA_SetFont) && parent && w->font().pointSizeF() != DesignSize(parent))
        w->setProperty(kOwnSize, w->font().pointSizeF());
}

// Fitting starts once FitForm has given the window its size and font.
bool WindowFitted(const QWidget* w)
{
    return w->window()->property(kFittedWindow).toBool();
}

// A caption as it is drawn: "&&" is an ampersand, a single '&' marks a mnemonic and is not drawn.
QString Drawn(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size())
            ++i;
        out += text[i];
    }
    return out;
}

// A text without the blanks that pad it on the right (data fields are padded with U+3000): they take
// no room a reader sees.
QString WithoutTrailingBlanks(QString text)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines) {
        qsizetype end = line.size();
        while (end > 0 && (line[end - 1] == QLatin1Char(' ') || line[end - 1] == QChar(0x3000)))
            --end;
        line.truncate(end);
    }
    return lines.join(QLatin1Char('\n'));
}

QSizeF TextSize(const QFontMetricsF& fm, const QString& text)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    qreal w = 0;
    for (const QString& l : lines)
        w = std::max(w, fm.horizontalAdvance(l));
    const qreal h = lines.size() == 1 ? fm.height() : fm.lineSpacing() * static_cast<qreal>(lines.size());
    return { w, h };
}

bool Within(const QSizeF& text, const QSizeF& room)
{
    return text.width() <= room.width() && text.height() <= room.height();
}

// The texts a control shows (and the widest it is to hold) and the room they have, in font f.
// False when the control is not one whose text is fitted.
bool Measure(const QWidget* w, QStringList& texts, QSizeF& room)
{
    const QString sample = w->property(kFitSample).toString();
    if (!sample.isEmpty())
        texts.push_back(sample);
    if (auto* l = qobject_cast<const QLabel*>(w)) {
        if (l->wordWrap() || l->text().isEmpty() || l->textFormat() == Qt::RichText)
            return !texts.isEmpty() && !l->wordWrap();
        texts.push_back(WithoutTrailingBlanks(l->text()));
        const QRect r = l->contentsRect();
        room = QSizeF(r.width() - 2 * l->margin(), r.height() - 2 * l->margin());
        return true;
    }
    if (auto* g = qobject_cast<const QGroupBox*>(w)) {
        if (g->title().isEmpty())
            return false;
        texts.push_back(Drawn(g->title()));
        // The title must keep clear of the group's first row.
        int top = g->height();
        for (const QObject* c : g->children())
            if (auto* cw = qobject_cast<const QWidget*>(c); cw && !cw->isWindow() && !cw->isHidden())
                top = std::min(top, cw->y());
        room = QSizeF(g->width() - 16, top + 2);
        return true;
    }
    if (auto* b = qobject_cast<const QAbstractButton*>(w)) {
        if (b->text().isEmpty())
            return false;
        texts.push_back(Drawn(b->text()));
        if (qobject_cast<const QCheckBox*>(b) || qobject_cast<const QRadioButton*>(b)) {
            const int indicator = b->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, b)
                + b->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, b);
            room = QSizeF(b->width() - indicator, b->height());
        } else if (qobject_cast<const QToolButton*>(b)) {
            room = QSizeF(b->width() - 4, b->height() - 2);
        } else {
            room = QSizeF(b->width() - 8, b->height() - 4);
        }
        return true;
    }
    if (auto* e = qobject_cast<const QLineEdit*>(w)) {
        if (qobject_cast<const QComboBox*>(e->parentWidget()))
            return false; // the combo box's own edit field: fitted with the combo box
        texts.push_back(e->text());
        room = QSizeF(e->width() - 8, e->height() - 4);
        return true;
    }
    if (auto* t = qobject_cast<const QTabBar*>(w)) {
        // The tabs take the width their captions need; the bar's height is fixed.
        for (int i = 0; i < t->count(); ++i)
            texts.push_back(Drawn(t->tabText(i)));
        room = QSizeF(std::numeric_limits<qreal>::max(), t->height() - kTabPadding);
        return t->count() > 0;
    }
    if (auto* c = qobject_cast<const QComboBox*>(w)) {
        texts.push_back(c->currentText());
        const int arrow = c->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, c);
        room = QSizeF(c->width() - arrow - 8, c->height() - 4);
        return true;
    }
    return false;
}

bool FitsIn(const QWidget* w, const QFont& font, bool ownTextOnly = false)
{
    QStringList texts;
    QSizeF room;
    if (!Measure(w, texts, room))
        return true;
    if (ownTextOnly && !w->property(kFitSample).toString().isEmpty())
        texts.removeFirst();
    const QFontMetricsF fm(font);
    for (const QString& t : texts)
        if (!Within(TextSize(fm, t), room))
            return false;
    return true;
}

// The text of the controls that are elided when they cannot fit: labels and buttons.
bool ElidedKind(const QWidget* w)
{
    const auto* l = qobject_cast<const QLabel*>(w);
    return (l && !l->wordWrap() && l->textFormat() != Qt::RichText) || qobject_cast<const QAbstractButton*>(w);
}

QString TextOf(const QWidget* w)
{
    if (auto* l = qobject_cast<const QLabel*>(w))
        return l->text();
    return static_cast<const QAbstractButton*>(w)->text();
}

void SetTextOf(QWidget* w, const QString& text)
{
    if (auto* l = qobject_cast<QLabel*>(w))
        l->setText(text);
    else
        static_cast<QAbstractButton*>(w)->setText(text);
}

// Puts back the whole text and the hint of an elided control, unless the program has given it new
// ones meanwhile.
void Unelide(QWidget* w)
{
    const QVariant elided = w->property(kElidedText);
    if (!elided.isValid())
        return;
    if (TextOf(w) == elided.toString())
        SetTextOf(w, w->property(kWholeText).toString());
    if (w->toolTip() == w->property(kHintGiven).toString())
        w->setToolTip(w->property(kHintBefore).toString());
    for (const char* p : { kElidedText, kWholeText, kHintBefore, kHintGiven })
        w->setProperty(p, QVariant());
}

// Shows each line of the text cut with "…" to the room it has in font, the whole text as the hint
// (before the hint the control had).
void Elide(QWidget* w, const QFont& font)
{
    QStringList texts;
    QSizeF room;
    Measure(w, texts, room);
    const QString whole = TextOf(w);
    const QFontMetricsF fm(font);
    QStringList lines = WithoutTrailingBlanks(whole).split(QLatin1Char('\n'));
    for (QString& line : lines)
        line = fm.elidedText(line, Qt::ElideRight, room.width());
    const QString shown = lines.join(QLatin1Char('\n'));
    const QString before = w->toolTip();
    const QString hint = before.isEmpty() || before == whole ? whole : whole + QLatin1Char('\n') + before;
    w->setProperty(kElidedText, shown);
    w->setProperty(kWholeText, whole);
    w->setProperty(kHintBefore, before);
    w->setProperty(kHintGiven, hint);
    SetTextOf(w, shown);
    w->setToolTip(hint);
}

// A group box whose font shrinks for its title keeps its controls at their own size.
void KeepChildrenFonts(QGroupBox* g)
{
    for (QObject* c : g->children()) {
        auto* cw = qobject_cast<QWidget*>(c);
        if (!cw || cw->isWindow())
            continue;
        Remember(cw);
        if (!cw->property(kOwnSize).isValid()) {
            QFont f = cw->font();
            f.setPointSizeF(DesignSize(cw));
            cw->setFont(f);
        }
    }
}

} // namespace

QFont DenseFont(double points)
{
    const AppState& s = App();
    const double k = (s.ScreenHeight > 0 ? s.ScreenHeight : 600) / 600.0;
    QFont f;
    f.setPointSizeF(std::max(kMinFitPointSize, points * k));
    return f;
}

QFont DesignFont(QWidget* control)
{
    Remember(control);
    QFont font = control->font();
    if (const double design = DesignSize(control); design > 0)
        font.setPointSizeF(design);
    return font;
}

void FitText(QWidget* control)
{
    if (control->isWindow() || !WindowFitted(control))
        return;
    Remember(control);
    const double design = DesignSize(control);
    if (design <= 0)
        return; // a font given in pixels: left as it is
    const bool elidable = ElidedKind(control);
    if (elidable)
        Unelide(control);
    QFont font = control->font();
    font.setPointSizeF(design);
    double size = design;
    while (!FitsIn(control, font) && size - kStep >= kMinFitPointSize) {
        size -= kStep;
        font.setPointSizeF(size);
    }
    if (control->font().pointSizeF() != size) {
        if (auto* g = qobject_cast<QGroupBox*>(control))
            KeepChildrenFonts(g);
        control->setFont(font);
    }
    if (elidable && !FitsIn(control, font, true))
        Elide(control, font);
}

void FitTexts(QWidget* root)
{
    if (!WindowFitted(root))
        return;
    const QList<QWidget*> all = root->findChildren<QWidget*>();
    for (QWidget* w : all)
        if (!w->isWindow())
            Remember(w);
    // Group boxes first: their controls are then measured in their own fonts.
    for (QWidget* w : all)
        if (qobject_cast<QGroupBox*>(w) && !w->isWindow())
            FitText(w);
    for (QWidget* w : all)
        if (!qobject_cast<QGroupBox*>(w) && !w->isWindow())
            FitText(w);
}

} // namespace velmora::gui
