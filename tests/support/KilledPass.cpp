// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/KilledPass.h"

#include <QFile>
#include <QProcess>

namespace tamsel::test {

bool killedPass(const QString& program, const QByteArray& folder, int files, int round, const QString& mode,
                const QByteArray& stop)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(program, {QFile::decodeName(folder), QString::number(files), QString::number(round), mode,
                          QString::fromLatin1(stop)});
    if (!child.waitForStarted(20000))
        return false;
    for (;;) {
        // Ended, and every line it wrote read: it never reached the step.
        const bool ended = child.state() == QProcess::NotRunning;
        while (child.canReadLine()) {
            if (child.readLine() == "waiting\n") {
                // QProcess's own kill: kill(0) of a child that has ended would take the whole
                // process group with it.
                child.kill();
                child.waitForFinished(20000);
                return true;
            }
        }
        if (ended)
            return false;
        child.waitForReadyRead(1000);
    }
}

} // namespace tamsel::test
