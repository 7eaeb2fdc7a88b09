#pragma once

#include <QImage>
#include <QWidget>

// A ground of one colour with an opaque picture over it, drawn unscaled from
// the top-left corner. An indexed picture is kept as it is, at a byte a
// pixel, instead of the four a pixmap of it would take, and looked up only
// where the ground shows.
class PictureGround : public QWidget
{
public:
    // The colours an indexed picture may have: one byte's worth.
    static constexpr int paletteSize = 256;

    explicit PictureGround(const QColor &colour, QWidget *parent = nullptr);

    void setPicture(QImage picture);
    const QImage &picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void drawIndexed(QPainter &painter, const QRect &part) const;

    QImage m_picture;
};
