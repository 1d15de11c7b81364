// SPDX-License-Identifier: GPL-3.0-or-later
#include <QTest>
class TestFileListCommands : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void placeholder() {}
};
QTEST_MAIN(TestFileListCommands)
#include "TestFileListCommands.moc"
