// SPDX-License-Identifier: GPL-3.0-or-later
// Every message box, question, input box and file dialog goes through this interface, so that
// tests can answer them and read back their texts.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class QObject;

namespace tamsel {

// The captions of the message boxes.
namespace Caption {
inline const QString Notice = QStringLiteral("提示信息");
inline const QString Prompt = QStringLiteral("操作提示");
inline const QString Error = QStringLiteral("错误提示");
} // namespace Caption

// A progress bar for long work, shown once the work has lasted about half a second.
class Progress {
public:
    virtual ~Progress() = default;
    // done of the total so far; false once the user asked to stop, where stopping was offered.
    virtual bool update(int done) = 0;
    // True when update() is to be asked before every step, not every few tens of milliseconds.
    virtual bool everyStep() const { return false; }
};

// Progress that shows nothing and never stops the work.
class NoProgress final : public Progress {
public:
    bool update(int) override { return true; }
};

// What a template dialog shows under the template as it is typed: an example, or what is wrong
// with it (then it cannot be accepted).
struct TemplateCheck {
    bool ok = false;
    QString line;
};

// A dialog asking for a template, with a list of fields to insert at the cursor.
struct TemplateRequest {
    QString title;
    QString initial;
    QStringList fields; // inserted as they stand
    QStringList notes;  // shown beside each field
    std::function<TemplateCheck(const QString&)> check;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A message with an OK button; an empty caption means the application's title.
    virtual void message(QObject* owner, const QString& text, const QString& caption) = 0;
    // A Yes/No question; true for Yes.
    virtual bool question(QObject* owner, const QString& text, const QString& caption) = 0;
    // An input box; nothing when cancelled.
    virtual std::optional<QString> inputText(QObject* owner, const QString& prompt, const QString& title) = 0;
    // An input box with a list to choose from, the first item chosen; nothing when cancelled.
    virtual std::optional<QString> inputItem(QObject* owner, const QString& prompt, const QString& title,
                                             const QStringList& items) = 0;
    // A template by the request; nothing when cancelled.
    virtual std::optional<QString> askTemplate(QObject* owner, const TemplateRequest& request) = 0;
    // A file-open dialog; filters are in Qt's form ("描述 (*.txt)"). Empty when cancelled.
    virtual QStringList openFiles(QObject* owner, const QStringList& filters) = 0;
    virtual QString openFile(QObject* owner, const QStringList& filters) = 0;
    // A folder picker; empty when cancelled.
    virtual QString pickFolder(QObject* owner, const QString& prompt) = 0;
    // Progress of work over total steps, with "取消" where it can be stopped; never null.
    virtual std::unique_ptr<Progress> progress(QObject* owner, const QString& label, int total,
                                               bool cancellable) = 0;
};

// Dialogs nobody sees, for work run without a user: messages are dropped, questions answered
// Yes, inputs and pickers cancelled, progress silent. Override what a caller needs otherwise.
class NullDialogs : public Dialogs {
public:
    void message(QObject*, const QString&, const QString&) override {}
    bool question(QObject*, const QString&, const QString&) override { return true; }
    std::optional<QString> inputText(QObject*, const QString&, const QString&) override
    {
        return std::nullopt;
    }
    std::optional<QString> inputItem(QObject*, const QString&, const QString&, const QStringList&) override
    {
        return std::nullopt;
    }
    std::optional<QString> askTemplate(QObject*, const TemplateRequest&) override { return std::nullopt; }
    QStringList openFiles(QObject*, const QStringList&) override { return {}; }
    QString openFile(QObject*, const QStringList&) override { return {}; }
    QString pickFolder(QObject*, const QString&) override { return {}; }
    std::unique_ptr<Progress> progress(QObject*, const QString&, int, bool) override
    {
        return std::make_unique<NoProgress>();
    }
};

} // namespace tamsel
