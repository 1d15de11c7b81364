// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/inputs/InputRules.h"

namespace tamsel {
namespace {

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

bool digitKeyFilter(QChar typed, const QString& text, qsizetype selectedLength)
{
    if (!isAsciiDigit(typed) && typed != Backspace)
        return false;
    return !(typed == u'0' && (text.isEmpty() || selectedLength == text.size()));
}

bool offsetKeyFilter(QChar typed, const QString& text)
{
    if (!isAsciiDigit(typed) && typed != Backspace)
        return false;
    return !(text.startsWith(u'0') && typed != Backspace);
}

bool startCharKeyFilter(OrdinalModel model, QChar typed, const QString& text, qsizetype selectedLength)
{
    switch (model) {
    case OrdinalModel::Digits:
        return digitKeyFilter(typed, text, selectedLength);
    case OrdinalModel::Upper:
        return typed == Backspace || (typed >= u'A' && typed <= u'Z');
    case OrdinalModel::Lower:
        return typed == Backspace || (typed >= u'a' && typed <= u'z');
    }
    return false;
}

std::optional<QString> spinStep(SpinPosition position, const QString& text, int lowerBound)
{
    constexpr int UpperBound = 100;
    if (position == SpinPosition::Rest)
        return std::nullopt;
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    if (!ok)
        return std::nullopt;
    if (position == SpinPosition::Lower && n > lowerBound)
        return QString::number(n - 1);
    if (position == SpinPosition::Raise && n < UpperBound)
        return QString::number(n + 1);
    return std::nullopt;
}

QStringList startCharItems(OrdinalModel model)
{
    QStringList items;
    if (model == OrdinalModel::Digits) {
        for (int i = 0; i <= 9; ++i)
            items << QString::number(i);
        items << QStringLiteral("10") << QStringLiteral("100") << QStringLiteral("1000")
              << QStringLiteral("10000");
        return items;
    }
    const char16_t first = model == OrdinalModel::Upper ? u'A' : u'a';
    for (char16_t c = first; c < first + 26; ++c)
        items << QString(QChar(c));
    return items;
}

} // namespace tamsel
