#include "reading/figurelabel.h"

#include <QAccessible>
#include <QApplication>
#include <QPixmap>
#include <QTest>
#include <QWidget>

#include "support/heardevents.h"
#include "support/testmain.h"

namespace {

// Three sentences, the second ended by a line break rather than a stop.
const QString words = QStringLiteral("台車と板。左にA、右にB\n電圧は12ボルト。");

QAccessibleInterface *faceOf(QWidget *widget)
{
    return QAccessible::queryAccessibleInterface(widget);
}

} // namespace

// A figure as a screen reader reads it: an image described from the start,
// its words stepped through by sentence, and every change told.
class FigureLabelTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_window = new QWidget;
        m_other = new QWidget(m_window);
        m_other->setFocusPolicy(Qt::StrongFocus);
        m_figure = new FigureLabel(QStringLiteral("図４"), words, m_window);
        m_figure->setFocusPolicy(Qt::StrongFocus);
        m_window->show();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window));
    }

    void cleanup()
    {
        delete m_window;
        m_window = nullptr;
    }

    void boundaries_readSentencesAsLines_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("ask"); // 0 at, -1 before, 1 after
        QTest::addColumn<QString>("piece");
        QTest::addColumn<int>("start");
        const int line = QAccessible::LineBoundary;
        const int sentence = QAccessible::SentenceBoundary;
        const int character = QAccessible::CharBoundary;
        QTest::newRow("line at the start is the first sentence") << 0 << line << 0 << QStringLiteral("台車と板。") << 0;
        QTest::newRow("line inside the second sentence") << 7 << line << 0 << QStringLiteral("左にA、右にB\n") << 5;
        QTest::newRow("line after the first") << 0 << line << 1 << QStringLiteral("左にA、右にB\n") << 5;
        QTest::newRow("line before the last") << 15 << line << -1 << QStringLiteral("左にA、右にB\n") << 5;
        QTest::newRow("nothing before the first") << 2 << line << -1 << QString() << 0;
        QTest::newRow("nothing after the last") << 15 << line << 1 << QString() << int(words.size());
        QTest::newRow("the end is the last sentence")
            << -1 << sentence << 0 << QStringLiteral("電圧は12ボルト。") << 13;
        QTest::newRow("the caret's line") << -2 << line << 0 << QStringLiteral("台車と板。") << 0;
        QTest::newRow("a character") << 6 << character << 0 << QStringLiteral("に") << 6;
        QTest::newRow("outside the words") << 99 << line << 0 << QString() << -1;
        QTest::newRow("before the words") << -3 << sentence << 1 << QString() << -1;
    }

    void boundaries_readSentencesAsLines()
    {
        QFETCH(int, offset);
        QFETCH(int, type);
        QFETCH(int, ask);
        QFETCH(QString, piece);
        QFETCH(int, start);
        QAccessibleTextInterface *text = faceOf(m_figure)->textInterface();
        QVERIFY(text);
        QCOMPARE(text->characterCount(), int(words.size()));
        int from = -9;
        int to = -9;
        const auto boundary = QAccessible::TextBoundaryType(type);
        const QString got = ask == 0 ? text->textAtOffset(offset, boundary, &from, &to)
            : ask < 0                ? text->textBeforeOffset(offset, boundary, &from, &to)
                                     : text->textAfterOffset(offset, boundary, &from, &to);
        QCOMPARE(got, piece);
        QCOMPARE(from, start);
        QCOMPARE(to - from, start < 0 ? 0 : int(piece.size()));
    }

    void keys_moveTheCaretAndTellTheReader_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<int>("to");
        const int ctrl = Qt::ControlModifier;
        QTest::newRow("Down to the next sentence") << 0 << QList<int>{Qt::Key_Down} << 5;
        QTest::newRow("Down from inside a sentence") << 7 << QList<int>{Qt::Key_Down} << 13;
        QTest::newRow("Down stays on the last") << 14 << QList<int>{Qt::Key_Down} << 14;
        QTest::newRow("Up to the previous sentence") << 14 << QList<int>{Qt::Key_Up} << 5;
        QTest::newRow("Up twice to the first") << 14 << QList<int>{Qt::Key_Up, Qt::Key_Up} << 0;
        QTest::newRow("Up stays on the first") << 3 << QList<int>{Qt::Key_Up} << 0;
        QTest::newRow("Right a character") << 0 << QList<int>{Qt::Key_Right} << 1;
        QTest::newRow("Left at the start") << 0 << QList<int>{Qt::Key_Left} << 0;
        QTest::newRow("Home of the sentence") << 9 << QList<int>{Qt::Key_Home} << 5;
        QTest::newRow("End of the sentence") << 5 << QList<int>{Qt::Key_End} << 12;
        QTest::newRow("Ctrl+End") << 0 << QList<int>{ctrl | Qt::Key_End} << int(words.size());
        QTest::newRow("Ctrl+Home") << 9 << QList<int>{ctrl | Qt::Key_Home} << 0;
        const int pad = Qt::KeypadModifier; // keypad End and Home, Num Lock off
        QTest::newRow("keypad Ctrl+End") << 0 << QList<int>{ctrl | pad | Qt::Key_End} << int(words.size());
        QTest::newRow("keypad Ctrl+Home") << 9 << QList<int>{ctrl | pad | Qt::Key_Home} << 0;
    }

    void keys_moveTheCaretAndTellTheReader()
    {
        QFETCH(int, from);
        QFETCH(QList<int>, keys);
        QFETCH(int, to);
        m_figure->setCaret(from);
        const HeardEvents heard;
        for (int key : keys)
            QTest::keyClick(m_figure, Qt::Key(key & ~Qt::KeyboardModifierMask),
                            Qt::KeyboardModifiers(key & Qt::KeyboardModifierMask));
        QCOMPARE(m_figure->caret(), to);
        QCOMPARE(faceOf(m_figure)->textInterface()->cursorPosition(), to);
        const QList<HeardEvents::Event> moves = heard.of(m_figure, QAccessible::TextCaretMoved);
        if (to == from) {
            QVERIFY(moves.isEmpty());
        } else {
            QVERIFY(!moves.isEmpty());
            QCOMPARE(moves.last().caret, to);
        }
    }

    void changes_keepTheImageAndAreTold_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("description");
        QTest::addColumn<int>("told");  // the event a reader must get, or -1 for none
        QTest::addColumn<int>("caret"); // from the last sentence's start, 13
        const int described = QAccessible::DescriptionChanged;
        QTest::newRow("as built") << "" << words << -1 << 13;
        QTest::newRow("picture drawn") << "picture" << words << -1 << 13;
        QTest::newRow("focus by Tab") << "tab" << words << -1 << 0;
        QTest::newRow("focus back with the window") << "window" << FigureLabel::hint() << described << 13;
        QTest::newRow("focus back from a menu") << "popup" << FigureLabel::hint() << described << 13;
        QTest::newRow("Tab after the window came back") << "window,tab" << words << described << 0;
        QTest::newRow("renamed") << "rename" << words << int(QAccessible::NameChanged) << 13;
    }

    // A reader keeps the role and words it first met until it is told; words
    // heard whole are read on from their start.
    void changes_keepTheImageAndAreTold()
    {
        QFETCH(QString, change);
        QFETCH(QString, description);
        QFETCH(int, told);
        QFETCH(int, caret);
        m_figure->setCaret(13);
        QAccessibleInterface *face = faceOf(m_figure);
        QCOMPARE(face->role(), QAccessible::Graphic);
        const HeardEvents heard;
        for (const QString &step : change.split(u',', Qt::SkipEmptyParts)) {
            if (step == QLatin1String("picture")) {
                QPixmap picture(40, 30);
                picture.fill(Qt::blue);
                m_figure->setPixmap(picture);
            } else if (step == QLatin1String("rename")) {
                m_figure->setAccessibleName(QStringLiteral("図５"));
            } else {
                m_other->setFocus(Qt::OtherFocusReason);
                const Qt::FocusReason reason = step == QLatin1String("tab") ? Qt::TabFocusReason
                    : step == QLatin1String("window")                       ? Qt::ActiveWindowFocusReason
                                                                            : Qt::PopupFocusReason;
                m_figure->setFocus(reason);
            }
        }
        QCOMPARE(face->role(), QAccessible::Graphic);
        QCOMPARE(face->text(QAccessible::Description), description);
        QCOMPARE(face->textInterface()->text(0, int(words.size())), words);
        if (told >= 0)
            QVERIFY(!heard.of(m_figure, QAccessible::Event(told)).isEmpty());
        QCOMPARE(face->textInterface()->cursorPosition(), caret);
    }

private:
    QWidget *m_window = nullptr;
    QWidget *m_other = nullptr;
    FigureLabel *m_figure = nullptr;
};

VARDO_TEST_MAIN(FigureLabelTest)
#include "figurelabel_test.moc"
