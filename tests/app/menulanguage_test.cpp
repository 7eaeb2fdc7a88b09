// The context menu of the document pane is Qt's own; its words must follow
// the locale the program starts under. Each case starts the program afresh
// (menulanguage_probe) with only LANG set.
#include <QDir>
#include <QLibraryInfo>
#include <QProcess>
#include <QTest>

namespace {

// The entries of the pane's context menu, without their shortcuts.
QStringList paneMenuUnder(const QString &lang)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANGUAGE"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("LANG"), lang);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcess probe;
    probe.setProcessEnvironment(environment);
    probe.start(QStringLiteral(MENU_PROBE), {});
    if (!probe.waitForFinished(60000) || probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0)
        return {QStringLiteral("probe failed: ") + QString::fromLocal8Bit(probe.readAllStandardError())};
    QStringList entries;
    for (const QString &line : QString::fromUtf8(probe.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts))
        entries << line.section(u'\t', 0, 0);
    return entries;
}

} // namespace

class MenuLanguageTest : public QObject
{
    Q_OBJECT

private slots:
    void paneMenuFollowsLocale_data()
    {
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("Japanese") << QStringLiteral("ja_JP.UTF-8")
                                  << QStringList{QStringLiteral("コピー(&C)"),
                                                 QStringLiteral("リンクの場所をコピー(&L)"),
                                                 QStringLiteral("すべてを選択")};
        QTest::newRow("C") << QStringLiteral("C")
                           << QStringList{QStringLiteral("&Copy"), QStringLiteral("Copy &Link Location"),
                                          QStringLiteral("Select All")};
    }

    void paneMenuFollowsLocale()
    {
        QFETCH(QString, lang);
        QFETCH(QStringList, entries);
        const QDir translations(QLibraryInfo::path(QLibraryInfo::TranslationsPath));
        if (lang.startsWith(u"ja") && !translations.exists(QStringLiteral("qtbase_ja.qm")))
            QFAIL("Qt's Japanese translations are not installed (tools/setup.sh installs "
                  "qt6-translations-l10n)");
        QCOMPARE(paneMenuUnder(lang), entries);
    }
};

QTEST_GUILESS_MAIN(MenuLanguageTest)
#include "menulanguage_test.moc"
