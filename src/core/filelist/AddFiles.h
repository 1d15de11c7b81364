// SPDX-License-Identifier: GPL-3.0-or-later
// Filling the list from picked files and from folders.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

namespace tamsel {

class FileList;
class FileSystem;

// What a folder walk needs from its surroundings.
struct WalkHooks {
    std::function<void()> yield;   // lets pending window events through (every few milliseconds)
    std::function<bool()> stopped; // true once the program is ending
    std::function<void()> failed;  // a folder of the recursive walk could not be read
};

// Appends the files of folder and of every folder below it: a folder's own files before those of
// its sub-folders, each in the order the file system returns them. Links are listed as files and
// never followed. A folder that cannot be read reports failed() and is skipped; its siblings go on.
// Returns false when the folder itself could not be read.
bool addFolderRecursive(FileList& list, const FileSystem& fs, QByteArray folder, const WalkHooks& hooks);

// Appends the files directly inside folder; false, silently, when it cannot be read.
bool addFolderFlat(FileList& list, const FileSystem& fs, QByteArray folder, const WalkHooks& hooks);

// Appends the files chosen in a file dialog, in the dialog's order.
void addPickedFiles(FileList& list, const FileSystem& fs, const QStringList& paths);

// The exact bytes of a path that a dialog gave as text. Dialogs show names that are not UTF-8
// with replacement characters; such a component is looked up among its folder's entries.
QByteArray resolvePath(const FileSystem& fs, const QString& path);

// path made absolute against workingDir, with "." and empty components dropped and ".." taken
// back by name, as a shell user reads it: "photos/./2024/" in /home/li is /home/li/photos/2024.
QByteArray absolutePath(const QByteArray& path, const QByteArray& workingDir);

} // namespace tamsel
