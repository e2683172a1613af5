#pragma once
// A filled rectangle used as a colour swatch: effect colours, cross markers, evaluation backgrounds.

#include <QWidget>

#include <cstdint>

namespace velmora::gui {

// Converts a stored colour 0x00BBGGRR to a QColor.
QColor BgrColor(uint32_t bgr);

class TShape : public QWidget
{
    Q_OBJECT
public:
    explicit TShape(QWidget* parent = nullptr);

    // The brush colour as stored in the data, 0x00BBGGRR.
    uint32_t Color() const { return m_color; }
    void SetColor(uint32_t bgr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    uint32_t m_color = 0xFFFFFF;
};

} // namespace velmora::gui
