#include "widgets/tabpages.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include "support/testmain.h"

class TabPagesTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void click_selectsTabAndShowsOnlyItsControls();
    void keyboard_switchesPages_data();
    void keyboard_switchesPages();
    void ctrlTab_worksFromAControlOnThePage();
    void chosenRow_movesNextToThePage();
    void hiddenControl_staysHiddenWhenItsPageShows();
    void rows_spanTheWholeWidth_data();
    void rows_spanTheWholeWidth();

private:
    TabPages *m_tabs = nullptr;
    QList<QLabel *> m_labels;
};

// 27 pages in rows of 9, one label on each, as the answer pages are laid out.
void TabPagesTest::init()
{
    m_tabs = new TabPages(9, 20);
    m_tabs->resize(641, 145);
    m_labels.clear();
    for (int i = 0; i < 27; ++i) {
        const int page = m_tabs->addPage(QStringLiteral("page %1").arg(i));
        auto *label = new QLabel(QStringLiteral("label %1").arg(i));
        label->setGeometry(10, 80, 100, 20);
        m_tabs->addToPage(page, label);
        m_labels.append(label);
    }
    m_tabs->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_tabs));
}

void TabPagesTest::cleanup()
{
    delete m_tabs;
}

void TabPagesTest::click_selectsTabAndShowsOnlyItsControls()
{
    QSignalSpy changed(m_tabs, &TabPages::currentChanged);
    QTest::mouseClick(m_tabs, Qt::LeftButton, {}, m_tabs->tabRect(13).center());
    QCOMPARE(m_tabs->currentIndex(), 13);
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed.first().first().toInt(), 13);
    for (int i = 0; i < 27; ++i)
        QCOMPARE(m_labels[i]->isVisible(), i == 13);
    QCOMPARE(m_labels[13]->mapTo(m_tabs, QPoint(0, 0)), QPoint(10, 80));
    QVERIFY(m_tabs->hasFocus());

    QTest::mouseClick(m_tabs, Qt::LeftButton, {}, QPoint(300, 120)); // the page, not a tab
    QCOMPARE(m_tabs->currentIndex(), 13);
}

void TabPagesTest::keyboard_switchesPages_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("to");

    QTest::newRow("right") << 0 << int(Qt::Key_Right) << 0 << 1;
    QTest::newRow("left at the first stays") << 0 << int(Qt::Key_Left) << 0 << 0;
    QTest::newRow("right at the last stays") << 26 << int(Qt::Key_Right) << 0 << 26;
    QTest::newRow("down across a row") << 8 << int(Qt::Key_Down) << 0 << 9;
    QTest::newRow("home from another row") << 13 << int(Qt::Key_Home) << 0 << 0;
    QTest::newRow("end from another row") << 4 << int(Qt::Key_End) << 0 << 26;
    QTest::newRow("end at the last stays") << 26 << int(Qt::Key_End) << 0 << 26;
    QTest::newRow("ctrl+tab") << 4 << int(Qt::Key_Tab) << int(Qt::ControlModifier) << 5;
    QTest::newRow("ctrl+tab wraps") << 26 << int(Qt::Key_Tab) << int(Qt::ControlModifier) << 0;
    QTest::newRow("ctrl+shift+tab wraps")
        << 0 << int(Qt::Key_Backtab) << int(Qt::ControlModifier | Qt::ShiftModifier) << 26;
}

void TabPagesTest::keyboard_switchesPages()
{
    QFETCH(int, from);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, to);

    m_tabs->setCurrentIndex(from);
    m_tabs->setFocus();
    QTest::keyClick(m_tabs, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(m_tabs->currentIndex(), to);
    QVERIFY(m_labels[to]->isVisible());
}

void TabPagesTest::ctrlTab_worksFromAControlOnThePage()
{
    m_labels[0]->setFocusPolicy(Qt::StrongFocus);
    m_labels[0]->setFocus();
    QTest::keyClick(m_labels[0], Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(m_tabs->currentIndex(), 1);
}

void TabPagesTest::chosenRow_movesNextToThePage()
{
    QCOMPARE(m_tabs->rowCount(), 3);
    const int bottom = 2 * 20;
    QCOMPARE(m_tabs->tabRect(0).top(), bottom);
    m_tabs->setCurrentIndex(10);
    QCOMPARE(m_tabs->tabRect(10).top(), bottom);
    QCOMPARE(m_tabs->tabRect(18).top(), 0); // the row after it now leads
    QCOMPARE(m_tabs->tabRect(0).top(), 20);
    QCOMPARE(m_tabs->tabRect(9).width(), m_tabs->tabRect(0).width());
}

void TabPagesTest::hiddenControl_staysHiddenWhenItsPageShows()
{
    m_labels[2]->hide();
    m_tabs->setCurrentIndex(2);
    QVERIFY(!m_labels[2]->isVisible());
    m_labels[2]->show();
    m_tabs->setCurrentIndex(3);
    m_tabs->setCurrentIndex(2);
    QVERIFY(m_labels[2]->isVisible());
}

void TabPagesTest::rows_spanTheWholeWidth_data()
{
    QTest::addColumn<int>("width");
    QTest::newRow("divides evenly") << 639;
    QTest::newRow("one over") << 640;
    QTest::newRow("most over") << 647;
    QTest::newRow("answer tabs") << 641;
}

// Equal widths to the pixel: no tab wider than another by more than one, and
// no gap at either end of a row.
void TabPagesTest::rows_spanTheWholeWidth()
{
    QFETCH(int, width);
    m_tabs->resize(width, 145);
    for (int row = 0; row < 3; ++row) {
        int edge = 0;
        for (int column = 0; column < 9; ++column) {
            const QRect tab = m_tabs->tabRect(row * 9 + column);
            QCOMPARE(tab.left(), edge);
            QVERIFY2(qAbs(tab.width() - width / 9) <= 1, qPrintable(QString::number(tab.width())));
            edge = tab.right() + 1;
        }
        QCOMPARE(edge, width);
    }
}

VARDO_TEST_MAIN(TabPagesTest)
#include "tabpages_test.moc"
