// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>

namespace tamsel::test {

// A temporary folder with real files; names are bytes, so tests can make names that are not UTF-8.
class TempTree {
public:
    TempTree();
    // Removes the tree by its bytes: QTemporaryDir cannot remove names that are not UTF-8.
    ~TempTree();
    bool isValid() const { return m_dir.isValid(); }
    // The folder's path with a trailing "/".
    QByteArray root() const;
    QByteArray file(const QByteArray& relative, qint64 size = 0);
    // A file holding content.
    QByteArray write(const QByteArray& relative, const QByteArray& content);
    QByteArray folder(const QByteArray& relative);

private:
    QTemporaryDir m_dir;
};

// The content of the file at path, or "<missing>".
QByteArray contentOf(const QByteArray& path);

// The names in folder, sorted; hidden names included.
QList<QByteArray> namesIn(const QByteArray& folder);

// Runs a helper program (mkfs, mount…); true when it ran and exited with 0.
bool runProgram(const QString& program, const QStringList& args);

// An 8 MB vfat image in tree mounted through FUSE (fusefat) at the folder name, where root may
// mount it; unmounted when it goes.
class FuseVfatMount {
public:
    FuseVfatMount(TempTree& tree, const QByteArray& name);
    ~FuseVfatMount();
    FuseVfatMount(const FuseVfatMount&) = delete;
    FuseVfatMount& operator=(const FuseVfatMount&) = delete;
    bool mounted() const { return m_mounted; }
    // With a trailing "/".
    QByteArray path() const { return m_path; }
    // Unmounts, and checks the image with fsck.fat (without changing it): true when it is sound.
    bool unmountSound();

private:
    QByteArray m_path;
    QString m_image;
    bool m_mounted = false;
};

} // namespace tamsel::test
