#include "speech/spokentables.h"
#include "speech/spokenwords.h"

#include <QTest>

// Signs a synthesizer drops, units it spells, fractions it misreads, in
// plain text: what the pane, the figures and the verdicts are read with.
class SpokenWordsTest : public QObject
{
    Q_OBJECT

private slots:
    // clang-format off
    void readsSignsAndUnitsInWords_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("spoken");
        QTest::newRow("minus sign") << "−20 V" << "マイナス20 ボルト";
        QTest::newRow("equals and fractions") << "T = t/10, 1/16, 1/√10, a ≒ b, 19.6 / 9.8"
            << "T イコール 10ぶんのt, 16ぶんの1, ルート10ぶんの1, a ニアリーイコール b, "
               "19.6 わる 9.8";
        // A stretch read in words at its longest, and one past it read as written.
        const QString one = QString(32, u'1'), two = QString(31, u'2');
        QTest::newRow("the longest fraction in words") << one + "/" + two << two + "ぶんの" + one;
        QTest::newRow("a longer fraction as written") << one + "1/" + two << one + "1/" + two;
        QTest::newRow("dates are no fractions") << "2000/06/26、(98/06/24 )、2/3"
                                                << "2000/06/26、(98/06/24 )、3ぶんの2";
        QTest::newRow("primes and infinity") << "x′ と x″、n → ∞" << "xダッシュ と xツーダッシュ、n から 無限大";
        QTest::newRow("arrows") << "A→B と C → D" << "AからB と C から D";
        QTest::newRow("every minus") << "① －3.6 ② -4.0 (-2) a - b +8 ± 1"
            << "1、 マイナス3.6 2、 マイナス4.0 (マイナス2) a マイナス b プラス8 プラスマイナス 1";
        QTest::newRow("hyphens that are no minus") << "2A-問1 と 1-問1-1、x-y" << "2A-問1 と 1-問1-1、x-y";
        QTest::newRow("variables stay letters") << "力 N と電圧 V、比 T/N、2m、3T、m = 150 g、約何 N/m か"
                                                << "力 N と電圧 V、比 NぶんのT、2m、3T、m イコール 150 グラム、"
                                                   "約何 ニュートン毎メートル か";
        QTest::newRow("other spellings") << "50 µF, 2 Ω, 9.8 m/s², 3 m³, 30°"
                                         << "50 マイクロファラド, 2 オーム, 9.8 メートル毎秒毎秒, 3 立方メートル, 30度";
        QTest::newRow("dashes and bars") << "1-問1-1 — 正解 ③、国 ― 国語" << "1-問1-1 、 正解 ③、国 、 国語";
        QTest::newRow("a choice's number before a number, after a mark")
            << "値、⑤ 154 J は、値。② 72 J、値、④ −0.4、④ と ⑥、道すじ③。"
            << "値、5、 154 ジュール は、値。2、 72 ジュール、値、4、 マイナス0.4、④ と ⑥、道すじ③。";
        QTest::newRow("a heading's star") << "★はじめに" << " はじめに";
        QTest::newRow("units named as units") << "g の単位のまま、J の単位、x の単位、2J の単位、ΔJ の単位"
                                              << "グラム の単位のまま、ジュール の単位、x の単位、2J の単位、ΔJ の単位";
        // A unit named without a number, where the words around say it is one.
        QTest::newRow("units after 単位は, to the clause's end")
            << "2.0（単位は V/mA = kΩ）で、V は、単位はJ。単位は m/s² と秒、x の単位は N/m (T)"
            << "2.0（単位は ボルト毎ミリアンペア イコール キロオーム）で、V は、単位はジュール。"
               "単位は メートル毎秒毎秒 と秒、x の単位は ニュートン毎メートル (T)";
        QTest::newRow("a unit in brackets after its quantity or a variable")
            << "重さ（N）と、張力(N)、電圧（V）、電力（kW）、長さ（cm）、x（m）、λ（nm）、v（m/s）"
            << "重さ（ニュートン）と、張力(ニュートン)、電圧（ボルト）、電力（キロワット）、長さ（センチメートル）、"
               "x（メートル）、λ（ナノメートル）、v（メートル毎秒）";
        QTest::newRow("a unit converted to") << "質量を kg に直して、mm を m に直さず、x を cm に直す"
                                             << "質量を キログラム に直して、ミリメートル を メートル に直さず、"
                                                "x を センチメートル に直す";
        // Labels and variables in brackets or before a particle stay letters.
        QTest::newRow("labels and variables stay letters")
            << "点（A）、（A）、A（C）、f(s)、質量（m）、力（F）、長さ（L）、周期（T）、T（上向き）、"
               "（W は仕事関数）、（n = 3）、A（14 点）、m の値から、mm の値、x（m）の2"
            << "点（A）、（A）、A（C）、f(s)、質量（m）、力（F）、長さ（L）、周期（T）、T（上向き）、"
               "（W は仕事関数）、（n イコール 3）、A（14 点）、m の値から、mm の値、x（メートル）の2";
        QTest::newRow("middle dots trailing off") << "天才です・・・ バレなければ、国語Ⅰ・Ⅱ、6.6 J・s"
                                                  << "天才です、 バレなければ、国語Ⅰ・Ⅱ、6.6 ジュール秒";
    }
    // clang-format on

    // Each stretch is found once, in order, none inside another.
    void readsSignsAndUnitsInWords()
    {
        QFETCH(QString, text);
        QFETCH(QString, spoken);
        QCOMPARE(spokenwords::spoken(text), spoken);
        int done = 0;
        for (const spokenwords::Replacement &r : spokenwords::find(text)) {
            QVERIFY(r.position >= done);
            done = r.position + r.length;
        }
    }

    // Every row of the tables, heard where the paper writes it, says its own
    // words; and the words agree with one another, so a wrong or swapped word
    // in one row shows against the rows it is made of.
    void everyTableRowIsHeardAsWritten()
    {
        QHash<QString, QString> nameOf;
        for (const spokentables::Unit &unit : spokentables::units())
            nameOf.insert(QString::fromUtf8(unit.symbol), QString::fromUtf8(unit.name));
        const QList<std::pair<QString, QString>> prefixes = {{"k", "キロ"},     {"M", "メガ"},  {"m", "ミリ"},
                                                             {"μ", "マイクロ"}, {"n", "ナノ"},  {"p", "ピコ"},
                                                             {"c", "センチ"},   {"h", "ヘクト"}};
        for (auto [symbol, name] : nameOf.asKeyValueRange()) {
            QCOMPARE(spokenwords::spoken("2 " + symbol + "、"), "2 " + name + "、");
            for (const auto &[prefix, word] : prefixes)
                if (symbol.size() > prefix.size() && symbol.startsWith(prefix)
                    && nameOf.contains(symbol.mid(prefix.size())))
                    QCOMPARE(name, word + nameOf.value(symbol.mid(prefix.size())));
        }
        const QStringList named = nameOf.values();
        for (const spokentables::Quantity &quantity : spokentables::quantities()) {
            const QStringList read = QString::fromUtf8(quantity.units).split(' ');
            // A rate is written with slashes (m/s, m/s²) and read with 毎.
            const QStringList parts = read.first().split("毎");
            QString symbol = nameOf.key(parts.first());
            if (parts.size() > 1)
                symbol += "/" + nameOf.key(parts.at(1)) + (parts.size() > 2 ? "²" : "");
            QCOMPARE(spokenwords::spoken(QString::fromUtf16(quantity.word) + "（" + symbol + "）"),
                     QString::fromUtf16(quantity.word) + "（" + read.first() + "）");
            for (const QString &word : read)
                for (const QString &part : word.split("毎"))
                    QVERIFY2(named.contains(part), qPrintable(word));
        }
        QHash<QString, QString> wordsOf;
        for (const spokentables::Sign &row : spokentables::signs()) {
            const QString sign = QString::fromUtf16(row.sign), words = QString::fromUtf8(row.words);
            QVERIFY2(spokenwords::spoken("a " + sign + " b").contains(words.trimmed()), qPrintable(sign));
            // A full-width sign is read as its half-width twin.
            const QString plain = sign.normalized(QString::NormalizationForm_KC);
            QVERIFY2(wordsOf.value(plain, words) == words, qPrintable(sign));
            wordsOf.insert(plain, words);
        }
    }
};

QTEST_GUILESS_MAIN(SpokenWordsTest)
#include "spokenwords_test.moc"
