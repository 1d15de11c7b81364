// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/rename/ConflictCheck.h"

#include "core/filelist/FileList.h"
#include "core/platform/FileSystem.h"
#include "core/text/NameCodec.h"
#include "core/text/PlainText.h"

#include <QHash>
#include <vector>

namespace tamsel {
namespace {

// A name in a folder as the pass would find it.
struct Name {
    bool present = false; // on disk, or taken by an earlier row, and not renamed away
    int takenBy = 0;      // the row that gave a file this name, if one did
};

struct Move {
    int row;
    quint32 folder;
    QByteArray from;
    QByteArray to;
};

QString number(int n)
{
    return QString::number(n);
}

} // namespace

int markConflicts(FileList& list, const FileSystem& fs)
{
    QHash<int, QString> reasons;
    std::vector<Move> moves;
    QHash<quint32, QHash<QByteArray, Name>> folders;
    QHash<quint32, QByteArray> folderPaths;
    for (int r = 1; r <= list.fileCount(); ++r) {
        const QString preview = list.cell(r, ColPreview);
        if (isBlank(preview) || preview == list.name(r))
            continue;
        const auto to = encodeName(preview);
        if (!to || !isValidFileName(*to)) {
            reasons.insert(r,
                           QStringLiteral("新文件名不合法：不能含有“/”，不能是“.”或“..”，不能超过255个字节"));
            continue;
        }
        const quint32 folder = list.folderIndex(r);
        auto& names = folders[folder];
        if (names.isEmpty())
            folderPaths.insert(folder, list.directoryBytes(r));
        Move move{r, folder, list.nameBytes(r), *to};
        names.insert(move.from, {});
        names.insert(move.to, {});
        moves.push_back(std::move(move));
    }
    // What is on disk now: each folder read once.
    for (auto it = folders.begin(); it != folders.end(); ++it) {
        auto& names = it.value();
        if (const auto folder = fs.openFolder(folderPaths.value(it.key()))) {
            folder->listNames([&](const QByteArray& entry) {
                if (const auto found = names.find(entry); found != names.end())
                    found->present = true;
                return true;
            });
        }
    }
    for (const Move& move : moves) {
        auto& names = folders[move.folder];
        Name& to = names[move.to];
        Name& from = names[move.from];
        if (to.present && to.takenBy != 0) {
            reasons.insert(move.row, QStringLiteral("与第［") + number(to.takenBy) +
                                         QStringLiteral("］行的新文件名相同"));
        } else if (to.present) {
            reasons.insert(move.row, QStringLiteral("文件［") + displayName(decodeName(move.to)) +
                                         QStringLiteral("］已存在"));
        } else if (!from.present) {
            reasons.insert(move.row, QStringLiteral("原文件［") + displayName(decodeName(move.from)) +
                                         QStringLiteral("］已不存在"));
        } else {
            from = {};
            to = {true, move.row};
        }
    }
    const int count = int(reasons.size());
    list.setConflicts(std::move(reasons));
    return count;
}

} // namespace tamsel
