#include "exam/appfolder.h"

#include <QTest>

class AppFolderTest : public QObject
{
    Q_OBJECT

private slots:
    void trailingSeparator_addedOnlyWhenMissing_data();
    void trailingSeparator_addedOnlyWhenMissing();
};

void AppFolderTest::trailingSeparator_addedOnlyWhenMissing_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("expected");

    const QChar back('\\');
    const QChar slash('/');
    QTest::newRow("windows folder") << QStringLiteral("C:\\Exam") << back << QStringLiteral("C:\\Exam\\");
    QTest::newRow("windows drive root") << QStringLiteral("C:\\") << back << QStringLiteral("C:\\");
    QTest::newRow("posix folder") << QStringLiteral("/opt/vardo") << slash << QStringLiteral("/opt/vardo/");
    QTest::newRow("posix root") << QStringLiteral("/") << slash << QStringLiteral("/");
}

void AppFolderTest::trailingSeparator_addedOnlyWhenMissing()
{
    QFETCH(QString, folder);
    QFETCH(QChar, separator);
    QFETCH(QString, expected);
    QCOMPARE(withTrailingSeparator(folder, separator), expected);
}

QTEST_GUILESS_MAIN(AppFolderTest)
#include "appfolder_test.moc"
