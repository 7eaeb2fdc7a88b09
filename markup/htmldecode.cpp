#include "markup/htmldecode.h"

#include <QStringDecoder>

#include <optional>

namespace htmldecode {

namespace {

// Shift-JIS as Windows writes it: ICU's converter behind this name maps
// the NEC extensions too (0x87 0x40.. gives the circled digits).
const char *const windowsJapanese = "Shift_JIS";

// The bytes Qt looks through for a <meta> charset.
constexpr qsizetype declarationBytes = 1024;

std::optional<QString> decodeStrictly(QStringDecoder &&decoder, const QByteArray &bytes)
{
    if (!decoder.isValid())
        return std::nullopt;
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

// Markup is mostly ASCII, so UTF-16 markup has a zero in every other byte:
// in the high byte of each unit, at odd offsets for little-endian. Japanese
// text puts a few zeros at the other offsets too (U+3000, U+4E00).
std::optional<QStringConverter::Encoding> unmarkedUtf16(const QByteArray &bytes)
{
    // The document's first bytes tell: its head is markup.
    constexpr qsizetype sampleBytes = 4096;
    const qsizetype units = qMin(bytes.size(), sampleBytes) / 2;
    qsizetype zeros[2] = {0, 0};
    for (qsizetype i = 0; i < units * 2; ++i)
        zeros[i % 2] += bytes[i] == '\0';
    for (int high : {0, 1}) {
        if (units > 0 && zeros[high] * 8 >= units && zeros[1 - high] * 4 <= zeros[high])
            return high ? QStringConverter::Utf16LE : QStringConverter::Utf16BE;
    }
    return std::nullopt;
}

// The charset the document declares, when Qt knows it and it can be true.
QByteArray declaredCharset(const QByteArray &bytes)
{
    // Without a declaration Qt answers UTF-8, which must not count as one.
    if (!bytes.left(declarationBytes).toLower().contains("charset="))
        return QByteArray();
    const QStringDecoder declared = QStringDecoder::decoderForHtml(bytes);
    if (!declared.isValid())
        return QByteArray();
    const QByteArray name = QByteArray(declared.name()).toUpper();
    if (name.startsWith("UTF-16") || name.startsWith("UTF-32"))
        return QByteArray();
    return name;
}

} // namespace

QString decode(const QByteArray &bytes, bool cut)
{
    // A stateful decoder holds back an unfinished character instead of
    // failing on it; nothing ever completes it, so it is dropped.
    const auto flags = cut ? QStringConverter::Flag::Default : QStringConverter::Flag::Stateless;

    // Qt's decoders drop the mark itself.
    if (const auto bom = QStringConverter::encodingForData(bytes))
        return QStringDecoder(*bom, flags).decode(bytes);
    if (const auto utf16 = unmarkedUtf16(bytes)) {
        if (auto text = decodeStrictly(QStringDecoder(*utf16, flags), bytes))
            return *text;
    }

    const QByteArray declared = declaredCharset(bytes);
    if (!declared.isEmpty()) {
        if (auto text = decodeStrictly(QStringDecoder(declared.constData(), flags), bytes))
            return *text;
    }
    if (auto text = decodeStrictly(QStringDecoder(QStringConverter::Utf8, flags), bytes))
        return *text;
    if (auto text = decodeStrictly(QStringDecoder(windowsJapanese, flags), bytes))
        return *text;

    // Fits nothing: keep what can be read in the most likely encoding.
    return QStringDecoder(declared.isEmpty() ? windowsJapanese : declared.constData(),
                          QStringConverter::Flag::Stateless)
        .decode(bytes);
}

} // namespace htmldecode
