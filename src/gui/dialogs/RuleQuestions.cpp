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

} // namespace

QString refusalText(PlanRefusal refusal)
{
    switch (refusal) {
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
            dialogs.message(owner, refusalText(plan.refusal), Caption::Notice);
            return plan;
        }
        if (plan.question == PlanQuestion::None)
            return plan;
        answers << dialogs.question(owner, questionText(plan), questionCaption(plan.question));
    }
}

} // namespace tamsel
