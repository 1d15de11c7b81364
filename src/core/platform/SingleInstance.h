// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLockFile>
#include <QString>

namespace tamsel {

// One running instance per user: a lock file in the user's runtime directory. A lock left by a
// process that no longer runs is taken over.
class SingleInstance {
public:
    explicit SingleInstance(const QString& name);
    bool tryAcquire();
    QString lockPath() const { return m_path; }

private:
    QString m_path;
    QLockFile m_lock;
};

} // namespace tamsel
