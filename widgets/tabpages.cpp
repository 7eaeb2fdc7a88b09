#include "widgets/tabpages.h"

#include "widgets/freshaccessible.h"
#include "widgets/tabpagesaccessible.h"

#include <QAccessible>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <qdrawutil.h>

#include <algorithm>

TabPages::TabPages(int tabsPerRow, int tabHeight, QWidget *parent)
    : QWidget(parent)
    , m_tabsPerRow(qMax(1, tabsPerRow))
    , m_tabHeight(tabHeight)
    , m_background(palette().color(QPalette::Button))
{
    setFocusPolicy(Qt::StrongFocus);
}

int TabPages::addPage(const QString &caption)
{
    auto *page = new QWidget(this);
    page->setAccessibleName(caption);
    m_captions.append(caption);
    m_pages.append(page);
    if (m_current < 0)
        m_current = 0;
    page->setVisible(m_current == count() - 1);
    fitPages();
    update();
    return count() - 1;
}

void TabPages::addToPage(int page, QWidget *control)
{
    control->setParent(m_pages.at(page));
}

void TabPages::fitPages()
{
    const QRegion pageArea(0, tabAreaHeight(), width(), height() - tabAreaHeight());
    for (QWidget *page : std::as_const(m_pages)) {
        page->setGeometry(rect());
        page->setMask(pageArea);
    }
}

void TabPages::resizeEvent(QResizeEvent *event)
{
    fitPages();
    QWidget::resizeEvent(event);
}

void TabPages::setCurrentIndex(int index)
{
    if (index < 0 || index >= count() || index == m_current)
        return;
    QWidget *previous = m_pages.at(m_current);
    m_current = index;
    refreshAccessible(m_pages.at(m_current));
    m_pages.at(m_current)->show();
    // Focus on the page that goes stays on the one that comes, at the same
    // place in its order, rather than leaving for the next control outside.
    const QList<QWidget *> before = focusStops(previous);
    const int place = before.indexOf(QApplication::focusWidget());
    if (place >= 0) {
        const QList<QWidget *> after = focusStops(m_pages.at(m_current));
        if (!after.isEmpty())
            after.at(std::min(place, int(after.size()) - 1))->setFocus(Qt::TabFocusReason);
        else
            setFocus(Qt::TabFocusReason);
    }
    previous->hide();
    update();
    announceCurrentTab();
    emit currentChanged(index);
}

// Screen readers hear the container by its current page's caption, and follow
// the chosen tab by the events a tab bar raises.
void TabPages::announceCurrentTab()
{
    QAccessibleEvent renamed(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&renamed);
    if (hasFocus())
        announceTab(QAccessible::Focus);
    announceTab(QAccessible::Selection);
}

void TabPages::announceTab(QAccessible::Event type)
{
    QAccessibleEvent event(this, type);
    event.setChild(m_current);
    QAccessible::updateAccessibility(&event);
}

// The controls on `page` that Tab stops at, in focus order.
QList<QWidget *> TabPages::focusStops(QWidget *page)
{
    QList<QWidget *> stops;
    QWidget *next = page->nextInFocusChain();
    for (int i = 0; next != page && i < 10000; ++i, next = next->nextInFocusChain()) {
        if (page->isAncestorOf(next) && next->isVisibleTo(page) && next->isEnabled()
            && (next->focusPolicy() & Qt::TabFocus) && !stops.contains(next))
            stops.append(next);
    }
    return stops;
}

int TabPages::rowCount() const
{
    return (count() + m_tabsPerRow - 1) / m_tabsPerRow;
}

// Display slot 0 is the top row; the current tab's row takes the last slot,
// next to the page.
int TabPages::slotOfRow(int row) const
{
    const int rows = rowCount();
    const int currentRow = m_current < 0 ? 0 : rowOf(m_current);
    return (row - currentRow + rows - 1) % rows;
}

// The pixels the division leaves over go one each to tabs spread along the row,
// so that every row spans the whole width.
QRect TabPages::tabRect(int index) const
{
    const int column = index % m_tabsPerRow;
    const int left = column * width() / m_tabsPerRow;
    const int right = (column + 1) * width() / m_tabsPerRow;
    return QRect(left, slotOfRow(rowOf(index)) * m_tabHeight, right - left, m_tabHeight);
}

int TabPages::tabAt(const QPoint &pos) const
{
    for (int i = 0; i < count(); ++i) {
        if (tabRect(i).contains(pos))
            return i;
    }
    return -1;
}

// Drawn in the classic raised style: a panel for the page, and tabs whose
// current one is a little larger and joins the panel.
void TabPages::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_background);
    const QPalette &pal = palette();
    const QRect panel = rect().adjusted(0, tabAreaHeight(), 0, 0);
    qDrawWinPanel(&painter, panel, pal, false, nullptr);

    for (int i = 0; i < count(); ++i) {
        if (i != m_current)
            drawTab(painter, i, tabRect(i).adjusted(0, 2, 0, 0));
    }
    if (m_current >= 0)
        drawTab(painter, m_current, tabRect(m_current).adjusted(-2, 0, 2, 1));
}

void TabPages::drawTab(QPainter &painter, int index, const QRect &r)
{
    const QPalette &pal = palette();
    painter.fillRect(r.adjusted(1, 1, -1, 0), m_background);
    painter.setPen(pal.color(QPalette::Light));
    painter.drawLine(r.left(), r.bottom(), r.left(), r.top() + 2);
    painter.drawLine(r.left() + 2, r.top(), r.right() - 2, r.top());
    painter.drawPoint(r.left() + 1, r.top() + 1);
    painter.setPen(pal.color(QPalette::Dark));
    painter.drawLine(r.right() - 1, r.top() + 1, r.right() - 1, r.bottom());
    painter.setPen(pal.color(QPalette::Shadow));
    painter.drawLine(r.right(), r.top() + 2, r.right(), r.bottom());
    painter.drawPoint(r.right() - 1, r.top() + 1);

    painter.setPen(pal.color(QPalette::ButtonText));
    painter.drawText(r, Qt::AlignCenter | Qt::TextSingleLine, m_captions.at(index));
    if (index == m_current && hasFocus()) {
        const QRect textBox = painter.fontMetrics().boundingRect(r, Qt::AlignCenter, m_captions.at(index));
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = textBox.adjusted(-2, -1, 2, 1) & r.adjusted(3, 3, -3, -1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

void TabPages::mousePressEvent(QMouseEvent *event)
{
    const int index = tabAt(event->position().toPoint());
    if (index < 0 || event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    setCurrentIndex(index);
}

void TabPages::step(int delta)
{
    if (count() > 0)
        setCurrentIndex((m_current + delta + count()) % count());
}

void TabPages::keyPressEvent(QKeyEvent *event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const int key = event->key();
    if (ctrl && key == Qt::Key_Tab) {
        step(+1);
    } else if (ctrl && key == Qt::Key_Backtab) {
        step(-1);
    } else if (!ctrl && (key == Qt::Key_Right || key == Qt::Key_Down) && hasFocus()) {
        if (m_current + 1 < count())
            step(+1);
    } else if (!ctrl && (key == Qt::Key_Left || key == Qt::Key_Up) && hasFocus()) {
        if (m_current > 0)
            step(-1);
    } else if (!ctrl && (key == Qt::Key_Home || key == Qt::Key_End) && hasFocus()) {
        // As a desktop's tab row does: the first or last tab, whatever its row.
        setCurrentIndex(key == Qt::Key_Home ? 0 : count() - 1);
    } else {
        QWidget::keyPressEvent(event);
    }
}

void TabPages::focusInEvent(QFocusEvent *event)
{
    update();
    QWidget::focusInEvent(event);
    if (m_current >= 0)
        announceTab(QAccessible::Focus);
}

void TabPages::focusOutEvent(QFocusEvent *event)
{
    update();
    QWidget::focusOutEvent(event);
}
