#include "app/qttranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

void installQtTranslations()
{
    auto *translator = new QTranslator(QCoreApplication::instance());
    // qt_<language>.qm gathers the catalogues of all of Qt's modules.
    if (translator->load(QLocale(), QStringLiteral("qt"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}
