// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

namespace tamsel::test {

// Runs the child rename pass (tests/core/rename/RenameChild.cpp, at program) over files in folder
// and kills it at the step stop names, once it waits there: the changes before that step are done,
// none after it. False when the child ended without reaching the step.
bool killedPass(const QString& program, const QByteArray& folder, int files, int round, const QString& mode,
                const QByteArray& stop);

} // namespace tamsel::test
