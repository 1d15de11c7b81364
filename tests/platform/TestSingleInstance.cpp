#include <QTest>
class TestSingleInstance : public QObject { Q_OBJECT };
QTEST_GUILESS_MAIN(TestSingleInstance)
#include "TestSingleInstance.moc"
