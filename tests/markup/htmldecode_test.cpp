#include "markup/htmldecode.h"

#include <QStringEncoder>
#include <QTest>

namespace {

const QString paper = QStringLiteral("問題 ①②③⑧ あいう");

QByteArray encoded(const char *encoding, const QString &text)
{
    QStringEncoder encoder(encoding);
    return encoder.encode(text);
}

QByteArray sjis(const QString &text)
{
    return encoded("Shift_JIS", text);
}
QByteArray utf8(const QString &text)
{
    return text.toUtf8();
}

QString page(const QString &head)
{
    return QStringLiteral("<html><head>%1</head><body><p>%2</p></body></html>").arg(head, paper);
}

const QString sjisDeclared =
    QStringLiteral(R"(<meta http-equiv="Content-Type" content="text/html; charset=Shift_JIS">)");
const QString utf8Declared = QStringLiteral(R"(<meta charset="utf-8">)");

} // namespace

class HtmlDecodeTest : public QObject
{
    Q_OBJECT

private slots:
    void decode_followsTheDocument_data();
    void decode_followsTheDocument();
    void decode_cutFile_dropsOnlyTheSplitCharacter();
    void decode_badInput_givesText_data();
    void decode_badInput_givesText();
};

void HtmlDecodeTest::decode_followsTheDocument_data()
{
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("Shift-JIS, declared") << sjis(page(sjisDeclared));
    QTest::newRow("Shift-JIS, declared as windows-31j") << sjis(page(QStringLiteral("<meta charset=windows-31j>")));
    QTest::newRow("Shift-JIS, undeclared") << sjis(page(QString()));
    QTest::newRow("UTF-8 with a byte-order mark") << QByteArray("\xEF\xBB\xBF") + utf8(page(QString()));
    QTest::newRow("UTF-8 with a byte-order mark over a Shift-JIS declaration")
        << QByteArray("\xEF\xBB\xBF") + utf8(page(sjisDeclared));
    QTest::newRow("UTF-8, declared by meta charset") << utf8(page(utf8Declared));
    QTest::newRow("UTF-8, declared by http-equiv")
        << utf8(page(QStringLiteral(R"(<META HTTP-EQUIV='content-type' CONTENT='text/html;charset=UTF-8'>)")));
    QTest::newRow("UTF-8, undeclared") << utf8(page(QString()));
    QTest::newRow("UTF-16 LE with a byte-order mark")
        << encoded("UTF-16LE", QChar(QChar::ByteOrderMark) + page(QString()));
    // The declaration lies: the bytes are invalid for it, so it is passed over.
    QTest::newRow("declared UTF-8, written in Shift-JIS") << sjis(page(utf8Declared));
    QTest::newRow("declared Shift-JIS, written in UTF-8") << utf8(page(sjisDeclared));
    QTest::newRow("unknown charset, Shift-JIS") << sjis(page(QStringLiteral("<meta charset=\"x-no-such-thing\">")));
    QTest::newRow("unknown charset, UTF-8") << utf8(page(QStringLiteral("<meta charset=\"x-no-such-thing\">")));
    QTest::newRow("declared UTF-16 but written in UTF-8") << utf8(page(QStringLiteral("<meta charset=utf-16>")));
    // A UTF-16 declaration that can be read byte by byte is untrue.
    // Of even length, so that nothing stops it from decoding as UTF-16.
    QByteArray ucs2 = utf8(page(QStringLiteral("<meta charset=\"ucs-2\">")));
    QTest::newRow("declared ucs-2 but written in UTF-8") << ucs2.append(ucs2.size() % 2, ' ');
    QTest::newRow("declared UTF16BE but written in Shift-JIS")
        << sjis(page(QStringLiteral("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF16BE\">")));
    QTest::newRow("UTF-16 LE without a byte-order mark") << encoded("UTF-16LE", page(utf8Declared));
    QTest::newRow("UTF-16 BE without a byte-order mark") << encoded("UTF-16BE", page(QString()));
}

void HtmlDecodeTest::decode_followsTheDocument()
{
    QFETCH(QByteArray, bytes);
    const QString text = htmldecode::decode(bytes);
    QVERIFY2(text.contains(paper), qPrintable(text));
    QVERIFY(!text.startsWith(QChar(QChar::ByteOrderMark)));
}

void HtmlDecodeTest::decode_cutFile_dropsOnlyTheSplitCharacter()
{
    const QByteArray whole = utf8(page(utf8Declared));
    const QByteArray front = whole.left(whole.indexOf(utf8(QStringLiteral("あ"))) + 1);
    const QString text = htmldecode::decode(front, true);
    QVERIFY2(text.endsWith(QStringLiteral("⑧ ")), qPrintable(text));

    const QByteArray undeclared = sjis(page(QString()));
    const QByteArray sjisFront = undeclared.left(undeclared.indexOf(sjis(QStringLiteral("あ"))) + 1);
    QVERIFY(htmldecode::decode(sjisFront, true).endsWith(QStringLiteral("⑧ ")));
}

void HtmlDecodeTest::decode_badInput_givesText_data()
{
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("empty") << QByteArray();
    QTest::newRow("binary") << QByteArray("\x00\x01\xFF\xFE\x80\x81\xFC\xFD\x00", 9);
    QTest::newRow("invalid for every encoding, declared Shift-JIS")
        << sjis(sjisDeclared) + QByteArray("\xFF\xFF\x82\xFF\xC0\xAF", 6);
    QTest::newRow("lone Shift-JIS lead byte at the end") << sjis(paper) + QByteArray("\x82");
    QTest::newRow("declaration cut off") << QByteArray("<meta charset=\"");
}

void HtmlDecodeTest::decode_badInput_givesText()
{
    QFETCH(QByteArray, bytes);
    const QString text = htmldecode::decode(bytes);
    QVERIFY(text.size() <= bytes.size());
    if (bytes.startsWith("<meta"))
        QVERIFY(text.startsWith(QStringLiteral("<meta")));
}

QTEST_GUILESS_MAIN(HtmlDecodeTest)
#include "htmldecode_test.moc"
