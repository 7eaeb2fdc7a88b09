#pragma once

#include <QAccessible>
#include <QColor>
#include <QList>
#include <QStringList>
#include <QWidget>

class QPainter;

// A tabbed container with several rows of equal-width tabs, which Qt's own
// tab bar cannot do. Each page is a transparent layer over the whole container,
// masked to the area below the tabs, so that its controls are placed in the
// container's coordinates and keep their own visibility while the page is
// hidden. The row holding the current tab
// moves next to the page, the other rows keeping their cyclic order above it,
// as multi-row tabs do on the desktops people know.
class TabPages : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int currentIndex READ currentIndex WRITE setCurrentIndex NOTIFY currentChanged)
    Q_PROPERTY(int count READ count)

public:
    TabPages(int tabsPerRow, int tabHeight, QWidget *parent = nullptr);

    int addPage(const QString &caption);
    // `control` is placed in the container's coordinates, shown with `page`.
    void addToPage(int page, QWidget *control);
    QWidget *page(int index) const { return m_pages.value(index); }

    int count() const { return m_captions.size(); }
    int currentIndex() const { return m_current; }
    void setCurrentIndex(int index);
    QString tabText(int index) const { return m_captions.value(index); }
    QRect tabRect(int index) const;
    int rowCount() const;
    void setBackground(const QColor &colour)
    {
        m_background = colour;
        update();
    }

signals:
    void currentChanged(int index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    int rowOf(int index) const { return index / m_tabsPerRow; }
    int slotOfRow(int row) const;
    int tabAt(const QPoint &pos) const;
    int tabAreaHeight() const { return rowCount() * m_tabHeight; }
    void fitPages();
    void drawTab(QPainter &painter, int index, const QRect &r);
    void step(int delta);
    static QList<QWidget *> focusStops(QWidget *page);
    void announceCurrentTab();
    void announceTab(QAccessible::Event type);

    int m_tabsPerRow;
    int m_tabHeight;
    int m_current = -1;
    QStringList m_captions;
    QList<QWidget *> m_pages;
    QColor m_background;
};
