#include "gui/app/shape.h"

#include <QPainter>

namespace velmora::gui {

QColor BgrColor(uint32_t bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

TShape::TShape(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TShape::SetColor(uint32_t bgr)
{
    if (bgr == m_color)
        return;
    m_color = bgr;
    update();
}

void TShape::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(Qt::black);
    p.setBrush(BgrColor(m_color));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace velmora::gui
