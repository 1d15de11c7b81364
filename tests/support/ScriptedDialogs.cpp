// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/ScriptedDialogs.h"

#include "core/filelist/FileList.h"
#include "core/rename/PreviewPass.h"
#include "gui/dialogs/RuleQuestions.h"

#include <QTest>

namespace tamsel::test {

QVariant ScriptedDialogs::next(Kind kind)
{
    if (m_answers.isEmpty()) {
        ++unanswered;
        return {};
    }
    const Answer answer = m_answers.takeFirst();
    if (answer.kind != kind)
        QTest::qFail(
            qPrintable(
                QStringLiteral("an answer meant for another kind of dialog met a %1").arg(calls.last().kind)),
            __FILE__, __LINE__);
    return answer.value;
}

void ScriptedDialogs::message(QObject*, const QString& text, const QString& caption)
{
    calls.append({QStringLiteral("message"), text, caption});
}

bool ScriptedDialogs::question(QObject*, const QString& text, const QString& caption)
{
    calls.append({QStringLiteral("question"), text, caption});
    return next(Kind::Question).toBool();
}

std::optional<QString> ScriptedDialogs::inputText(QObject*, const QString& prompt, const QString& title)
{
    calls.append({QStringLiteral("input"), prompt, title});
    const QVariant v = next(Kind::Input);
    if (!v.isValid())
        return std::nullopt;
    return v.toString();
}

std::optional<QString> ScriptedDialogs::inputItem(QObject* owner, const QString& prompt, const QString& title,
                                                  const QStringList& items)
{
    lastItems = items;
    return inputText(owner, prompt, title);
}

std::optional<QString> ScriptedDialogs::askTemplate(QObject*, const TemplateRequest& request)
{
    lastTemplate = request;
    calls.append({QStringLiteral("template"), QString(), request.title});
    const QVariant v = next(Kind::Template);
    if (!v.isValid())
        return std::nullopt;
    const TemplateCheck check = request.check(v.toString());
    calls.last().text = check.line;
    if (!check.ok)
        QTest::qFail(qPrintable(QStringLiteral("the dialog would not take this template: ") + check.line),
                     __FILE__, __LINE__);
    return v.toString();
}

QStringList ScriptedDialogs::openFiles(QObject*, const QStringList& filters)
{
    calls.append({QStringLiteral("openFiles"), filters.join(QStringLiteral(";;")), QString()});
    return next(Kind::OpenFiles).toStringList();
}

QString ScriptedDialogs::openFile(QObject*, const QStringList& filters)
{
    calls.append({QStringLiteral("openFile"), filters.join(QStringLiteral(";;")), QString()});
    return next(Kind::OpenFile).toString();
}

namespace {

class ScriptedProgress final : public Progress {
public:
    ScriptedProgress(int cancelAt, bool cancellable, std::function<void()> during)
        : m_cancelAt(cancellable ? cancelAt : -1), m_during(std::move(during))
    {
    }
    bool update(int done) override
    {
        if (m_during)
            m_during();
        return m_cancelAt < 0 || done < m_cancelAt;
    }
    bool everyStep() const override { return true; }

private:
    int m_cancelAt;
    std::function<void()> m_during;
};

} // namespace

std::unique_ptr<Progress> ScriptedDialogs::progress(QObject*, const QString& label, int, bool cancellable)
{
    progressLabels << label;
    return std::make_unique<ScriptedProgress>(cancelAt, cancellable, duringProgress);
}

QString ScriptedDialogs::pickFolder(QObject*, const QString& prompt)
{
    calls.append({QStringLiteral("pickFolder"), prompt, QString()});
    return next(Kind::PickFolder).toString();
}

bool preview(FileList& list, Dialogs& dialogs, const Rule& rule, const std::function<void(int)>& showCount)
{
    const RulePlan plan = settlePreview(dialogs, nullptr, rule, list.fileCount(), showCount);
    previewPass(list, rule, plan);
    return plan.go;
}

} // namespace tamsel::test
