#pragma once

#include <QByteArray>
#include <QString>

namespace htmldecode {

// The charset a document declares in a <meta charset> or an http-equiv
// Content-Type near its top, lower-cased; empty when it declares none.
QByteArray declaredCharset(const QByteArray &bytes);

// Decodes an HTML file as its author meant it: a byte-order mark wins; then a
// declared charset Qt knows, as long as the bytes are valid for it; then
// UTF-8 when the bytes are valid UTF-8; otherwise Shift-JIS (code page 932),
// the encoding of documents written on Japanese Windows. Never fails: bytes
// that fit no encoding come out as replacement characters. `cut` says the
// bytes are the front of a longer file, so a character split at the end is
// dropped rather than taken as a sign of the wrong encoding.
QString decode(const QByteArray &bytes, bool cut = false);

} // namespace htmldecode
