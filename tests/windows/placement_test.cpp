#include "windows/placement.h"

#include <QScreen>
#include <QTest>
#include <QWidget>

#include "support/testmain.h"

#include <memory>

// Qt's offscreen windows get a frame of 2 pixels once shown, as a window
// manager's would: unknown before the first show, known after it.
class PlacementTest : public QObject
{
    Q_OBJECT

private slots:
    void centerOnScreen_centresTheFrameOnceKnown_data();
    void centerOnScreen_centresTheFrameOnceKnown();
};

void PlacementTest::centerOnScreen_centresTheFrameOnceKnown_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("framedWindowShown"); // whose frame stands in
    QTest::newRow("the first window") << QSize(300, 200) << false;
    QTest::newRow("beside a framed window") << QSize(300, 200) << true;
    QTest::newRow("taller than the screen") << QSize(300, 2000) << false;
    QTest::newRow("wider than the screen") << QSize(2000, 200) << true;
}

// Centred with its frame, the top-left corner kept on the screen.
void PlacementTest::centerOnScreen_centresTheFrameOnceKnown()
{
    QFETCH(QSize, size);
    QFETCH(bool, framedWindowShown);
    std::unique_ptr<QWidget> other;
    if (framedWindowShown) {
        other = std::make_unique<QWidget>();
        other->setGeometry(10, 10, 50, 50);
        other->show();
        QVERIFY(QTest::qWaitForWindowExposed(other.get()));
        QVERIFY(other->frameGeometry() != other->geometry());
    }

    QWidget window;
    window.resize(size);
    placement::centerOnScreen(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    const QRect screen = window.screen()->availableGeometry();
    QRect expected(QPoint(), window.frameGeometry().size());
    expected.moveCenter(screen.center());
    expected.moveTopLeft({std::max(expected.left(), screen.left()), std::max(expected.top(), screen.top())});
    QVERIFY(window.frameGeometry() != window.geometry());
    QTRY_COMPARE(window.frameGeometry(), expected);
}

VARDO_TEST_MAIN(PlacementTest)
#include "placement_test.moc"
