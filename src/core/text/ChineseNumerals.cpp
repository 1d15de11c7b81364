// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text/ChineseNumerals.h"

#include <QChar>
#include <algorithm>
#include <iterator>

namespace tamsel {
namespace {

constexpr char16_t Digits[] = u"〇零一二两三四五六七八九壹贰叁肆伍陆柒捌玖";
constexpr int DigitValues[] = {0, 0, 1, 2, 2, 3, 4, 5, 6, 7, 8, 9, 1, 2, 3, 4, 5, 6, 7, 8, 9};
constexpr char16_t FinancialForms[] = u"壹贰叁肆伍陆柒捌玖拾佰仟";

// What is counted after a number in names: episodes, chapters, lessons, issues, dates, pages.
// Characters that also begin common words (夜, 人, 天, 里) stay out.
constexpr char16_t Counters[] = u"集章回话話卷期节節课課部季篇册冊讲講届屆号號年月日个個页頁张張首次"
                                u"周週层層楼樓级級班版辑輯弹彈场場轮輪幕段关關站题題岁歲";

bool contains(const char16_t* set, size_t size, char16_t c)
{
    return std::find(set, set + size - 1, c) != set + size - 1;
}

int digitOf(char16_t c)
{
    const auto* at = std::find(std::begin(Digits), std::end(Digits) - 1, c);
    return at == std::end(Digits) - 1 ? -1 : DigitValues[at - std::begin(Digits)];
}

int unitOf(char16_t c)
{
    switch (c) {
    case u'十':
    case u'拾':
        return 1;
    case u'百':
    case u'佰':
        return 2;
    case u'千':
    case u'仟':
        return 3;
    case u'万':
        return 4;
    case u'亿':
        return 8;
    default:
        return 0;
    }
}

bool isHan(QStringView text, qsizetype i)
{
    if (i < 0 || i >= text.size())
        return false;
    const QChar c = text[i];
    if (c.isSurrogate())
        return true; // the Han extensions beyond the first plane
    return QChar::script(c.unicode()) == QChar::Script_Han;
}

constexpr BigNumber BigMax = ~BigNumber(0);

BigNumber saturatingAdd(BigNumber a, BigNumber b)
{
    return a > BigMax - b ? BigMax : a + b;
}

BigNumber saturatingMulAdd(BigNumber value, BigNumber factor, BigNumber add)
{
    if (factor != 0 && value > (BigMax - add) / factor)
        return BigMax;
    return value * factor + add;
}

BigNumber powerOfTen(int n)
{
    BigNumber p = 1;
    while (n-- > 0)
        p = saturatingMulAdd(p, 10, 0);
    return p;
}

} // namespace

bool isChineseNumeral(char16_t c)
{
    return digitOf(c) >= 0 || unitOf(c) > 0;
}

qsizetype chineseNumeralRun(QStringView text, qsizetype start)
{
    qsizetype end = start;
    while (end < text.size() && isChineseNumeral(text[end].unicode()))
        ++end;
    return end - start;
}

bool chineseNumeralIsNumber(QStringView text, qsizetype start, qsizetype length)
{
    const QStringView run = text.sliced(start, length);
    // 十 alone is ten; other units alone are words.
    if (unitOf(run[0].unicode()) != 1 &&
        std::none_of(run.begin(), run.end(), [](QChar c) { return digitOf(c.unicode()) >= 0; }))
        return false;
    const qsizetype end = start + length;
    if (start > 0 && text[start - 1] == u'第')
        return true;
    if (end < text.size() && contains(Counters, std::size(Counters), text[end].unicode()))
        return true;
    if (std::any_of(run.begin(), run.end(),
                    [](QChar c) { return contains(FinancialForms, std::size(FinancialForms), c.unicode()); }))
        return false;
    return !isHan(text, start - 1) && !isHan(text, end);
}

BigNumber chineseNumeralValue(QStringView run)
{
    if (std::none_of(run.begin(), run.end(), [](QChar c) { return unitOf(c.unicode()) > 0; })) {
        BigNumber v = 0;
        for (QChar c : run)
            v = saturatingMulAdd(v, 10, BigNumber(digitOf(c.unicode())));
        return v;
    }
    BigNumber total = 0;   // what 亿 has been applied to
    BigNumber section = 0; // below 亿
    BigNumber group = 0;   // below 万
    int digit = -1;
    for (QChar ch : run) {
        const char16_t c = ch.unicode();
        if (const int d = digitOf(c); d >= 0) {
            digit = d;
            continue;
        }
        const int unit = unitOf(c);
        const BigNumber small = digit < 0 ? 1 : BigNumber(digit); // 十二: a unit alone counts once
        if (unit < 4) {
            group = saturatingMulAdd(small, powerOfTen(unit), group);
        } else if (unit == 4) {
            section =
                saturatingMulAdd(saturatingAdd(group, digit > 0 ? BigNumber(digit) : 0), 10000, section);
            group = 0;
        } else {
            const BigNumber below =
                saturatingAdd(saturatingAdd(section, group), digit > 0 ? BigNumber(digit) : 0);
            total = saturatingMulAdd(saturatingAdd(total, below), 100000000, 0);
            section = group = 0;
        }
        digit = -1;
    }
    return saturatingAdd(total,
                         saturatingAdd(saturatingAdd(section, group), digit > 0 ? BigNumber(digit) : 0));
}

QByteArray decimalDigits(BigNumber value)
{
    QByteArray out;
    do {
        out.prepend(char('0' + int(value % 10)));
        value /= 10;
    } while (value != 0);
    return out;
}

} // namespace tamsel
