#include "gui/app/controls.h"

#include "core/common/text_colour.h"
#include "gui/app/name_box.h"
#include "gui/app/shape.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

namespace velmora::gui {

QString Q(std::u16string_view s)
{
    return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size()));
}

std::u16string U(const QString& s)
{
    return s.toStdU16String();
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int x, int y, int w, int h)
{
    auto* l = new QLabel(text, parent);
    if (name)
        l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(x, y, w, h);
    return l;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text, int x, int y, int w, int h)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(x, y, w, h);
    b->setAutoDefault(false);
    return b;
}

QComboBox* MakeComboBox(QWidget* parent, const char* name, int x, int y, int w, int h)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    c->setGeometry(x, y, w, h);
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    KeepExactNames(c);
    return c;
}

void FillChooser(QComboBox* box, const std::vector<std::u16string>& items, int selected)
{
    box->clear();
    for (const std::u16string& item : items)
        box->addItem(Q(item));
    box->setCurrentIndex(selected);
}

TShape* MakeShape(QWidget* parent, const QString& name, int x, int y, int w, int h)
{
    auto* s = new TShape(parent);
    s->setObjectName(name);
    s->setGeometry(x, y, w, h);
    return s;
}

void SetTextColor(QWidget* w, uint32_t bgr)
{
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, BgrColor(bgr));
    p.setColor(QPalette::Text, BgrColor(bgr));
    w->setPalette(p);
}

void SetBackground(QWidget* w, uint32_t bgr)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, BgrColor(bgr));
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

void SetFill(QWidget* w, uint32_t bgr)
{
    SetBackground(w, bgr);
    SetTextColor(w, ReadableTextColor(bgr));
}

void ShowToggleState(QToolButton* button)
{
    button->setStyleSheet(QStringLiteral("QToolButton { border: 1px solid #8c8c8c; border-radius: 2px;"
                                         " background: #f7f7f7; color: #000000; padding: 0px; }"
                                         "QToolButton:hover { background: #e3ecf7; }"
                                         "QToolButton:checked { border: 2px solid #14325a; background: #2f64a8;"
                                         " color: #ffffff; }"
                                         "QToolButton:disabled { color: #9a9a9a; }"
                                         "QToolButton:checked:disabled { background: #8ea6c8; color: #e8e8e8; }"));
}

void SetFontStyle(QWidget* w, bool bold, bool italic)
{
    QFont f = w->font();
    f.setBold(bold);
    f.setItalic(italic);
    w->setFont(f);
}

void PaintLegendLabels(const std::array<QLabel*, kLegendEntries + 1>& labels,
                       const std::array<LegendEntry, kLegendEntries + 1>& legend)
{
    for (size_t k = 1; k <= kLegendEntries; ++k) {
        QLabel* l = labels[k];
        const LegendEntry& e = legend[k];
        l->setText(Q(e.text));
        if (e.shown) {
            SetBackground(l, e.color);
            SetTextColor(l, e.textColor);
        } else {
            l->setAutoFillBackground(false);
        }
    }
}

} // namespace velmora::gui
