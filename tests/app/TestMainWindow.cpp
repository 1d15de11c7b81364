#include <QTest>
class TestMainWindow : public QObject { Q_OBJECT };
QTEST_GUILESS_MAIN(TestMainWindow)
#include "TestMainWindow.moc"
