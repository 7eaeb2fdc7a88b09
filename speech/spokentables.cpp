#include "speech/spokentables.h"

namespace spokentables {

namespace {

// The units of a physics paper, by symbol. A length raised to 2 or 3 is an
// area or a volume (平方メートル); anything else raised is 「の2乗」.
constexpr Unit unitTable[] = {
    {"m", "メートル", true},
    {"cm", "センチメートル", true},
    {"mm", "ミリメートル", true},
    {"km", "キロメートル", true},
    {"μm", "マイクロメートル", true},
    {"nm", "ナノメートル", true},
    {"s", "秒", false},
    {"ms", "ミリ秒", false},
    {"min", "分", false},
    {"h", "時間", false},
    {"kg", "キログラム", false},
    {"g", "グラム", false},
    {"N", "ニュートン", false},
    {"J", "ジュール", false},
    {"kJ", "キロジュール", false},
    {"eV", "電子ボルト", false},
    {"W", "ワット", false},
    {"kW", "キロワット", false},
    {"Pa", "パスカル", false},
    {"hPa", "ヘクトパスカル", false},
    {"V", "ボルト", false},
    {"kV", "キロボルト", false},
    {"mV", "ミリボルト", false},
    {"A", "アンペア", false},
    {"mA", "ミリアンペア", false},
    {"μA", "マイクロアンペア", false},
    {"C", "クーロン", false},
    {"K", "ケルビン", false},
    {"mol", "モル", false},
    {"Hz", "ヘルツ", false},
    {"kHz", "キロヘルツ", false},
    {"MHz", "メガヘルツ", false},
    {"T", "テスラ", false},
    {"Wb", "ウェーバ", false},
    {"H", "ヘンリー", false},
    {"F", "ファラド", false},
    {"μF", "マイクロファラド", false},
    {"pF", "ピコファラド", false},
    {"Ω", "オーム", false},
    {"kΩ", "キロオーム", false},
    {"MΩ", "メガオーム", false},
    {"L", "リットル", false},
    {"rad", "ラジアン", false},
    {"℃", "セルシウス度", false},
    {"°C", "セルシウス度", false},
    {"°", "度", false},
    {"u", "原子質量単位", false},
    {"keV", "キロ電子ボルト", false},
    {"MeV", "メガ電子ボルト", false},
    {"KB", "キロバイト", false},
};

// Quantities that name their unit in brackets after them, 重さ（N）, and the
// units each is measured in, as read. A variable in such brackets is no unit
// of its quantity (質量（m）, 力（F）, 長さ（L）) and stays a letter; a longer
// word wins (電力 over 力).
constexpr Quantity quantityTable[] = {
    {u"重さ", "ニュートン"},
    {u"力", "ニュートン"},
    {u"質量", "キログラム グラム"},
    {u"長さ", "メートル センチメートル ミリメートル キロメートル"},
    {u"距離", "メートル センチメートル ミリメートル キロメートル"},
    {u"高さ", "メートル センチメートル ミリメートル キロメートル"},
    {u"波長", "メートル センチメートル ミリメートル マイクロメートル ナノメートル"},
    {u"時間", "秒 ミリ秒 分 時間"},
    {u"周期", "秒 ミリ秒"},
    {u"速さ", "メートル毎秒 キロメートル毎時間"},
    {u"速度", "メートル毎秒 キロメートル毎時間"},
    {u"加速度", "メートル毎秒毎秒"},
    {u"電圧", "ボルト キロボルト ミリボルト"},
    {u"電流", "アンペア ミリアンペア マイクロアンペア"},
    {u"抵抗", "オーム キロオーム メガオーム"},
    {u"温度", "ケルビン セルシウス度"},
    {u"振動数", "ヘルツ キロヘルツ メガヘルツ"},
    {u"エネルギー", "ジュール キロジュール 電子ボルト キロ電子ボルト メガ電子ボルト"},
    {u"仕事", "ジュール キロジュール"},
    {u"熱量", "ジュール キロジュール"},
    {u"電気量", "クーロン"},
    {u"電荷", "クーロン"},
    {u"電気容量", "ファラド マイクロファラド ピコファラド"},
    {u"圧力", "パスカル ヘクトパスカル"},
    {u"電力", "ワット キロワット"},
    {u"磁束密度", "テスラ"},
};

// Signs a synthesizer drops or names oddly, read as a Japanese reader says
// them. An ASCII "-" is a minus only where it stands as one (minusAt()).
constexpr Sign signTable[] = {
    {u"＞", "大なり"},
    {u">", "大なり"},
    {u"＜", "小なり"},
    {u"<", "小なり"},
    {u"≧", "大なりイコール"},
    {u"≥", "大なりイコール"},
    {u"⩾", "大なりイコール"},
    {u"≦", "小なりイコール"},
    {u"≤", "小なりイコール"},
    {u"⩽", "小なりイコール"},
    {u"＝", "イコール"},
    {u"=", "イコール"},
    {u"≠", "ノットイコール"},
    {u"≒", "ニアリーイコール"},
    {u"≈", "ニアリーイコール"},
    {u"＋", "プラス"},
    {u"+", "プラス"},
    {u"±", "プラスマイナス"},
    {u"−", "マイナス"},
    {u"－", "マイナス"},
    {u"×", "かける"},
    {u"÷", "わる"},
    {u"→", "から"},
    {u"√", "ルート"},
    {u"∞", "無限大"},
    {u"′", "ダッシュ"},
    {u"″", "ツーダッシュ"},
    {u"/", "わる"},
    // A dash or bar between two parts is a pause; a wave dash a range.
    {u"—", "、"},
    {u"―", "、"},
    {u"〜", "から"},
    {u"～", "から"},
    {u"…", "など"},
    // Middle dots trailing off, as a sentence does, are a pause too; one
    // alone joins (J・s, 国語Ⅰ・Ⅱ) and is read as it is.
    {u"・・・", "、"},
    // A subscript written inline (V_C, fₙ) is read as <sub> is, after its letter.
    {u"_", " "},
    {u"ₙ", "n"},
    // ⟨v²⟩ is the mean of v², heard after it as in speech.
    {u"⟨", "（"},
    {u"⟩", "）の平均"},
    // A heading's mark says nothing its heading does not.
    {u"★", " "},
    {u"\xfffc", "（画像）"},
};

} // namespace

std::span<const Unit> units()
{
    return unitTable;
}

std::span<const Quantity> quantities()
{
    return quantityTable;
}

std::span<const Sign> signs()
{
    return signTable;
}

} // namespace spokentables
