#include "reading/spokenreading.h"

#include "speech/codepoints.h"

#include <QTextDocument>
#include <QVariant>

namespace {

const char keptProperty[] = "spokenReading";

} // namespace

qsizetype signsAtTheEnd(QStringView text)
{
    for (qsizetype i = text.size(); i > 0; --i) {
        const char32_t c = codepoints::before(text, i).value;
        if (!QChar::isSpace(c) && (QChar::isLetterOrNumber(c) || QChar::isMark(c)))
            return i;
    }
    return 0;
}

SpokenReading::SpokenReading(const QTextDocument &document)
    : m_spoken(document)
    , m_boundaries(m_spoken.text(), m_spoken.wordRanges())
    , m_signsFrom(signsAtTheEnd(m_spoken.text()))
    , m_revision(document.revision())
{}

bool SpokenReading::isFor(const QTextDocument &document) const
{
    return m_revision == document.revision() && m_spoken.documentLength() == document.characterCount() - 1;
}

std::shared_ptr<const SpokenReading> SpokenReading::prepare(QTextDocument &document)
{
    const std::shared_ptr<const SpokenReading> reading = std::make_shared<SpokenReading>(document);
    document.setProperty(keptProperty, QVariant::fromValue(reading));
    return reading;
}

std::shared_ptr<const SpokenReading> SpokenReading::kept(const QTextDocument &document)
{
    auto reading = document.property(keptProperty).value<std::shared_ptr<const SpokenReading>>();
    return reading && reading->isFor(document) ? reading : nullptr;
}

std::shared_ptr<const SpokenReading> SpokenReading::of(QTextDocument &document)
{
    if (auto reading = kept(document))
        return reading;
    return prepare(document);
}

void SpokenReading::keepAfterFormatEdit(QTextDocument &document, const SpokenReading &before)
{
    auto reading = std::make_shared<SpokenReading>(before);
    reading->m_revision = document.revision();
    document.setProperty(keptProperty, QVariant::fromValue(std::shared_ptr<const SpokenReading>(reading)));
}
