#pragma once
// The pedigree editor's own controls: name lists that drag a horse, chart position labels that take
// a dropped horse and report a right click, and outline shapes (cross frames, bars, rule frames).

#include <QLabel>
#include <QListWidget>

#include <cstdint>

class QMimeData;

namespace velmora::gui {

// The drag data of a horse from one of the editor's lists: its name, under a format telling which list.
QMimeData* HorseMimeData(bool mare, const QString& name);
// Reads it back; false when the data is not a horse from the editor's lists.
bool ReadHorseMimeData(const QMimeData* data, bool* mare, QString* name);

// A sorted name list that drags the pressed name.
class THorseList : public QListWidget
{
    Q_OBJECT
public:
    THorseList(bool mares, QWidget* parent = nullptr);

protected:
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override;

private:
    bool m_mares;
};

// The caption of chart position k: takes the horses the position accepts, reports the right button
// released over it.
class TSlotLabel : public QLabel
{
    Q_OBJECT
public:
    TSlotLabel(int k, QWidget* parent = nullptr);

signals:
    void horseDropped(int k, bool mare, const QString& name);
    void rightReleased(int k, const QPoint& pos);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool Accepts(const QMimeData* data) const;
    int m_k;
};

// A rectangle outline in one pen, nothing filled; a thin one serves as a bar. Mouse events pass through.
class TFrameShape : public QWidget
{
    Q_OBJECT
public:
    TFrameShape(uint32_t bgr, int penWidth, QWidget* parent = nullptr);
    void SetPenColor(uint32_t bgr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    uint32_t m_color;
    int m_width;
};

} // namespace velmora::gui
