// SPDX-License-Identifier: GPL-3.0-or-later
// Which rows a rename pass would fail on, told before it runs.
#pragma once

#include "core/filelist/FileList.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QTimer>
#include <atomic>
#include <functional>
#include <list>
#include <memory>
#include <thread>
#include <vector>

namespace tamsel {

class FileSystem;

// Marks every row whose rename would fail, with the reason, by playing the pass in row order over
// the names of the folders involved, each read once: a row takes its new name only if nothing
// holds it at that row's turn; a row that would fail changes nothing. Rows whose preview is blank
// or their own name are never marked.
//
// The check works on a copy of the rows taken when it is made, so that it may run on a thread of
// its own while the list stays in use; its marks are set only on the list as it was copied.
class ConflictCheck {
public:
    explicit ConflictCheck(const FileList& list);

    // Reads the folders and plays the pass; on any thread.
    void run(const FileSystem& fs);
    // Makes a run that is going on end early, without marks; from any thread.
    void cancel() { m_cancelled = true; }
    // Sets the marks, when the list has not changed since the copy. True when it had not.
    bool apply(FileList& list);
    int count() const { return int(m_reasons.size()); }

private:
    std::vector<FileList::Row> m_rows;
    std::vector<QByteArray> m_folders; // by folder index
    quint64 m_generation;
    QHash<int, RowMark> m_reasons;
    std::atomic<bool> m_cancelled = false;
};

// The checks of one list, each on a thread of its own, so that a long list's marks follow a
// change instead of holding the window up. Every check has a ticket: only the latest check's marks
// are set, and a check that a later one has overtaken is cancelled and its result dropped, never
// waited for.
class ConflictChecker : public QObject {
    Q_OBJECT
public:
    // due() tells whether a check is wanted when a delayed one comes due (a preview to check, no
    // pass running).
    ConflictChecker(FileList& list, const FileSystem& fs, std::function<bool()> due,
                    QObject* parent = nullptr);
    ~ConflictChecker() override;

    // A check of the list as it is now.
    void start();
    // A check a moment from now, when due(): rows that move a step at a time are checked once.
    void startSoon() { m_soon.start(); }
    // A check due soon starts now, and the latest check ends and sets its marks (before the rename
    // question, which counts them).
    void settle();
    // A pass is about to change the list: the latest check ends first, with its marks.
    void finish();
    // New previews are about to come: every check is cancelled, its marks of no use.
    void cancel();

private:
    struct Running {
        quint64 ticket = 0;
        std::unique_ptr<ConflictCheck> check;
        std::thread thread;
    };
    void finished(quint64 ticket);

    FileList& m_list;
    const FileSystem& m_fs;
    std::function<bool()> m_due;
    QTimer m_soon;
    quint64 m_ticket = 0;         // the latest check's
    std::list<Running> m_running; // in the order they started
};

} // namespace tamsel
