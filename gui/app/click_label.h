#pragma once
// A label that acts as a button: it shows a hand cursor and reports a click (the direction labels
// "以上" / "以下" that toggle when clicked).

#include <QLabel>

namespace velmora::gui {

class ClickLabel : public QLabel
{
    Q_OBJECT
public:
    explicit ClickLabel(QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace velmora::gui
