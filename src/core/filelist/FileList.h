// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/platform/FileSystem.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <limits>
#include <optional>
#include <vector>

namespace tamsel {

class FileSystem;
struct FileStat;

enum Column : int {
    ColNumber,
    ColOriginalName,
    ColPreview,
    ColResult,
    ColDirectory,
    ColFileName,
    ColFileType,
    ColFileSize,
    ColCreated,
    ColModified,
    ColNewName,
    ColumnCount
};

// Why a row's rename would fail, as the conflict check found it.
struct RowMark {
    enum class Kind : quint8 { BadName, SameNewName, NameExists, SourceGone };
    Kind kind = Kind::BadName;
    quint8 fault = 0;  // what is wrong with a bad name (a NameFault)
    int otherRow = -1; // the earlier row that takes the same new name
    QString name;      // the name on disk that exists, or is gone
    bool operator==(const RowMark&) const = default;
};

// The files of the list, rows 0 to fileCount() - 1 in the order a rename takes them.
//
// A row keeps its four text cells that commands write (name, preview, result, new name) in one
// string, its folder as an index into a table shared by all rows of that folder, and its size and
// times as numbers (formatted when shown). Names are text without loss (see NameCodec.h): bytes
// that are not UTF-8 are kept as characters of their own, shown as U+FFFD.
struct ListCopy;

class FileList : public QObject {
    Q_OBJECT
public:
    struct Row {
        QString text;                // name, preview, result, new name, back to back
        quint32 ends[3] = {0, 0, 0}; // where name, preview and result end in text
        quint32 dir = 0;             // index into the folder table
        qint64 size = NoValue;
        qint64 created = NoValue; // milliseconds since the epoch
        qint64 modified = NoValue;
        quint64 stamp = 0; // the name's own entry as listed (FileStat::entryStamp); 0 when not known
    };
    static constexpr qint64 NoValue = std::numeric_limits<qint64>::min();

    explicit FileList(const FileSystem& fs, QObject* parent = nullptr);

    int fileCount() const { return int(m_rows.size()); }

    // The text of a row's cell; "" for the number column and for a row beyond the list.
    QString cell(int row, int column) const;
    // Writes one of the text cells (ColOriginalName, ColPreview, ColResult, ColNewName) of a row.
    void setCell(int row, int column, QStringView text);
    void setCell(int row, int column, const QString& text) { setCell(row, column, QStringView(text)); }
    // The row's file took its preview as its name: the result and the new name, written at once.
    void setRenamed(int row, QStringView result);
    // The row's file has its name back (an undone rename): name, result and details (from stat, the
    // entry as the rename left it), the new name gone, the preview kept.
    void setRestored(int row, QStringView name, QStringView result, const FileStat& stat);
    // The name and the preview of a row, as long as the row is not changed.
    QStringView name(int row) const;
    QStringView preview(int row) const;
    // The file's path as bytes: its folder's bytes and its exact name bytes.
    QByteArray pathBytes(int row) const { return directoryBytes(row) + nameBytes(row); }
    QByteArray nameBytes(int row) const;
    // The name the row's file has now: the new name a rename gave it, until a refresh makes that
    // the name; the name otherwise.
    QStringView currentName(int row) const;
    QByteArray currentNameBytes(int row) const;
    // The folder's bytes, ending with "/" (empty for a bare name).
    QByteArray directoryBytes(int row) const;
    // The row's folder: rows of one folder share it.
    quint32 folderIndex(int row) const { return m_rows[row].dir; }
    // The folders rows have had since the list was last emptied, by index.
    quint32 folderCount() const { return quint32(m_dirs.size()); }
    QByteArray folderPath(quint32 index) const { return m_dirs[index].bytes; }
    QStringView folderText(quint32 index) const { return m_dirs[index].text; }
    // Which file the row's name was when it was listed or last refreshed (its entry, never a link's
    // target), with the size and time shown; stamp 0 when it could not be looked at.
    const Row& details(int row) const { return m_rows[row]; }
    // Which folder it was when its first file was listed; nothing when it could not be looked at.
    std::optional<FileIdentity> folderIdentity(quint32 index) const { return m_dirs[index].identity; }

    void initFileList();
    // False, and no row, for a name no file can have.
    bool addFileRow(const QByteArray& fullPath);
    bool addFileRow(const QByteArray& dir, const QByteArray& name);
    // A row whose file details are known already (from a folder read with stats), and which
    // folder dir was when it was read.
    void addFileRow(const QByteArray& dir, QByteArrayView name, const std::optional<FileStat>& stat,
                    std::optional<FileIdentity> folder = std::nullopt);
    void fillFileDetails(const QByteArray& fullPath, int row);
    // progress receives the row at hand, for a progress bar; false stops the refresh there.
    void refreshFileList(const std::function<bool(int row)>& progress = {});
    // The row as a refresh finds it: its current name becomes its name, preview, result and new name
    // go, and the details are stat's (the file's as found under that name; nothing when it is gone).
    void setRefreshed(int row, const std::optional<FileStat>& stat);

    // Marks of the rows whose rename would fail, each with its reason, as the last check after a
    // preview found them. Any change of order, of a name or of a preview takes them all away.
    void setConflicts(QHash<int, RowMark> marks);
    const RowMark* conflict(int row) const
    {
        const auto it = m_conflicts.constFind(row);
        return it == m_conflicts.constEnd() ? nullptr : &*it;
    }
    int conflictCount() const { return int(m_conflicts.size()); }
    // Counts the changes that take marks away: marks found for one state of the list fit no other.
    quint64 generation() const { return m_generation; }
    // Counts the changes of which files are listed, in which order and under which names; previews,
    // results and marks leave it as it is.
    quint64 listingVersion() const { return m_listingVersion; }

    // The parts of a saved row, as preview() and currentName() give them.
    static QStringView nameOf(const Row& row);
    static QStringView previewOf(const Row& row);
    static QStringView currentNameOf(const Row& row);

    // A copy of a row, as the conflict check reads it.
    Row saveRow(int row) const { return m_rows[row]; }
    // The rows and folders as they are now, for a pass on another thread.
    ListCopy copy() const;

    // Block operations, each in one pass, with the results of moving rows one step at a time.
    // Moves rows first..last so that the block starts at row `to`; the rows it passes keep
    // their order on the other side of it.
    void moveBlock(int first, int last, int to);
    // Puts the rows in the order given (the row numbers they have now, each once); the marks go
    // with their rows.
    void reorder(const std::vector<int>& order);
    // Deletes rows first..last; the rows after them close the gap.
    void removeBlock(int first, int last);
    // Gathers the rows whose name contains text (case-sensitive) at the top, matches and the
    // others each keeping their order. Returns the number of matches.
    int gatherMatches(const QString& text);

    // Changes inside a batch reach the view together, when the batch ends or flush() runs; while
    // a long batch lets events through, every tenth of a second too.
    void beginBatch();
    void endBatch();
    void flush();

    // Holds a batch open for as long as it lives.
    class Batch {
    public:
        explicit Batch(FileList& list) : m_list(list) { m_list.beginBatch(); }
        ~Batch() { m_list.endBatch(); }
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        FileList& m_list;
    };

Q_SIGNALS:
    void fileCountChanged(int count);
    // Rows first..last changed, came or went (those beyond fileCount() went); sent when a batch
    // ends, or at once outside one.
    void rowsChanged(int first, int last);
    // Every row went.
    void listReset();
    // Marks came or went.
    void marksChanged();

private:
    struct Dir {
        QByteArray bytes;
        QString text;
        std::optional<FileIdentity> identity;
        bool looked = false; // identity was asked for
    };
    quint32 internDir(const QByteArray& dir, std::optional<FileIdentity> identity);
    static void setDetails(Row& row, const std::optional<FileStat>& stat);
    void rowChanged(int row);
    void clearConflicts();

    const FileSystem& m_fs;
    std::vector<Row> m_rows;
    std::vector<Dir> m_dirs;
    QHash<QByteArray, quint32> m_dirIndex;
    QHash<int, RowMark> m_conflicts;
    quint64 m_generation = 0;
    quint64 m_listingVersion = 0;
    quint32 m_lastDir = 0;

    int m_batchDepth = 0;
    QTimer m_batchFlush;
    int m_dirtyFirst = -1; // first and last rows changed since the last flush
    int m_dirtyLast = -1;
    int m_announcedCount = 0;
};

// The rows and folders of a list as they were when copied, read by a pass on another thread while
// the window changes the list itself. The rows share their texts with the list.
struct ListCopy {
    std::vector<FileList::Row> rows;
    std::vector<QByteArray> folders;
    std::vector<std::optional<FileIdentity>> folderIdentities;

    int fileCount() const { return int(rows.size()); }
    QStringView preview(int row) const { return FileList::previewOf(rows[size_t(row)]); }
    QStringView currentName(int row) const { return FileList::currentNameOf(rows[size_t(row)]); }
    QByteArray currentNameBytes(int row) const;
    QByteArray directoryBytes(int row) const { return folders[rows[size_t(row)].dir]; }
    QByteArray pathBytes(int row) const { return directoryBytes(row) + currentNameBytes(row); }
};

} // namespace tamsel
