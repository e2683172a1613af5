#include "gui/pedigree/editor_widgets.h"

#include "core/pedigree/editor.h"
#include "gui/app/shape.h"

#include <QDragEnterEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

namespace velmora::gui {

namespace {
const QString kStallionFormat = QStringLiteral("application/x-velmora-stallion");
const QString kMareFormat = QStringLiteral("application/x-velmora-mare");
} // namespace

QMimeData* HorseMimeData(bool mare, const QString& name)
{
    auto* data = new QMimeData;
    data->setData(mare ? kMareFormat : kStallionFormat, name.toUtf8());
    return data;
}

bool ReadHorseMimeData(const QMimeData* data, bool* mare, QString* name)
{
    if (!data)
        return false;
    for (const bool m : { false, true }) {
        const QString& format = m ? kMareFormat : kStallionFormat;
        if (data->hasFormat(format)) {
            *mare = m;
            *name = QString::fromUtf8(data->data(format));
            return true;
        }
    }
    return false;
}

THorseList::THorseList(bool mares, QWidget* parent)
    : QListWidget(parent)
    , m_mares(mares)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setDefaultDropAction(Qt::CopyAction);
}

QStringList THorseList::mimeTypes() const
{
    return { m_mares ? kMareFormat : kStallionFormat };
}

QMimeData* THorseList::mimeData(const QList<QListWidgetItem*>& items) const
{
    return items.isEmpty() ? nullptr : HorseMimeData(m_mares, items.first()->text());
}

TSlotLabel::TSlotLabel(int k, QWidget* parent)
    : QLabel(parent)
    , m_k(k)
{
    setAcceptDrops(true);
    setTextFormat(Qt::PlainText);
}

bool TSlotLabel::Accepts(const QMimeData* data) const
{
    bool mare = false;
    QString name;
    return ReadHorseMimeData(data, &mare, &name) && PedigreeEditor::AcceptsDrop(m_k, mare);
}

void TSlotLabel::dragEnterEvent(QDragEnterEvent* event)
{
    dragMoveEvent(event); // judged as every move over the label is
}

void TSlotLabel::dragMoveEvent(QDragMoveEvent* event)
{
    if (Accepts(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TSlotLabel::dropEvent(QDropEvent* event)
{
    bool mare = false;
    QString name;
    if (!ReadHorseMimeData(event->mimeData(), &mare, &name) || !PedigreeEditor::AcceptsDrop(m_k, mare)) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    emit horseDropped(m_k, mare, name);
}

void TSlotLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton)
        emit rightReleased(m_k, event->position().toPoint());
    QLabel::mouseReleaseEvent(event);
}

TFrameShape::TFrameShape(uint32_t bgr, int penWidth, QWidget* parent)
    : QWidget(parent)
    , m_color(bgr)
    , m_width(penWidth)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TFrameShape::SetPenColor(uint32_t bgr)
{
    if (bgr == m_color)
        return;
    m_color = bgr;
    update();
}

void TFrameShape::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    QPen pen(BgrColor(m_color));
    pen.setWidth(m_width);
    pen.setJoinStyle(Qt::MiterJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    // The pen is centred on the path: keep it inside the widget.
    const int in = m_width / 2;
    const int out = in + m_width % 2;
    p.drawRect(rect().adjusted(in, in, -out, -out));
}

} // namespace velmora::gui
