// SPDX-License-Identifier: GPL-3.0-or-later
// Result cells that name what the passes found, so engine tests read kinds, not the window's texts.
#pragma once

#include "core/rename/PassOutcomes.h"

namespace tamsel::test {

class KindTexts final : public PassTexts {
public:
    QString renamed(const RenamedRow& row) const override
    {
        switch (row.kind) {
        case RenamedRow::Kind::Untouched:
            return QStringLiteral("untouched");
        case RenamedRow::Kind::Renamed:
            return row.unguarded ? QStringLiteral("renamed unguarded") : QStringLiteral("renamed");
        case RenamedRow::Kind::NotReached:
            return {};
        case RenamedRow::Kind::Failed:
            break;
        }
        if (!row.leftAs.isEmpty())
            return QStringLiteral("failed, left as ") + QString::fromUtf8(row.leftAs);
        if (!row.extraName.isEmpty())
            return QStringLiteral("failed, extra name ") + QString::fromUtf8(row.extraName);
        return QStringLiteral("failed");
    }
    QString undone(const UndoneFile& file) const override
    {
        if (file.restored)
            return file.unguarded ? QStringLiteral("undone unguarded") : QStringLiteral("undone");
        QString text = QStringLiteral("undo failed: ") + errorName(file.error);
        if (!file.leftAs.isEmpty())
            text += QStringLiteral(", left as ") + QString::fromUtf8(file.leftAs);
        return text;
    }
    static QString errorName(const Failure& error)
    {
        switch (error.kind) {
        case Failure::Kind::None:
            return QStringLiteral("none");
        case Failure::Kind::InvalidName:
            return QStringLiteral("invalid name");
        case Failure::Kind::FileReplaced:
            return QStringLiteral("replaced");
        case Failure::Kind::NameNotHeld:
            return QStringLiteral("name not held");
        case Failure::Kind::IdentityUnknown:
            return QStringLiteral("identity unknown");
        case Failure::Kind::System:
            break;
        }
        return QStringLiteral("errno ") + QString::number(error.errnum);
    }
};

} // namespace tamsel::test
