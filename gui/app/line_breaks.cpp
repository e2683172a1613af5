#include "gui/app/line_breaks.h"

#include "core/app/message_lines.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QLabel>

namespace velmora::gui {

namespace {

// Keeps a label's whole text and shows it broken to the label's width.
class LabelLines : public QObject
{
public:
    explicit LabelLines(QLabel* label)
        : QObject(label)
        , m_label(label)
        , m_whole(label->text())
    {
        label->setWordWrap(false);
        Show();
    }

    bool eventFilter(QObject*, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::Show:
        case QEvent::Resize:
        case QEvent::FontChange:
            Show();
            break;
        default:
            break;
        }
        return false;
    }

private:
    void Show()
    {
        if (m_label->text() != m_shown)
            m_whole = m_label->text(); // set by the program since
        m_shown = BreakLines(m_whole, m_label->font(), m_label->contentsRect().width());
        if (m_label->text() != m_shown)
            m_label->setText(m_shown);
    }

    QLabel* m_label;
    QString m_whole;
    QString m_shown;
};

} // namespace

QString BreakLines(const QString& text, const QFont& font, double width)
{
    const QFontMetricsF fm(font);
    const TextWidth measure = [&fm](std::u16string_view s) {
        return fm.horizontalAdvance(QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size())));
    };
    return QString::fromStdU16String(BreakMessageLines(text.toStdU16String(), measure, width));
}

void BreakLinesSensibly(QLabel* label)
{
    label->installEventFilter(new LabelLines(label));
}

} // namespace velmora::gui
