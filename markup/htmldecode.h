#pragma once

#include <QByteArray>
#include <QString>

namespace htmldecode {

// Decodes an HTML file as its author meant it: a byte-order mark wins; then
// UTF-16 without a mark, told by its zero bytes; then a declared charset Qt
// knows, as long as the bytes are valid for it (a UTF-16 or UTF-32
// declaration read in a file without a mark cannot be true, and is passed
// over as browsers do); then UTF-8 when the bytes are valid UTF-8; otherwise
// Shift-JIS (code page 932), the encoding of documents written on Japanese
// Windows. Never fails: bytes that fit no encoding come out as replacement
// characters. `cut` says the bytes are the front of a longer file, so a
// character split at the end is dropped rather than taken as a sign of the
// wrong encoding.
QString decode(const QByteArray &bytes, bool cut = false);

} // namespace htmldecode
