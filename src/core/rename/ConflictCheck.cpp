// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/rename/ConflictCheck.h"

#include "core/platform/FileSystem.h"
#include "core/rename/NewNames.h"
#include "core/text/NameCodec.h"
#include "core/text/PlainText.h"

#include <QScopeGuard>
#include <algorithm>
#include <cstring>

namespace tamsel {
namespace {

// A folder with fewer rows than this has its names looked up one by one; a larger one is read.
constexpr int ReadFolderFrom = 64;

// Every name of the pass, once per folder, with its state as the pass would find it: the names'
// bytes back to back, a dense array of small entries, and an open-addressing index of 64-bit words
// (a hash's high half, the entry's number) that a lookup compares without touching the entries.
class NameTable {
public:
    struct Entry {
        quint32 offset = 0;
        quint32 length = 0;
        quint32 folder = 0;
        qint32 takenBy = -1;   // the row that gave a file this name, if one did
        bool present = false;  // on disk, or taken by an earlier row, and not renamed away
        bool isSource = false; // some row's own file: there to begin with
    };

    explicit NameTable(size_t names) { resize(names); }

    quint32 insert(quint32 folder, QByteArrayView name, bool* isNew)
    {
        if ((m_entries.size() + 1) * 4 > m_index.size() * 3)
            resize(m_entries.size() * 2);
        const quint64 hash = hashOf(folder, name);
        size_t i = probe(hash, folder, name);
        *isNew = m_index[i] == 0;
        if (!*isNew)
            return quint32(m_index[i] & 0xffffffff) - 1;
        m_entries.push_back({quint32(m_bytes.size()), quint32(name.size()), folder, -1, false, false});
        m_bytes.append(name);
        m_index[i] = (hash & ~0xffffffffull) | m_entries.size();
        return quint32(m_entries.size() - 1);
    }
    Entry* find(quint32 folder, QByteArrayView name)
    {
        const quint64 word = m_index[probe(hashOf(folder, name), folder, name)];
        return word ? &m_entries[(word & 0xffffffff) - 1] : nullptr;
    }
    Entry& operator[](quint32 e) { return m_entries[e]; }
    QByteArrayView name(const Entry& e) const { return QByteArrayView(m_bytes).sliced(e.offset, e.length); }
    std::vector<Entry>& entries() { return m_entries; }

private:
    static quint64 hashOf(quint32 folder, QByteArrayView name)
    {
        quint64 h = 0xcbf29ce484222325ull ^ folder; // FNV-1a, mixed at the end
        for (const char c : name)
            h = (h ^ uchar(c)) * 0x100000001b3ull;
        h ^= h >> 31;
        h *= 0x7fb5d329728ea185ull;
        return h ^ (h >> 27);
    }
    size_t probe(quint64 hash, quint32 folder, QByteArrayView name) const
    {
        const size_t mask = m_index.size() - 1;
        for (size_t i = hash & mask;; i = (i + 1) & mask) {
            const quint64 word = m_index[i];
            if (word == 0)
                return i;
            if ((word >> 32) == (hash >> 32)) {
                const Entry& e = m_entries[(word & 0xffffffff) - 1];
                if (e.folder == folder && e.length == quint32(name.size()) &&
                    std::memcmp(m_bytes.constData() + e.offset, name.data(), size_t(name.size())) == 0)
                    return i;
            }
        }
    }
    void resize(size_t names)
    {
        size_t capacity = 16;
        while (capacity * 3 < names * 4)
            capacity *= 2;
        m_index.assign(capacity, 0);
        for (quint32 e = 0; e < m_entries.size(); ++e) {
            const QByteArrayView n = name(m_entries[e]);
            const quint64 hash = hashOf(m_entries[e].folder, n);
            size_t i = hash & (capacity - 1);
            while (m_index[i] != 0)
                i = (i + 1) & (capacity - 1);
            m_index[i] = (hash & ~0xffffffffull) | (e + 1);
        }
    }

    std::vector<quint64> m_index;
    std::vector<Entry> m_entries;
    QByteArray m_bytes;
};

struct Move {
    int row;
    quint32 from;
    quint32 to;
};

} // namespace

ConflictCheck::ConflictCheck(const FileList& list) : m_generation(list.generation())
{
    m_rows.reserve(size_t(list.fileCount()));
    for (int r = 0; r < list.fileCount(); ++r)
        m_rows.push_back(list.saveRow(r));
    for (quint32 f = 0; f < list.folderCount(); ++f)
        m_folders.push_back(list.folderPath(f));
}

void ConflictCheck::run(const FileSystem& fs)
{
    // The copy's texts go back to the list alone as soon as the check ends, cancelled or not: while
    // it holds them, every preview written copies its row's text first.
    const auto release = qScopeGuard([this] { m_rows = {}; });
    std::vector<Move> moves;
    std::vector<int> rowsIn(m_folders.size());
    NameTable names(m_rows.size() + 16);
    char bytes[256];
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if (i % 4096 == 0 && m_cancelled)
            return;
        const FileList::Row& row = m_rows[i];
        const int r = int(i);
        const QStringView preview = FileList::previewOf(row);
        const QStringView name = FileList::currentNameOf(row);
        if (isBlank(preview) || preview == name)
            continue;
        const qsizetype length = encodeNameTo(preview, bytes, sizeof bytes);
        const NameFault fault = length >= 0 ? newNameFault(QByteArrayView(bytes, length))
                                            : (encodeName(preview) ? NameFault::TooLong : NameFault::Invalid);
        if (fault != NameFault::None) {
            m_reasons.insert(r, RowMark{RowMark::Kind::BadName, quint8(fault), -1, {}});
            continue;
        }
        bool isNew = false;
        const quint32 to = names.insert(row.dir, QByteArrayView(bytes, length), &isNew);
        // A row's own file is taken to be there: it was when it was listed, and a rename finds out.
        const qsizetype fromLength = std::max<qsizetype>(0, encodeNameTo(name, bytes, sizeof bytes));
        const quint32 from = names.insert(row.dir, QByteArrayView(bytes, fromLength), &isNew);
        names[from].isSource = names[from].present = true;
        moves.push_back({r, from, to});
        ++rowsIn[row.dir];
    }
    // Whether the new names are on disk now: a folder with many rows read once, the names of a
    // small one looked up.
    std::vector<std::vector<quint32>> lookUp(m_folders.size());
    for (quint32 e = 0; e < names.entries().size(); ++e) {
        const NameTable::Entry& entry = names[e];
        if (!entry.isSource && rowsIn[entry.folder] < ReadFolderFrom)
            lookUp[entry.folder].push_back(e);
    }
    for (quint32 f = 0; f < m_folders.size(); ++f) {
        if (rowsIn[f] == 0)
            continue;
        if (m_cancelled)
            return;
        const auto opened = fs.openFolder(m_folders[f]);
        if (!opened)
            continue;
        Folder* folder = opened->get();
        if (rowsIn[f] >= ReadFolderFrom) {
            folder->listNames([&](QByteArrayView entry) {
                if (NameTable::Entry* e = names.find(f, entry))
                    e->present = true;
                return !m_cancelled.load(std::memory_order_relaxed); // a cancelled check stops reading
            });
        } else {
            for (const quint32 e : lookUp[f])
                names[e].present = folder->entry(names.name(names[e]).toByteArray()).hasValue();
        }
    }
    // The pass, played in row order.
    for (const Move& move : moves) {
        NameTable::Entry& to = names[move.to];
        NameTable::Entry& from = names[move.from];
        if (to.present && to.takenBy >= 0) {
            m_reasons.insert(move.row, RowMark{RowMark::Kind::SameNewName, 0, to.takenBy, {}});
        } else if (to.present) {
            m_reasons.insert(move.row, RowMark{RowMark::Kind::NameExists, 0, -1, decodeName(names.name(to))});
        } else if (!from.present) {
            m_reasons.insert(move.row,
                             RowMark{RowMark::Kind::SourceGone, 0, -1, decodeName(names.name(from))});
        } else {
            from.present = false;
            from.takenBy = -1;
            to.present = true;
            to.takenBy = move.row;
        }
    }
}

bool ConflictCheck::apply(FileList& list)
{
    if (m_cancelled || list.generation() != m_generation)
        return false;
    list.setConflicts(std::move(m_reasons));
    return true;
}

ConflictChecker::ConflictChecker(FileList& list, const FileSystem& fs, std::function<bool()> due,
                                 QObject* parent)
    : QObject(parent), m_list(list), m_fs(fs), m_due(std::move(due))
{
    m_soon.setSingleShot(true);
    m_soon.setInterval(100);
    connect(&m_soon, &QTimer::timeout, this, [this] {
        if (m_due())
            start();
    });
}

ConflictChecker::~ConflictChecker()
{
    for (Running& r : m_running) {
        r.check->cancel();
        r.thread.join();
    }
}

void ConflictChecker::start()
{
    m_soon.stop();
    for (Running& r : m_running)
        r.check->cancel();
    Running& r = m_running.emplace_back();
    r.ticket = ++m_ticket;
    r.check = std::make_unique<ConflictCheck>(m_list);
    r.thread = std::thread([this, check = r.check.get(), ticket = r.ticket] {
        check->run(m_fs);
        QMetaObject::invokeMethod(
            this, [this, ticket] { finished(ticket); }, Qt::QueuedConnection);
    });
}

void ConflictChecker::finished(quint64 ticket)
{
    const auto it = std::find_if(m_running.begin(), m_running.end(),
                                 [ticket](const Running& r) { return r.ticket == ticket; });
    if (it == m_running.end())
        return;        // settled already
    it->thread.join(); // it has run: only this call was left of it
    if (ticket == m_ticket)
        it->check->apply(m_list);
    m_running.erase(it);
}

void ConflictChecker::settle()
{
    if (m_soon.isActive() && m_due())
        start();
    m_soon.stop();
    finish();
}

void ConflictChecker::cancel()
{
    m_soon.stop();
    for (Running& r : m_running)
        r.check->cancel();
    ++m_ticket; // what they find is dropped when they end
}

void ConflictChecker::finish()
{
    if (m_running.empty() || m_running.back().ticket != m_ticket)
        return;
    Running& latest = m_running.back();
    latest.thread.join();
    latest.check->apply(m_list);
    m_running.pop_back();
}

} // namespace tamsel
