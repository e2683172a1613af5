#include "gui/app/fit_form.h"

#include "core/app/app_state.h"
#include "gui/app/fit_text.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFontDatabase>
#include <QFontDialog>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTabWidget>
#include <QWidget>

namespace velmora::gui {

ScreenSize CurrentScreenSize()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QSize size = screen->size();
        return ScreenSize { size.width(), size.height() };
    }
    return ScreenSize { 800, 600 };
}

bool WritesJapanese(const QString& family)
{
    return QFontDatabase::writingSystems(family).contains(QFontDatabase::Japanese);
}

void OfferJapaneseFontsOnly(QFontDialog* dialog)
{
    // The dialog lists the families of its writing-system box's choice; the box is its only combo box,
    // with the writing systems in QFontDatabase's order.
    auto* systems = dialog->findChild<QComboBox*>();
    if (!systems || systems->count() <= QFontDatabase::Japanese)
        return;
    systems->setCurrentIndex(QFontDatabase::Japanese);
    emit systems->activated(QFontDatabase::Japanese);
    systems->hide();
    for (QLabel* l : dialog->findChildren<QLabel*>())
        if (l->buddy() == systems)
            l->hide();
}

QString ResolveFontFamily(const QString& name, bool fixedPitch)
{
    const QStringList families = QFontDatabase::families();
    if (families.contains(name, Qt::CaseInsensitive) && WritesJapanese(name))
        return name;
    static const char* const kProportional[]
        = { "IPAPGothic", "IPAGothic", "IPAexGothic", "Noto Sans CJK JP", "VL PGothic", "Takao PGothic" };
    static const char* const kFixed[]
        = { "IPAGothic", "Noto Sans Mono CJK JP", "VL Gothic", "Takao Gothic", "IPAPGothic" };
    if (fixedPitch) {
        for (const char* f : kFixed)
            if (families.contains(QString::fromLatin1(f), Qt::CaseInsensitive))
                return QString::fromLatin1(f);
    } else {
        for (const char* f : kProportional)
            if (families.contains(QString::fromLatin1(f), Qt::CaseInsensitive))
                return QString::fromLatin1(f);
    }
    return name;
}

QFont AppFont()
{
    const AppState& s = App();
    QFont font(ResolveFontFamily(QString::fromStdU16String(s.FontName)));
    if (s.FontSize > 0)
        font.setPointSize(s.FontSize);
    return font;
}

QFont AppFixedFont()
{
    const AppState& s = App();
    QFont font(ResolveFontFamily(QString::fromStdU16String(s.FixFontName), true));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    if (s.FixFontSize > 0)
        font.setPointSize(s.FixFontSize);
    return font;
}

namespace {
FitRect RectOf(const QRect& r)
{
    return FitRect { r.x(), r.y(), r.width(), r.height() };
}

// The controls placed directly on a widget, in creation order; separate windows (dialogs the widget
// owns) are not controls of it.
QList<QWidget*> DirectControls(QWidget* parent)
{
    QList<QWidget*> controls;
    for (QObject* child : parent->children())
        if (auto* w = qobject_cast<QWidget*>(child); w && !w->isWindow())
            controls.append(w);
    return controls;
}
} // namespace

void FitControl(QWidget* control, FitScale k)
{
    const FitRect r = FitControlRect(RectOf(control->geometry()), k);
    control->setGeometry(r.left, r.top, r.width, r.height);
    if (qobject_cast<QGroupBox*>(control))
        for (QWidget* child : DirectControls(control))
            FitControl(child, k);
    // The controls of a page control's pages are scaled like those of a group box: left as designed,
    // a smaller layout would put them out of the page's reach.
    if (auto* pages = qobject_cast<QTabWidget*>(control))
        for (int i = 0; i < pages->count(); ++i)
            for (QWidget* child : DirectControls(pages->widget(i)))
                FitControl(child, k);
}

namespace {
// Fits the texts of a window each time it is shown, when its size and font are final.
class FitTextsOnShow : public QObject
{
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched == parent())
            FitTexts(static_cast<QWidget*>(watched));
        return false;
    }
};
} // namespace

FrameExtents WindowFrameExtents(const QWidget* form)
{
    // A window not yet shown has no frame yet: its owner's, or another shown window's, tells what the
    // window manager adds.
    QList<const QWidget*> windows;
    if (form->parentWidget())
        windows.append(form->parentWidget()->window());
    for (const QWidget* w : QApplication::topLevelWidgets())
        windows.append(w);
    for (const QWidget* w : windows) {
        if (!w->isVisible() || !w->testAttribute(Qt::WA_WState_Created))
            continue;
        const QRect frame = w->frameGeometry();
        const QRect client = w->geometry();
        if (frame == client)
            continue;
        return FrameExtents { client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                              frame.bottom() - client.bottom() };
    }
    return {};
}

void FitForm(QWidget* form)
{
    if (!form->property(kFittedWindow).toBool()) {
        form->setProperty(kFittedWindow, true);
        form->installEventFilter(new FitTextsOnShow(form));
    }
    const AppState& s = App();
    form->setFont(AppFont());
    const QSize size = form->size();
    const FittedForm fitted = FitFormWithFrame(FitRect { 0, 0, size.width(), size.height() }, CurrentScreenSize(),
                                               s.ScreenWidth, s.ScreenHeight, WindowFrameExtents(form));
    const FitRect& r = fitted.window;
    // A fixed-size window keeps its fixed size after fitting.
    const bool fixed = form->minimumSize() == form->maximumSize();
    if (fixed)
        form->setFixedSize(r.width, r.height);
    else
        form->resize(r.width, r.height);
    form->move(r.left, r.top);
    for (QWidget* child : DirectControls(form))
        FitControl(child, fitted.controls);
}

void RefitKeptForm(QWidget* form)
{
    const AppState& s = App();
    form->setFont(AppFont());
    const FitRect r = CentreOnScreen(form->width(), form->height(), CurrentScreenSize(), s.ScreenHeight);
    form->move(r.left, r.top);
}

} // namespace velmora::gui
