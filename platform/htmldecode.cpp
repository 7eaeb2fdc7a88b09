#include "platform/htmldecode.h"

#include <QRegularExpression>
#include <QStringDecoder>

#include <optional>

namespace htmldecode {

namespace {

// Browsers look for the declaration in the first 1024 bytes; a little more
// room costs nothing and forgives a long <title> or comment before it.
constexpr qsizetype prescanBytes = 4096;

// Shift-JIS as Windows writes it: ICU's converter behind this name maps
// the NEC extensions too (0x87 0x40.. gives the circled digits).
const char *const windowsJapanese = "Shift_JIS";

std::optional<QString> decodeStrictly(QStringDecoder &&decoder, const QByteArray &bytes)
{
    if (!decoder.isValid())
        return std::nullopt;
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}


QString withoutBom(const QString &text)
{
    return text.startsWith(QChar::ByteOrderMark) ? text.mid(1) : text;
}

} // namespace

QByteArray declaredCharset(const QByteArray &bytes)
{
    // Matches both <meta charset="x"> and content="text/html; charset=x".
    static const QRegularExpression meta(
        QStringLiteral(R"(<meta\b[^>]*?\bcharset\s*=\s*["']?\s*([A-Za-z0-9._:-]+))"),
        QRegularExpression::CaseInsensitiveOption);
    const QString head = QString::fromLatin1(bytes.left(prescanBytes));
    const QRegularExpressionMatch match = meta.match(head);
    return match.hasMatch() ? match.captured(1).toLatin1().toLower() : QByteArray();
}

QString decode(const QByteArray &bytes, bool cut)
{
    // A stateful decoder holds back an unfinished character instead of
    // failing on it; nothing ever completes it, so it is dropped.
    const auto flags = cut ? QStringConverter::Flag::Default : QStringConverter::Flag::Stateless;

    if (const auto bom = QStringConverter::encodingForData(bytes)) {
        QStringDecoder decoder(*bom, flags);
        return withoutBom(decoder.decode(bytes));
    }

    // A declaration readable as ASCII cannot be in UTF-16 or UTF-32.
    QByteArray declared = declaredCharset(bytes);
    if (declared.startsWith("utf-16") || declared.startsWith("utf-32"))
        declared.clear();
    if (!declared.isEmpty()) {
        if (auto text = decodeStrictly(QStringDecoder(declared.constData(), flags), bytes))
            return *text;
    }
    if (auto text = decodeStrictly(QStringDecoder(QStringConverter::Utf8, flags), bytes))
        return *text;
    if (auto text = decodeStrictly(QStringDecoder(windowsJapanese, flags), bytes))
        return *text;

    // Fits nothing: keep what can be read in the most likely encoding.
    QStringDecoder lenient(declared.isEmpty() ? windowsJapanese : declared.constData(),
                           QStringConverter::Flag::Stateless);
    if (!lenient.isValid())
        lenient = QStringDecoder(windowsJapanese, QStringConverter::Flag::Stateless);
    return lenient.decode(bytes);
}

} // namespace htmldecode
