// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/filelist/AddFiles.h"

#include "core/filelist/FileList.h"
#include "core/platform/FileSystem.h"
#include "core/text/NameCodec.h"

#include <QElapsedTimer>
#include <QFile>
#include <vector>

namespace tamsel {
namespace {

constexpr qint64 YieldEveryMs = 10;

// Lets events through now and then; after each yield the list may have been changed by a
// command, which is fine: appends always go to its end.
class Yielder {
public:
    explicit Yielder(const WalkHooks& hooks) : m_hooks(hooks) { m_timer.start(); }
    // False once the walk must stop.
    bool tick(FileList& list)
    {
        if (m_timer.elapsed() >= YieldEveryMs) {
            list.flush();
            if (m_hooks.yield)
                m_hooks.yield();
            m_timer.restart();
        }
        return !(m_hooks.stopped && m_hooks.stopped());
    }

private:
    const WalkHooks& m_hooks;
    QElapsedTimer m_timer;
};

QByteArray withSlash(QByteArray folder)
{
    if (!folder.endsWith('/'))
        folder += '/';
    return folder;
}

// Appends the files of one folder; collects its sub-folders when subFolders is given.
bool scanFolder(FileList& list, const FileSystem& fs, const QByteArray& folder, Yielder& yielder,
                std::vector<QByteArray>* subFolders, bool* stop)
{
    return fs.listDir(
        folder,
        [&](const DirEntry& e) {
            if (!yielder.tick(list)) {
                *stop = true;
                return false;
            }
            if (!e.isDir)
                list.addFileRow(folder, e.name, e.stat);
            else if (subFolders)
                subFolders->push_back(e.name.toByteArray());
            return true;
        },
        true);
}

} // namespace

bool addFolderRecursive(FileList& list, const FileSystem& fs, QByteArray folder, const WalkHooks& hooks)
{
    FileList::Batch batch(list);
    Yielder yielder(hooks);
    struct Level {
        QByteArray path;
        std::vector<QByteArray> subFolders;
        size_t next = 0;
    };
    // Depth-first without recursion, so that no folder tree is too deep.
    std::vector<Level> stack(1);
    stack.back().path = withSlash(std::move(folder));
    bool stop = false;
    if (!scanFolder(list, fs, stack.back().path, yielder, &stack.back().subFolders, &stop)) {
        if (!stop && hooks.failed)
            hooks.failed();
        return false;
    }
    while (!stack.empty() && !stop) {
        Level& top = stack.back();
        if (top.next == top.subFolders.size()) {
            stack.pop_back();
            continue;
        }
        Level child;
        child.path = top.path + top.subFolders[top.next++] + '/';
        if (scanFolder(list, fs, child.path, yielder, &child.subFolders, &stop))
            stack.push_back(std::move(child));
        else if (!stop && hooks.failed)
            hooks.failed();
    }
    return true;
}

bool addFolderFlat(FileList& list, const FileSystem& fs, QByteArray folder, const WalkHooks& hooks)
{
    FileList::Batch batch(list);
    Yielder yielder(hooks);
    bool stop = false;
    return scanFolder(list, fs, withSlash(std::move(folder)), yielder, nullptr, &stop);
}

void addPickedFiles(FileList& list, const FileSystem& fs, const QStringList& paths)
{
    FileList::Batch batch(list);
    for (const QString& path : paths) {
        if (!path.isEmpty())
            list.addFileRow(resolvePath(fs, path));
    }
}

QByteArray resolvePath(const FileSystem& fs, const QString& path)
{
    const QByteArray plain = encodeName(path).value_or(QFile::encodeName(path));
    if (!path.contains(QChar::ReplacementCharacter) || fs.stat(plain))
        return plain;
    const QStringList parts = path.split(u'/');
    QByteArray resolved;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString& part = parts[i];
        QByteArray bytes = QFile::encodeName(part);
        if (part.contains(QChar::ReplacementCharacter)) {
            QByteArray found;
            int matches = 0;
            const QByteArray parent = i == 0 ? QByteArray(".") : resolved + '/';
            fs.listDir(parent, [&](const DirEntry& e) {
                if (displayName(decodeName(e.name)) == part) {
                    found = e.name.toByteArray();
                    ++matches;
                }
                return true;
            });
            if (matches == 1)
                bytes = found;
        }
        if (i > 0)
            resolved += '/';
        resolved += bytes;
    }
    return resolved;
}

QByteArray absolutePath(const QByteArray& path, const QByteArray& workingDir)
{
    const QByteArray full = path.startsWith('/') ? path : workingDir + '/' + path;
    QList<QByteArray> parts;
    for (const QByteArray& part : full.split('/')) {
        if (part.isEmpty() || part == ".")
            continue;
        if (part == "..") {
            if (!parts.isEmpty())
                parts.removeLast();
            continue;
        }
        parts << part;
    }
    return '/' + parts.join('/');
}

} // namespace tamsel
