// SPDX-License-Identifier: GPL-3.0-or-later
#include <QTest>
class TestEndToEnd : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void placeholder() {}
};
QTEST_MAIN(TestEndToEnd)
#include "TestEndToEnd.moc"
