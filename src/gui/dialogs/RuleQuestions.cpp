// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/dialogs/RuleQuestions.h"

#include "gui/dialogs/Dialogs.h"

namespace tamsel {
namespace {

QString num(qint64 n)
{
    return QString::number(n);
}

// The lines between the file count and the capacity: the inputs that decided it.
QString capacityDetails(const RulePlan& plan)
{
    switch (plan.question) {
    case PlanQuestion::NumbersBeyondWidth:
        return QStringLiteral("开始编号为［") + plan.shownStart + QStringLiteral("］；") + u'\n' +
               QStringLiteral("增量为［") + plan.shownIncrement + QStringLiteral("］；") + u'\n' +
               QStringLiteral("您选择的位数为［") + plan.shownWidth + QStringLiteral("］位；") + u'\n';
    case PlanQuestion::LettersBeyondWidth:
        return QStringLiteral("开始编号为［") + plan.shownStart + QStringLiteral("］；") + u'\n' +
               QStringLiteral("您选择的位数为［") + plan.shownWidth + QStringLiteral("］位；") + u'\n';
    case PlanQuestion::TooFewNames:
        return QStringLiteral("预命名信息有［") + num(plan.capacity) + QStringLiteral("］条；") + u'\n';
    case PlanQuestion::None:
    case PlanQuestion::WidenToStart:
        break;
    }
    return {};
}

// What is wrong with a regular expression and where.
QString faultText(const PatternFault& fault)
{
    using Kind = PatternFault::Kind;
    // By kind, from UnclosedGroup to BadEscape.
    static const char16_t* const fixed[] = {u"缺少右括号“)”",         u"多了一个右括号“)”",
                                            u"字符集缺少右方括号“]”", u"重复符号前面没有可以重复的内容",
                                            u"引用了不存在的分组",    u"反斜杠“\\”后的转义无效"};
    QString what = fault.detail;
    if (fault.kind >= Kind::UnclosedGroup && fault.kind <= Kind::BadEscape)
        what = QString::fromUtf16(fixed[int(fault.kind) - int(Kind::UnclosedGroup)]);
    else if (fault.kind == Kind::ReplacementUnknownGroup)
        what = QStringLiteral("替换内容中的“") + fault.detail + QStringLiteral("”引用了不存在的分组");
    else if (fault.kind == Kind::ReplacementUnclosedName)
        what = QStringLiteral("替换内容中的“${”缺少右花括号“}”");
    const QString where = fault.inReplacement() ? QStringLiteral("替换内容") : QStringLiteral("正则表达式");
    const QString place = fault.after == 0 ? QStringLiteral("的开头）")
                                           : QStringLiteral("的第 ") + QString::number(fault.after) +
                                                 QStringLiteral(" 个字符之后）");
    return QStringLiteral("正则表达式有误：") + what + QStringLiteral("（在") + where + place + u'。';
}

} // namespace

QString refusalCaption(PlanRefusal refusal)
{
    return refusal == PlanRefusal::PatternInvalid ? Caption::Error : Caption::Notice;
}

QString refusalText(const RulePlan& plan)
{
    switch (plan.refusal) {
    case PlanRefusal::PatternInvalid:
        return faultText(plan.fault);
    case PlanRefusal::NumbersNotDigits:
        return QStringLiteral("开始字符、增量和位数必须是数字，请重新输入！");
    case PlanRefusal::NumbersOutOfRange:
        return QStringLiteral("编号超出范围：最后一个编号不能大于2147483647。") + u'\n' +
               QStringLiteral("请减小开始字符或增量！");
    case PlanRefusal::LettersNotLetters:
        return QStringLiteral("开始字符必须是字母，位数必须是数字，请重新输入！");
    case PlanRefusal::LettersOutOfRange:
        return QStringLiteral("开始字符超出范围，请使用较短或较小的开始字符！");
    case PlanRefusal::NoNames:
        return QStringLiteral("无预命名信息，请选择有命名信息的文件！");
    case PlanRefusal::None:
        break;
    }
    return {};
}

QString questionText(const RulePlan& plan)
{
    if (plan.question == PlanQuestion::None)
        return {};
    if (plan.question == PlanQuestion::WidenToStart)
        return QStringLiteral("您选择的位数少于开始字符的位数，是否补充位数？") + u'\n' +
               QStringLiteral("以开始字符的长度为位数单击［是］；") + u'\n' +
               QStringLiteral("以当前选择位数为长度请单击［否］；");
    return QStringLiteral("列表中一共有［") + num(plan.files) + QStringLiteral("］个文件；") + u'\n' +
           capacityDetails(plan) + QStringLiteral("只能对［") + num(plan.capacity) +
           QStringLiteral("］个文件进行重命名。") + u'\n' + QStringLiteral("多余的［") +
           num(plan.files - plan.capacity) + QStringLiteral("］个文件将忽略。是否继续？");
}

QString questionCaption(PlanQuestion question)
{
    return question == PlanQuestion::WidenToStart ? Caption::Prompt : Caption::Notice;
}

RulePlan settlePreview(Dialogs& dialogs, QObject* owner, const Rule& rule, int files,
                       const std::function<void(int)>& showNameCount)
{
    QList<bool> answers;
    for (;;) {
        RulePlan plan = rule.plan(files, answers);
        if (plan.nameCount >= 0 && showNameCount && answers.isEmpty())
            showNameCount(plan.nameCount);
        if (plan.refusal != PlanRefusal::None) {
            dialogs.message(owner, refusalText(plan), refusalCaption(plan.refusal));
            return plan;
        }
        if (plan.question == PlanQuestion::None)
            return plan;
        answers << dialogs.question(owner, questionText(plan), questionCaption(plan.question));
    }
}

} // namespace tamsel
