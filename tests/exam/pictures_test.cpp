#include "exam/examlayout.h"
#include "exam/examwindow.h"
#include "exam/pictures.h"
#include "widgets/pictureground.h"
#include "widgets/tabpages.h"

#include <QAccessible>
#include <QCheckBox>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "support/examfixture.h"
#include "support/testmain.h"

class PicturesTest : public QObject
{
    Q_OBJECT

private slots:
    void resources_haveTheirFormatAndSizes_data();
    void resources_haveTheirFormatAndSizes();
    void figures_waitForTheirPageAndDrawUnscaled();
    void mark_cornersShowThePageBeneath();
    void background_showsThroughTheTransparentLabel();
    void background_drawnPixelForPixel_data();
    void background_drawnPixelForPixel();
    void indexed_keepsEveryColourUpToTheGroundsPalette_data();
    void indexed_keepsEveryColourUpToTheGroundsPalette();
    void figures_speakTheirTabAndWhatTheyShow();
};

// Each image of each picture as Qt reads it from the program's resources.
void PicturesTest::resources_haveTheirFormatAndSizes_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QList<QSize>>("sizes");

    QTest::newRow("background") << pictures::backgroundPath() << QByteArray("gif") << QList<QSize>{{794, 567}};
    const QList<QSize> figureSizes = {{430, 304}, {412, 357}, {508, 355}, {456, 346}, {404, 314}, {422, 142},
                                      {434, 305}, {284, 298}, {450, 272}, {449, 338}, {450, 240}};
    for (int n = 1; n <= 11; ++n) {
        QTest::addRow("figure %d", n) << pictures::figurePath(n) << QByteArray("jpeg")
                                      << QList<QSize>{figureSizes.at(n - 1)};
    }
    QTest::newRow("mark") << pictures::markPath() << QByteArray("ico") << QList<QSize>{{32, 32}, {16, 16}, {32, 32}};
    QTest::newRow("file icon") << QStringLiteral(VARDO_SOURCE_DIR "/assets/vardo.ico") << QByteArray("ico")
                               << QList<QSize>{{32, 32}, {32, 32}, {16, 16}};
}

void PicturesTest::resources_haveTheirFormatAndSizes()
{
    QFETCH(QString, path);
    QFETCH(QByteArray, format);
    QFETCH(QList<QSize>, sizes);

    QImageReader reader(path);
    QCOMPARE(reader.format(), format);
    QCOMPARE(reader.imageCount(), int(sizes.size()));
    for (int i = 0; i < sizes.size(); ++i) {
        QVERIFY(reader.jumpToImage(i) || i == 0);
        const QImage image = reader.read();
        QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
        QCOMPARE(image.size(), sizes.at(i));
    }
}

void PicturesTest::figures_waitForTheirPageAndDrawUnscaled()
{
    ExamFixture exam;
    QVERIFY(exam.open());
    ExamWindow &window = *exam.window;
    auto *figure8 = window.findChild<QLabel *>(QStringLiteral("Picture8"));
    QVERIFY(figure8->pixmap().isNull());

    window.findChild<TabPages *>(QStringLiteral("SSTab1"))->setCurrentIndex(8);
    QCOMPARE(figure8->pixmap().size(), QSize(284, 298));
    QVERIFY(window.findChild<QLabel *>(QStringLiteral("Picture3"))->pixmap().isNull());

    // Drawn at its own size from the top-left corner inside the border.
    const QImage shown = figure8->grab().toImage();
    const QImage source(pictures::figurePath(8));
    const QPoint origin = figure8->contentsRect().topLeft();
    for (const QPoint &p : {QPoint(0, 0), QPoint(100, 150), QPoint(200, 280)})
        QCOMPARE(shown.pixelColor(origin + p), source.pixelColor(p));
}

void PicturesTest::mark_cornersShowThePageBeneath()
{
    ExamFixture exam;
    QVERIFY(exam.open());
    ExamWindow &window = *exam.window;
    examcontrols::tickBox(&window, 3, 1);
    examcontrols::click(&window, QStringLiteral("cmd得点"));

    auto *answers = examcontrols::find<TabPages>(&window, QStringLiteral("SSTab2"));
    QLabel *mark = examcontrols::mark(&window, 3);
    QVERIFY(mark->isVisible());
    const QImage page = answers->grab().toImage();
    const QPoint topLeft = mark->mapTo(answers, QPoint(0, 0));
    QCOMPARE(page.pixelColor(topLeft), QColor(255, 255, 0));
    const QColor ring = page.pixelColor(topLeft + QPoint(16, 3));
    QVERIFY2(ring.red() > 150 && ring.green() < 100, qPrintable(ring.name()));
}

void PicturesTest::background_showsThroughTheTransparentLabel()
{
    ExamFixture exam;
    QVERIFY(exam.open());
    ExamWindow &window = *exam.window;
    auto *label = window.findChild<QLabel *>(QStringLiteral("Label4"));
    const QImage ground = window.centralWidget()->grab().toImage();
    const QImage source(pictures::backgroundPath());
    const QPoint corner = label->geometry().topLeft();
    QCOMPARE(ground.pixelColor(corner), source.pixelColor(corner));
}

// The ground keeps the picture at a byte a pixel and draws each exposed part
// of it exactly as the file's own colours, at its own place. The picture
// (794 x 567) is cut by the ground (792 x 554) at the right and bottom.
void PicturesTest::background_drawnPixelForPixel_data()
{
    QTest::addColumn<QRect>("exposed");

    QTest::newRow("whole ground") << QRect(0, 0, 792, 554);
    QTest::newRow("inside, off the corner") << QRect(137, 61, 200, 90);
    QTest::newRow("right and bottom edges") << QRect(700, 480, 92, 74);
    QTest::newRow("one pixel") << QRect(531, 277, 1, 1);
}

void PicturesTest::background_drawnPixelForPixel()
{
    QFETCH(QRect, exposed);

    ExamFixture exam;
    QVERIFY(exam.open());
    ExamWindow &window = *exam.window;
    auto *ground = dynamic_cast<PictureGround *>(window.centralWidget());
    QVERIFY(ground);
    QCOMPARE(ground->size(), QSize(792, 554));
    QCOMPARE(ground->picture().depth(), 8);

    // The ground alone, without the controls on it, into a sheet that shows
    // any pixel left undrawn.
    QImage drawn(ground->size(), QImage::Format_RGB32);
    drawn.fill(Qt::cyan);
    ground->render(&drawn, exposed.topLeft(), QRegion(exposed), QWidget::DrawWindowBackground);
    const QImage source = QImage(pictures::backgroundPath()).convertToFormat(QImage::Format_RGB32);
    for (int y = exposed.top(); y <= exposed.bottom(); ++y) {
        for (int x = exposed.left(); x <= exposed.right(); ++x) {
            if (drawn.pixel(x, y) != source.pixel(x, y))
                QFAIL(qPrintable(QStringLiteral("(%1, %2) drawn %3, the file has %4")
                                     .arg(x)
                                     .arg(y)
                                     .arg(drawn.pixel(x, y), 8, 16)
                                     .arg(source.pixel(x, y), 8, 16)));
        }
    }
}

// One byte a pixel holds a picture of up to 256 colours exactly, each run
// of a colour included; one colour more and the picture is kept as it is.
void PicturesTest::indexed_keepsEveryColourUpToTheGroundsPalette_data()
{
    QTest::addColumn<int>("colours");
    for (int colours : {1, 255, PictureGround::paletteSize, PictureGround::paletteSize + 1})
        QTest::addRow("%d colours", colours) << colours;
}

void PicturesTest::indexed_keepsEveryColourUpToTheGroundsPalette()
{
    QFETCH(int, colours);
    QImage picture(colours * 2, 2, QImage::Format_RGB32);
    for (int x = 0; x < picture.width(); ++x) // colour k in a run of two
        for (int y = 0; y < 2; ++y)
            picture.setPixel(x, y, qRgb(x / 2 % 256, x / 512, 7));
    const QImage out = pictures::indexed(picture);
    QCOMPARE(out.format(), colours <= PictureGround::paletteSize ? QImage::Format_Indexed8 : picture.format());
    QCOMPARE(out.convertToFormat(QImage::Format_RGB32), picture);
}

// A screen reader hears 図３, an image, and a description that carries every
// numbered choice drawn in the figure, before the figure's page was ever
// opened; the same words are its text, to be read a sentence at a time.
void PicturesTest::figures_speakTheirTabAndWhatTheyShow()
{
    ExamWindow window;
    const QList<int> choicesDrawn = {5, 4, 5, 0, 0, 0, 6, 0, 5, 0, 0};
    for (int n = 1; n <= 11; ++n) {
        auto *picture = window.findChild<QLabel *>(QStringLiteral("Picture%1").arg(n));
        QAccessibleInterface *face = QAccessible::queryAccessibleInterface(picture);
        QVERIFY(face);
        QCOMPARE(face->text(QAccessible::Name), QString::fromUtf8(examlayout::figurePages[n - 1].caption));
        QCOMPARE(face->role(), QAccessible::Graphic);
        const QString description = face->text(QAccessible::Description);
        QVERIFY2(description.size() > 40, qPrintable(QStringLiteral("figure %1").arg(n)));
        QCOMPARE(description, pictures::figureDescription(n));
        QVERIFY(face->textInterface());
        QCOMPARE(face->textInterface()->text(0, int(description.size())), description);
        for (int k = 1; k <= choicesDrawn[n - 1]; ++k)
            QVERIFY2(description.contains(QChar(u'①' + k - 1)),
                     qPrintable(QStringLiteral("figure %1, choice %2").arg(n).arg(k)));
    }
}

VARDO_TEST_MAIN(PicturesTest)
#include "pictures_test.moc"
