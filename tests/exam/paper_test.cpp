#include "exam/answerkey.h"
#include "exam/examlayout.h"
#include "document/documentview.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

// The shipped paper and its answer notes must agree with the answer pages
// and the built-in key, or a candidate is marked against other questions.
class PaperTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void paper_asksWhatEachAnswerPageAndTheKeyHold();
    void answers_correctChoicesMatchTheKey_data();
    void answers_correctChoicesMatchTheKey();
    void paper_carriesTheCueLink();
    void paperAndWorking_openEachOtherInThePane();

private:
    struct Question
    {
        QString caption;
        int points = 0;
        QStringList choiceDigits;
    };
    QString m_paper;
    QList<Question> m_questions;
};

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return file.readAll();
}

// The pages as written, without the marks that keep a label or a quantity
// on one line.
QString unmarked(QString page)
{
    return page.remove(QStringLiteral("&#x2060;")).replace(QStringLiteral("&nbsp;"), QStringLiteral(" "));
}

int digitOf(const QString &circled)
{
    return circled.at(0).unicode() - QChar(u'①').unicode() + 1;
}

} // namespace

void PaperTest::initTestCase()
{
    QStringDecoder cp932("windows-31j");
    QVERIFY(cp932.isValid());
    m_paper = unmarked(cp932(readFile(QStringLiteral(VARDO_SOURCE_DIR "/assets/00Vardo.tx"))));
    QVERIFY(!cp932.hasError());
    QVERIFY(m_paper.contains(QStringLiteral("charset=Shift_JIS")));

    const QRegularExpression heading(QStringLiteral("<h3>(\\S+)（(\\d)点）</h3>"));
    const QRegularExpression choice(QStringLiteral("^(?:<p>)?([①-⑧])"), QRegularExpression::MultilineOption);
    const QStringList parts = m_paper.split(QStringLiteral("<h3>")).mid(1);
    for (const QString &part : parts) {
        const auto match = heading.match(QStringLiteral("<h3>") + part);
        QVERIFY2(match.hasMatch(), qPrintable(part.left(40)));
        Question question{match.captured(1), match.captured(2).toInt(), {}};
        const QString body = part.section(QStringLiteral("<h2>"), 0, 0);
        for (auto it = choice.globalMatch(body); it.hasNext();)
            question.choiceDigits.append(it.next().captured(1));
        m_questions.append(question);
    }
}

// One question per answer page, in order, with as many choices as the page
// has boxes and the points the key gives.
void PaperTest::paper_asksWhatEachAnswerPageAndTheKeyHold()
{
    QCOMPARE(m_questions.size(), groupCount);
    for (int i = 0; i < groupCount; ++i) {
        const Question &question = m_questions[i];
        QCOMPARE(question.caption, QString::fromUtf8(examlayout::answerPages[i].caption));
        QCOMPARE(question.points, AnswerKey[i].points);
        QCOMPARE(question.choiceDigits.size(), examlayout::answerPages[i].choices);
        for (int k = 0; k < question.choiceDigits.size(); ++k)
            QCOMPARE(digitOf(question.choiceDigits[k]), k + 1);
    }
}

// The notes in the source tree and the working installed beside the paper.
void PaperTest::answers_correctChoicesMatchTheKey_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("heading");
    QTest::newRow("notes") << QStringLiteral(VARDO_SOURCE_DIR "/docs/answers.md") << QStringLiteral("^## ");
    QTest::newRow("working") << QStringLiteral(VARDO_SOURCE_DIR "/assets/00Vardo-answers.html")
                             << QStringLiteral("^<h3>");
}

void PaperTest::answers_correctChoicesMatchTheKey()
{
    QFETCH(QString, path);
    QFETCH(QString, heading);
    const QString notes = unmarked(QString::fromUtf8(readFile(path)));
    const QRegularExpression entry(heading + QStringLiteral("(\\S+) — 正解 ([①-⑧])（(\\d)点）"),
                                   QRegularExpression::MultilineOption);
    int i = 0;
    for (auto it = entry.globalMatch(notes); it.hasNext(); ++i) {
        const auto match = it.next();
        QVERIFY(i < groupCount);
        QCOMPARE(match.captured(1), QString::fromUtf8(examlayout::answerPages[i].caption));
        QCOMPARE(digitOf(match.captured(2)), AnswerKey[i].correctChoice);
        QCOMPARE(match.captured(3).toInt(), AnswerKey[i].points);
    }
    QCOMPARE(i, groupCount);
}

void PaperTest::paper_carriesTheCueLink()
{
    QVERIFY(m_paper.contains(QStringLiteral("<a href=\"event:cue?1\">")));
}

// The paper's last link opens the working in the pane, and the working's
// link brings the paper back: both lie in one folder, as installed.
void PaperTest::paperAndWorking_openEachOtherInThePane()
{
    // Clicks the link shown as `caption`, as the pane would on a real click.
    const auto follow = [](DocumentView &view, const QString &caption) {
        QTextCursor found = view.document()->find(caption);
        if (found.isNull())
            return false;
        found.setPosition(found.selectionStart() + 1);
        const QString href = found.charFormat().anchorHref();
        if (href.isEmpty())
            return false;
        emit view.anchorClicked(QUrl(href));
        return true;
    };
    DocumentView view;
    QVERIFY(view.openFile(QStringLiteral(VARDO_SOURCE_DIR "/assets/00Vardo.tx")));
    const QString paperTitle = view.documentTitle();
    QVERIFY(follow(view, QStringLiteral("解答と解説（試験が終わってから）")));
    QTRY_VERIFY(view.state() == DocumentView::State::Showing); // a page loads as the paper did
    QVERIFY(view.documentTitle().contains(QStringLiteral("解答と解説")));
    QVERIFY(view.toPlainText().remove(QChar(0x2060)).contains(QStringLiteral("5-問5 — 正解")));
    QVERIFY(follow(view, QStringLiteral("問題にもどる")));
    QTRY_VERIFY(view.state() == DocumentView::State::Showing);
    QCOMPARE(view.documentTitle(), paperTitle);
    QVERIFY(view.toPlainText().remove(QChar(0x2060)).contains(QStringLiteral("1-問1-1")));
}

QTEST_MAIN(PaperTest)
#include "paper_test.moc"
