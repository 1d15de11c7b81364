// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/rename/ConflictCheck.h"

#include "core/filelist/FileList.h"
#include "core/platform/FileSystem.h"
#include "core/text/NameCodec.h"
#include "core/text/PlainText.h"

#include <QHash>
#include <cstring>

namespace tamsel {
namespace {

// A folder with fewer rows than this has its names looked up one by one; a larger one is read.
constexpr int ReadFolderFrom = 64;

quint64 hashOf(quint32 folder, QByteArrayView name)
{
    quint64 h = 0xcbf29ce484222325ull ^ folder; // FNV-1a
    for (const char c : name)
        h = (h ^ uchar(c)) * 0x100000001b3ull;
    return h ^ (h >> 29);
}

// Names, each once, with a little state each: open addressing over their hashes, the names' bytes
// back to back in one array.
template <typename State> class NameSet {
public:
    struct Entry {
        quint64 hash = 0;
        quint32 offset = 0;
        quint32 length = 0;
        quint32 folder = 0;
        bool used = false;
        State state{};
    };

    void reserve(size_t names)
    {
        size_t capacity = 16;
        while (capacity < names + names / 2)
            capacity *= 2;
        m_entries.assign(capacity, Entry{});
        m_count = 0;
    }

    // The entry of name in folder, made if new (isNew tells).
    quint32 insert(quint32 folder, QByteArrayView name, bool* isNew = nullptr)
    {
        if ((m_count + 1) * 3 > m_entries.size() * 2)
            grow();
        const quint64 hash = hashOf(folder, name);
        const size_t i = slot(hash, folder, name);
        Entry& e = m_entries[i];
        if (isNew)
            *isNew = !e.used;
        if (!e.used) {
            e = {hash, quint32(m_bytes.size()), quint32(name.size()), folder, true, State{}};
            m_bytes.append(name);
            ++m_count;
        }
        return quint32(i);
    }
    bool contains(quint32 folder, QByteArrayView name) const
    {
        return !m_entries.empty() && m_entries[slot(hashOf(folder, name), folder, name)].used;
    }
    Entry& operator[](quint32 i) { return m_entries[i]; }
    QByteArrayView name(const Entry& e) const { return QByteArrayView(m_bytes).sliced(e.offset, e.length); }

private:
    size_t slot(quint64 hash, quint32 folder, QByteArrayView name) const
    {
        const size_t mask = m_entries.size() - 1;
        for (size_t i = hash & mask;; i = (i + 1) & mask) {
            const Entry& e = m_entries[i];
            if (!e.used ||
                (e.hash == hash && e.folder == folder && e.length == quint32(name.size()) &&
                 std::memcmp(m_bytes.constData() + e.offset, name.data(), size_t(name.size())) == 0))
                return i;
        }
    }
    void grow()
    {
        std::vector<Entry> old;
        old.swap(m_entries);
        m_entries.assign(std::max<size_t>(16, old.size() * 2), Entry{});
        const size_t mask = m_entries.size() - 1;
        for (const Entry& e : old) {
            if (!e.used)
                continue;
            size_t i = e.hash & mask;
            while (m_entries[i].used)
                i = (i + 1) & mask;
            m_entries[i] = e;
        }
    }

    std::vector<Entry> m_entries;
    size_t m_count = 0;
    QByteArray m_bytes;
};

struct Empty {};

// A name as the pass would find it at each row's turn.
struct NameState {
    bool present = false; // on disk, or taken by an earlier row, and not renamed away
    bool isSource = false;
    qint32 takenBy = 0; // the row that gave a file this name, if one did
};

struct Move {
    int row;
    quint32 from;
    quint32 to;
};

const QString& invalidName()
{
    static const QString text =
        QStringLiteral("新文件名不合法：不能含有“/”，不能是“.”或“..”，不能超过255个字节");
    return text;
}

} // namespace

struct ConflictCheck::Listing {
    QByteArray path;
    bool read = false;
    NameSet<Empty> names;
};

ConflictCheck::ConflictCheck(const FileList& list, const FileSystem& fs) : m_fs(fs)
{
    std::vector<int> rows(list.folderCount());
    for (int r = 1; r <= list.fileCount(); ++r)
        ++rows[list.folderIndex(r)];
    m_listings.resize(rows.size());
    std::vector<std::pair<Listing*, int>> toRead;
    for (quint32 f = 0; f < rows.size(); ++f) {
        if (rows[f] < ReadFolderFrom)
            continue;
        m_listings[f] = std::make_unique<Listing>();
        m_listings[f]->path = list.folderPath(f);
        toRead.push_back({m_listings[f].get(), rows[f]});
    }
    if (toRead.empty())
        return;
    m_reader = std::thread([this, toRead] {
        for (const auto& [listing, rows] : toRead) {
            const auto folder = m_fs.openFolder(listing->path);
            if (!folder)
                continue;
            listing->names.reserve(size_t(rows) + size_t(rows) / 4); // the listed files, and a few more
            listing->read = folder->listNames([&](QByteArrayView entry) {
                listing->names.insert(0, entry);
                return true;
            });
        }
    });
}

ConflictCheck::~ConflictCheck()
{
    if (m_reader.joinable())
        m_reader.join();
}

int ConflictCheck::mark(FileList& list)
{
    QHash<int, QString> reasons;
    std::vector<Move> moves;
    std::vector<std::vector<quint32>> smallFolders(m_listings.size()); // names to look up one by one
    NameSet<NameState> names;
    names.reserve(size_t(list.fileCount()) * 2);
    char bytes[256];
    for (int r = 1; r <= list.fileCount(); ++r) {
        const QStringView preview = list.preview(r);
        const QStringView name = list.currentName(r);
        if (isBlank(preview) || preview == name)
            continue;
        const qsizetype length = encodeNameTo(preview, bytes, sizeof bytes);
        if (length < 0 || !isValidFileName(QByteArray::fromRawData(bytes, length))) {
            reasons.insert(r, invalidName());
            continue;
        }
        const quint32 folder = list.folderIndex(r);
        bool isNew = false;
        const quint32 to = names.insert(folder, QByteArrayView(bytes, length), &isNew);
        if (isNew && !m_listings[folder])
            smallFolders[folder].push_back(to);
        const qsizetype fromLength = encodeNameTo(name, bytes, sizeof bytes);
        // A row's own file is taken to be there: it was when it was listed, and a rename finds out.
        const quint32 from =
            names.insert(folder, QByteArrayView(bytes, std::max<qsizetype>(0, fromLength)), &isNew);
        names[from].state = {true, true, 0};
        moves.push_back({r, from, to});
    }
    // Whether the new names are on disk now: looked up one by one in small folders, found in the
    // listings of the large ones, read meanwhile.
    for (quint32 f = 0; f < smallFolders.size(); ++f) {
        if (smallFolders[f].empty())
            continue;
        const auto folder = m_fs.openFolder(list.folderPath(f));
        for (const quint32 slot : smallFolders[f]) {
            auto& e = names[slot];
            if (!e.state.isSource)
                e.state.present = folder && folder->entry(names.name(e).toByteArray()).has_value();
        }
    }
    if (m_reader.joinable())
        m_reader.join();
    for (const Move& move : moves) {
        auto& e = names[move.to];
        if (const Listing* listing = m_listings[e.folder].get(); listing && !e.state.isSource)
            e.state.present = listing->read && listing->names.contains(0, names.name(e));
    }
    // The pass, played in row order.
    for (const Move& move : moves) {
        NameSet<NameState>::Entry& to = names[move.to];
        NameSet<NameState>::Entry& from = names[move.from];
        if (to.state.present && to.state.takenBy != 0) {
            reasons.insert(move.row, QStringLiteral("与第［") + QString::number(to.state.takenBy) +
                                         QStringLiteral("］行的新文件名相同"));
        } else if (to.state.present) {
            reasons.insert(move.row, QStringLiteral("文件［") + displayName(decodeName(names.name(to))) +
                                         QStringLiteral("］已存在"));
        } else if (!from.state.present) {
            reasons.insert(move.row, QStringLiteral("原文件［") + displayName(decodeName(names.name(from))) +
                                         QStringLiteral("］已不存在"));
        } else {
            from.state.present = false;
            from.state.takenBy = 0;
            to.state.present = true;
            to.state.takenBy = move.row;
        }
    }
    const int count = int(reasons.size());
    list.setConflicts(std::move(reasons));
    return count;
}

int markConflicts(FileList& list, const FileSystem& fs)
{
    ConflictCheck check(list, fs);
    return check.mark(list);
}

} // namespace tamsel
