// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/filelist/AddFiles.h"

#include "core/filelist/FileList.h"
#include "core/platform/FileSystem.h"
#include "core/text/NameCodec.h"

#include <QElapsedTimer>
#include <QFile>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace tamsel {
namespace {

constexpr qint64 YieldEveryMs = 10;
constexpr size_t FilesPerChunk = 4096;
constexpr size_t ChunksAhead = 16;

QByteArray withSlash(QByteArray folder)
{
    if (!folder.endsWith('/'))
        folder += '/';
    return folder;
}

// Files as the reader found them, in order, with what happened between them.
struct Chunk {
    struct File {
        quint32 folder; // index into folders
        quint32 nameEnd;
        std::optional<FileStat> stat;
    };
    std::vector<QByteArray> folders;
    std::vector<FileIdentity> folderIdentities; // which folder each was when read
    QByteArray names;                           // the files' names back to back
    std::vector<File> files;
    bool folderFailed = false; // a folder could not be read, after these files
    bool rootFailed = false;
    bool last = false;
};

// Reads the folder tree on a thread of its own, a folder's own files before those of its
// sub-folders, depth first, and hands the files over in chunks, a few ahead at most.
class Reader {
public:
    Reader(const FileSystem& fs, QByteArray root, bool recursive) : m_fs(fs)
    {
        m_thread = std::thread([this, root = std::move(root), recursive] { run(root, recursive); });
    }
    ~Reader()
    {
        stop();
        m_thread.join();
    }

    void stop()
    {
        std::lock_guard lock(m_mutex);
        m_stopped = true;
        m_changed.notify_all();
    }

    // The next chunk, waiting for it until the deadline; nothing when none came by then.
    std::optional<Chunk> take(qint64 waitMs)
    {
        std::unique_lock lock(m_mutex);
        if (!m_changed.wait_for(lock, std::chrono::milliseconds(std::max<qint64>(0, waitMs)),
                                [this] { return !m_ready.empty(); }))
            return std::nullopt;
        Chunk chunk = std::move(m_ready.front());
        m_ready.pop_front();
        m_changed.notify_all();
        return chunk;
    }

private:
    // Hands the chunk being filled over; false once the walk must stop.
    bool hand(bool last = false)
    {
        m_filling.last = last;
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_stopped || m_ready.size() < ChunksAhead; });
        if (m_stopped)
            return false;
        m_ready.push_back(std::move(m_filling));
        m_filling = Chunk();
        m_changed.notify_all();
        return true;
    }
    bool stopped()
    {
        std::lock_guard lock(m_mutex);
        return m_stopped;
    }

    struct SubFolder {
        QByteArray name;
        std::optional<FileIdentity> identity; // as its parent listed it
    };

    // Lists one folder: its files into the chunk, its sub-folders (when asked for) into subFolders.
    // A sub-folder is read only while it is the one its parent listed: not a link put in its place
    // since, nor another folder.
    bool scan(const QByteArray& folder, std::optional<FileIdentity> expected,
              std::vector<SubFolder>* subFolders, bool* stop)
    {
        quint32 index = quint32(-1);
        return m_fs.listDir(
            folder,
            [&](const DirEntry& e) {
                if (e.isDir) {
                    if (subFolders)
                        subFolders->push_back(
                            {e.name.toByteArray(), e.stat ? std::optional(e.stat->identity) : std::nullopt});
                    return true;
                }
                if (index == quint32(-1) || index >= m_filling.folders.size()) {
                    index = quint32(m_filling.folders.size());
                    m_filling.folders.push_back(folder);
                    m_filling.folderIdentities.push_back(e.folder);
                }
                m_filling.names.append(e.name);
                m_filling.files.push_back({index, quint32(m_filling.names.size()), e.stat});
                if (m_filling.files.size() >= FilesPerChunk && !hand()) {
                    *stop = true;
                    return false;
                }
                return true;
            },
            true, expected);
    }

    void run(const QByteArray& root, bool recursive)
    {
        struct Level {
            QByteArray path;
            std::vector<SubFolder> subFolders;
            size_t next = 0;
        };
        // Depth-first without recursion, so that no folder tree is too deep.
        std::vector<Level> stack(1);
        stack.back().path = root;
        bool stop = false;
        if (!scan(root, std::nullopt, recursive ? &stack.back().subFolders : nullptr, &stop)) {
            if (!stop) {
                m_filling.rootFailed = true;
                hand(true);
            }
            return;
        }
        while (!stack.empty() && !stop) {
            Level& top = stack.back();
            if (top.next == top.subFolders.size()) {
                stack.pop_back();
                continue;
            }
            Level child;
            const SubFolder& sub = top.subFolders[top.next++];
            child.path = top.path + sub.name + '/';
            if (sub.identity && scan(child.path, sub.identity, &child.subFolders, &stop)) {
                stack.push_back(std::move(child));
            } else if (!stop) {
                m_filling.folderFailed = true;
                stop = !hand();
            }
            stop = stop || stopped();
        }
        if (!stop)
            hand(true);
    }

    const FileSystem& m_fs;
    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Chunk> m_ready;
    Chunk m_filling; // the reader's own
    bool m_stopped = false;
};

// The walk: the reader reads, this thread appends and lets events through every few milliseconds.
// After each yield the list may have been changed by a command, which is fine: appends always go
// to its end.
bool walk(FileList& list, const FileSystem& fs, QByteArray folder, const WalkHooks& hooks, bool recursive)
{
    FileList::Batch batch(list);
    Reader reader(fs, withSlash(std::move(folder)), recursive);
    QElapsedTimer sinceYield;
    sinceYield.start();
    bool rootRead = true;
    for (;;) {
        if (hooks.stopped && hooks.stopped())
            return rootRead;
        if (const auto chunk = reader.take(YieldEveryMs - sinceYield.elapsed())) {
            qsizetype start = 0;
            for (const Chunk::File& f : chunk->files) {
                list.addFileRow(chunk->folders[f.folder],
                                QByteArrayView(chunk->names).sliced(start, f.nameEnd - start), f.stat,
                                chunk->folderIdentities[f.folder]);
                start = f.nameEnd;
            }
            if (chunk->rootFailed)
                rootRead = false;
            if ((chunk->folderFailed || (chunk->rootFailed && recursive)) && hooks.failed)
                hooks.failed();
            if (chunk->last)
                return rootRead;
        }
        if (sinceYield.elapsed() >= YieldEveryMs) {
            list.flush();
            if (hooks.yield)
                hooks.yield();
            sinceYield.restart();
        }
    }
}

} // namespace

bool addFolderRecursive(FileList& list, const FileSystem& fs, QByteArray folder, const WalkHooks& hooks)
{
    return walk(list, fs, std::move(folder), hooks, true);
}

bool addFolderFlat(FileList& list, const FileSystem& fs, QByteArray folder, const WalkHooks& hooks)
{
    return walk(list, fs, std::move(folder), hooks, false);
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
                if (escapesShown(decodeName(e.name)) == part) {
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
