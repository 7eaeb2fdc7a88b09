#include "help/helpdocument.h"

#include <QStringList>

#include <algorithm>

namespace {

// Indent of `cells` monospaced cells, made of ideographic spaces.
QString indent(int cells)
{
    return QString(cells / 2, u'\u3000');
}

QStringList empty(int count)
{
    return QStringList(count, QString());
}

QStringList indented(int cells, const QStringList &lines)
{
    QStringList out;
    for (const QString &line : lines)
        out << indent(cells) + line;
    return out;
}

} // namespace

QString HelpDocument()
{
    QStringList lines;
    lines << indent(20) << indent(8) + QStringLiteral("○○○○○　ソフトの説明　○○○○○") << empty(2)
          << QStringLiteral("★はじめに") << empty(1)
          << QStringLiteral("「ミラト試験2000(Vardo)」をダウンロードしていただきまして、ありがとうございます。")
          << QStringLiteral("本ソフトは、実在のミラト試験を参考にして作ったゲームです｡")
          << QStringLiteral("できるだけ操作が簡単でファイル容量を小さくしました。")
          << QStringLiteral("[もっといい方法があると思いますが、自分の技量では限界でした（＾＾；]")
          << QStringLiteral("本ソフトが受験生の学力アップに役立つと嬉しいです。") << empty(2)
          << QStringLiteral("【ソフト名】ミラト試験2000(Vardo）") << QStringLiteral("【掲載日】  2000/06/26 大安")
          << QStringLiteral("【梱包ファイル】") << empty(1)
          << indented(16,
                      {
                          QStringLiteral("・00Vardo.tx　　　(   15KB　  00/06/21 )"),
                          QStringLiteral("・Mci32.ocx　　　（  194KB　　98/06/24 )"),
                          QStringLiteral("・Richtx32.ocx　　(  199KB　　98/06/24 )"),
                          QStringLiteral("・Tabctl32.ocx　　(  205KB　　98/06/24 )"),
                          QStringLiteral("・Vardo.exe　 　  (  804KB　　00/06/24 )"),
                          QStringLiteral("・Zarod.wav　　　 (  128KB　　00/04/02 )"),
                          QStringLiteral("・へるぷ.txt　　 （いま読んでるファイル)"),
                      })
          << empty(3) << QStringLiteral("★同梱包ファイルについて") << empty(1)
          << indented(2,
                      {
                          QStringLiteral("解凍したら*****.ocxファイルは、C:\\ドライブのWindowsフォルダ内にある"),
                          QStringLiteral("Systemフォルダに入れて下さい。（C:\\Windows\\System\\*****.ocx）"),
                          QStringLiteral("他のファイルは同じフォルダかまたは、フロッピーにコピーして下さい。"),
                          QStringLiteral("フォルダは自分で作成してください。"),
                      })
          << empty(3) << QStringLiteral("★学習手順") << empty(1)
          << indented(4,
                      {
                          QStringLiteral("１．「スタート」ボタンをクリックする。"),
                          QStringLiteral("２．問題の解答を選んでチェックボックスをクリックする。"),
                          QStringLiteral("３．制限時間がくるか、全て解答し終わったら「得点」ボタンをクリックする。"),
                      })
          << empty(1);
    return lines.join(u'\n');
}

QList<readas::Stretch> helpDecoration(const QString &text)
{
    QList<readas::Stretch> stretches;
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i) != u'○')
            continue;
        const int start = i;
        while (i + 1 < text.size() && text.at(i + 1) == u'○')
            ++i;
        stretches.append({start, i + 1 - start, QStringLiteral(" ")});
    }
    // A line of spaces alone, the top one, is heard as an empty line: a
    // reader would count its spaces aloud.
    qsizetype lineStart = 0;
    for (const QString &line : text.split(u'\n')) {
        const bool spaces = !line.isEmpty()
            && std::all_of(line.begin(), line.end(), [](QChar c) { return c == u' ' || c == u'\u3000'; });
        if (spaces)
            stretches.append({int(lineStart), int(line.size()), QString()});
        lineStart += line.size() + 1;
    }
    const QString face = QStringLiteral("＾＾；");
    for (qsizetype at = text.indexOf(face); at >= 0; at = text.indexOf(face, at + face.size()))
        stretches.append({int(at), int(face.size()), QStringLiteral("苦笑")});
    return stretches;
}
