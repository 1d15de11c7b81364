// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/filelist/FileList.h"

#include "core/filelist/CellText.h"
#include "core/platform/FileSystem.h"
#include "core/text/NameCodec.h"

#include <QThread>
#include <algorithm>

namespace tamsel {
namespace {

int textPart(int column)
{
    switch (column) {
    case ColOriginalName:
        return 0;
    case ColPreview:
        return 1;
    case ColResult:
        return 2;
    case ColNewName:
        return 3;
    default:
        return -1;
    }
}

qsizetype partStart(const FileList::Row& r, int part)
{
    return part == 0 ? 0 : r.ends[part - 1];
}

qsizetype partEnd(const FileList::Row& r, int part)
{
    return part < 3 ? r.ends[part] : r.text.size();
}

QStringView partView(const FileList::Row& r, int part)
{
    const qsizetype start = partStart(r, part);
    return QStringView(r.text).mid(start, partEnd(r, part) - start);
}

void setPart(FileList::Row& r, int part, QStringView value)
{
    const qsizetype start = partStart(r, part);
    const qsizetype end = partEnd(r, part);
    r.text.replace(start, end - start, value.data(), value.size());
    const qsizetype delta = value.size() - (end - start);
    for (int i = part; i < 3; ++i)
        r.ends[i] = quint32(r.ends[i] + delta);
}

} // namespace

FileList::FileList(const FileSystem& fs, QObject* parent) : QObject(parent), m_fs(fs)
{
    m_batchFlush.setInterval(100);
    connect(&m_batchFlush, &QTimer::timeout, this, &FileList::flush);
    initFileList();
}

QString FileList::cell(int row, int column) const
{
    if (row < 0 || row >= fileCount() || column < 0 || column >= ColumnCount)
        return {};
    const Row& r = m_rows[row];
    switch (column) {
    case ColNumber:
        return {};
    case ColDirectory:
        return m_dirs[r.dir].text;
    case ColFileName:
        return mainNameOf(partView(r, 0)).toString();
    case ColFileType:
        return fileTypeText(partView(r, 0));
    case ColFileSize:
        return r.size == NoValue ? QString() : sizeText(r.size);
    case ColCreated:
        return r.created == NoValue ? QString() : timeText(r.created);
    case ColModified:
        return r.modified == NoValue ? QString() : timeText(r.modified);
    default:
        return partView(r, textPart(column)).toString();
    }
}

void FileList::setCell(int row, int column, QStringView text)
{
    const int part = textPart(column);
    Q_ASSERT(part >= 0 && row >= 0 && row < fileCount());
    if (part < 0 || row < 0 || row >= fileCount())
        return;
    Row& r = m_rows[row];
    if (partView(r, part) == text)
        return;
    setPart(r, part, text);
    if (column != ColResult)
        clearConflicts();
    if (column == ColOriginalName)
        ++m_listingVersion;
    rowChanged(row);
}

void FileList::setRenamed(int row, QStringView result)
{
    Q_ASSERT(row >= 0 && row < fileCount());
    if (row < 0 || row >= fileCount())
        return;
    Row& r = m_rows[row];
    const QStringView name = partView(r, 0);
    const QStringView preview = partView(r, 1);
    QString text;
    text.reserve(name.size() + 2 * preview.size() + result.size());
    text.append(name).append(preview).append(result).append(preview);
    r.ends[2] = quint32(name.size() + preview.size() + result.size());
    r.text = std::move(text);
    clearConflicts();
    rowChanged(row);
}

QStringView FileList::name(int row) const
{
    return partView(m_rows[row], 0);
}

QStringView FileList::preview(int row) const
{
    return partView(m_rows[row], 1);
}

QStringView FileList::currentName(int row) const
{
    return currentNameOf(m_rows[row]);
}

QStringView FileList::nameOf(const Row& row)
{
    return partView(row, 0);
}

QStringView FileList::previewOf(const Row& row)
{
    return partView(row, 1);
}

QStringView FileList::currentNameOf(const Row& r)
{
    const QStringView renamed = partView(r, 3);
    const bool hasNew = std::any_of(renamed.begin(), renamed.end(), [](QChar c) { return c != u' '; });
    return partView(r, hasNew ? 3 : 0);
}

QByteArray FileList::currentNameBytes(int row) const
{
    const QStringView name = currentName(row);
    return encodeName(name).value_or(name.toUtf8());
}

QByteArray FileList::nameBytes(int row) const
{
    const QStringView name = partView(m_rows[row], 0);
    return encodeName(name).value_or(name.toUtf8());
}

QByteArray FileList::directoryBytes(int row) const
{
    return m_dirs[m_rows[row].dir].bytes;
}

void FileList::initFileList()
{
    m_conflicts.clear();
    ++m_generation;
    ++m_listingVersion;
    m_rows.clear();
    m_rows.shrink_to_fit();
    m_dirs.assign(1, Dir{});
    m_dirs[0].looked = true; // a bare name: the working folder, as it is at the rename
    m_dirIndex.clear();
    m_dirIndex.insert(QByteArray(), 0);
    m_lastDir = 0;
    m_dirtyFirst = m_dirtyLast = -1;
    Q_EMIT listReset();
    if (m_announcedCount != 0) {
        m_announcedCount = 0;
        Q_EMIT fileCountChanged(0);
    }
}

quint32 FileList::internDir(const QByteArray& dir, std::optional<FileIdentity> identity)
{
    if (m_dirs[m_lastDir].bytes != dir) {
        auto it = m_dirIndex.constFind(dir);
        if (it == m_dirIndex.constEnd()) {
            m_dirs.push_back(Dir{dir, decodeName(dir), std::nullopt, false});
            it = m_dirIndex.insert(dir, quint32(m_dirs.size() - 1));
        }
        m_lastDir = it.value();
    }
    // The folder as its first file was listed: a rename later happens in this folder or not at all.
    Dir& d = m_dirs[m_lastDir];
    if (!d.looked) {
        d.looked = true;
        d.identity = identity;
        if (!identity) {
            if (const auto st = m_fs.stat(dir.isEmpty() ? QByteArray(".") : dir); st && st->isDir())
                d.identity = st->identity;
        }
    }
    return m_lastDir;
}

bool FileList::addFileRow(const QByteArray& fullPath)
{
    const qsizetype k = fullPath.lastIndexOf('/') + 1;
    return addFileRow(fullPath.left(k), fullPath.mid(k));
}

bool FileList::addFileRow(const QByteArray& dir, const QByteArray& name)
{
    // A name no file can have ("a\0.txt" would be the file "a" to every system call) is no row.
    if (!isValidFileName(name) || dir.contains('\0'))
        return false;
    addFileRow(dir, name, m_fs.stat(dir + name));
    return true;
}

void FileList::addFileRow(const QByteArray& dir, QByteArrayView name, const std::optional<FileStat>& stat,
                          std::optional<FileIdentity> folder)
{
    Row r;
    // Room for a preview as long as the name, so that the first preview of a long list does not
    // move every row's text.
    r.text = decodeName(name, name.size() + 8);
    r.ends[0] = r.ends[1] = r.ends[2] = quint32(r.text.size());
    r.dir = internDir(dir, folder);
    setDetails(r, stat);
    m_rows.push_back(std::move(r));
    ++m_listingVersion;
    rowChanged(fileCount() - 1);
}

void FileList::setRestored(int row, QStringView name, QStringView result, const FileStat& stat)
{
    Q_ASSERT(row >= 0 && row < fileCount());
    if (row < 0 || row >= fileCount())
        return;
    Row& r = m_rows[row];
    const QStringView preview = partView(r, 1);
    QString text;
    text.reserve(name.size() + preview.size() + result.size());
    text.append(name).append(preview).append(result);
    r.ends[0] = quint32(name.size());
    r.ends[1] = quint32(name.size() + preview.size());
    r.ends[2] = quint32(text.size());
    r.text = std::move(text);
    ++m_listingVersion;
    // A link's details are those of what it points to.
    if (stat.type == FileType::Link)
        setDetails(r, m_fs.stat(pathBytes(row)));
    else
        setDetails(r, stat);
    clearConflicts();
    rowChanged(row);
}

void FileList::setDetails(Row& r, const std::optional<FileStat>& stat)
{
    if (stat) {
        r.size = stat->size;
        r.modified = stat->modifiedMs;
        r.created = stat->createdMs.value_or(NoValue);
        r.stamp = stat->entryStamp;
    } else {
        r.size = r.created = r.modified = NoValue;
        r.stamp = 0;
    }
}

void FileList::fillFileDetails(const QByteArray& fullPath, int row)
{
    setDetails(m_rows[row], m_fs.stat(fullPath));
    rowChanged(row);
}

void FileList::refreshFileList(const std::function<bool(int row)>& progress)
{
    Batch batch(*this);
    for (int i = 0; i < fileCount(); ++i) {
        if (progress && !progress(i))
            break;
        setRefreshed(i, m_fs.stat(directoryBytes(i) + currentNameBytes(i)));
    }
}

void FileList::setRefreshed(int row, const std::optional<FileStat>& stat)
{
    Row& r = m_rows[row];
    // Leading blanks alone do not make a new name; a real one is taken over as stored.
    QString name = currentNameOf(r).toString();
    r.ends[0] = r.ends[1] = r.ends[2] = quint32(name.size());
    r.text = std::move(name);
    ++m_listingVersion;
    setDetails(r, stat);
    clearConflicts();
    rowChanged(row);
}

ListCopy FileList::copy() const
{
    ListCopy c;
    c.rows = m_rows;
    c.folders.reserve(m_dirs.size());
    for (const Dir& d : m_dirs) {
        c.folders.push_back(d.bytes);
        c.folderIdentities.push_back(d.identity);
    }
    return c;
}

QByteArray ListCopy::currentNameBytes(int row) const
{
    const QStringView name = currentName(row);
    return encodeName(name).value_or(name.toUtf8());
}

void FileList::moveBlock(int first, int last, int to)
{
    const int count = last - first + 1;
    if (first < 0 || last >= fileCount() || count < 1 || to < 0 || to + count > fileCount() || to == first)
        return;
    flush();
    clearConflicts();
    ++m_listingVersion;
    const auto at = [this](int row) { return m_rows.begin() + row; };
    if (to < first)
        std::rotate(at(to), at(first), at(last + 1));
    else
        std::rotate(at(first), at(last + 1), at(to + count));
    const int top = std::min(first, to);
    const int bottom = std::max(last, to + count - 1);
    Q_EMIT rowsChanged(top, bottom);
}

void FileList::reorder(const std::vector<int>& order)
{
    Q_ASSERT(int(order.size()) == fileCount());
    if (int(order.size()) != fileCount())
        return;
    flush();
    std::vector<Row> rows;
    rows.reserve(m_rows.size());
    QHash<int, RowMark> marks;
    std::vector<int> newPlace(order.size());
    for (size_t i = 0; i < order.size(); ++i)
        newPlace[size_t(order[i])] = int(i);
    for (size_t i = 0; i < order.size(); ++i) {
        rows.push_back(std::move(m_rows[size_t(order[i])]));
        if (const auto it = m_conflicts.constFind(order[i]); it != m_conflicts.constEnd()) {
            RowMark mark = *it;
            if (mark.otherRow >= 0)
                mark.otherRow = newPlace[size_t(mark.otherRow)];
            marks.insert(int(i), mark);
        }
    }
    m_rows = std::move(rows);
    ++m_generation;
    ++m_listingVersion;
    m_conflicts = std::move(marks);
    if (!m_rows.empty())
        Q_EMIT rowsChanged(0, fileCount() - 1);
    Q_EMIT marksChanged();
}

void FileList::removeBlock(int first, int last)
{
    if (first < 0 || last >= fileCount() || first > last)
        return;
    flush();
    clearConflicts();
    ++m_listingVersion;
    const int oldLast = fileCount() - 1;
    m_rows.erase(m_rows.begin() + first, m_rows.begin() + last + 1);
    Q_EMIT rowsChanged(first, oldLast);
    m_announcedCount = fileCount();
    Q_EMIT fileCountChanged(m_announcedCount);
}

int FileList::gatherMatches(const QString& text)
{
    flush();
    int matches = 0;
    bool moved = false;
    // A match moves up only when a non-match stands before it.
    for (const Row& r : m_rows) {
        const bool match = partView(r, 0).contains(text);
        if (match && matches != int(&r - m_rows.data()))
            moved = true;
        matches += match;
    }
    if (moved) {
        clearConflicts();
        ++m_listingVersion;
        std::stable_partition(m_rows.begin(), m_rows.end(),
                              [&text](const Row& r) { return partView(r, 0).contains(text); });
        Q_EMIT rowsChanged(0, fileCount() - 1);
    }
    return matches;
}

void FileList::setConflicts(QHash<int, RowMark> marks)
{
    if (m_conflicts.isEmpty() && marks.isEmpty())
        return;
    m_conflicts = std::move(marks);
    Q_EMIT marksChanged();
}

void FileList::clearConflicts()
{
    ++m_generation;
    if (m_conflicts.isEmpty())
        return;
    m_conflicts.clear();
    Q_EMIT marksChanged();
}

void FileList::rowChanged(int row)
{
    if (m_dirtyFirst < 0 || row < m_dirtyFirst)
        m_dirtyFirst = row;
    m_dirtyLast = std::max(m_dirtyLast, row);
    if (m_batchDepth == 0)
        flush();
}

void FileList::beginBatch()
{
    // Without an event loop (a fuzzer, a child process) nothing is painted anyway.
    if (m_batchDepth++ == 0 && thread()->eventDispatcher())
        m_batchFlush.start();
}

void FileList::endBatch()
{
    if (--m_batchDepth == 0) {
        m_batchFlush.stop();
        flush();
    }
}

void FileList::flush()
{
    if (m_dirtyFirst >= 0)
        Q_EMIT rowsChanged(m_dirtyFirst, m_dirtyLast);
    m_dirtyFirst = m_dirtyLast = -1;
    if (m_announcedCount != fileCount()) {
        m_announcedCount = fileCount();
        Q_EMIT fileCountChanged(m_announcedCount);
    }
}

} // namespace tamsel
