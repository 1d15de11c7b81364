// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/platform/FileSystem.h"
#include "core/rename/NameFile.h"
#include "support/TempTree.h"

#include <QFile>
#include <QTest>
#include <sys/stat.h>

using namespace tamsel;
using namespace Qt::StringLiterals;
using tamsel::test::TempTree;

class TestNameFile : public QObject {
    Q_OBJECT
    PosixFileSystem m_fs;

    QByteArray write(TempTree& tree, const QByteArray& name, const QByteArray& bytes)
    {
        const QByteArray path = tree.root() + name;
        QFile f(QString::fromUtf8(path));
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
        return path;
    }

private Q_SLOTS:
    void lines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("blank line and leading spaces")
            << QByteArray("alpha\r\n\r\n   beta\r\ngamma\r\n") << u"alpha\nbeta\ngamma\n"_s;
        QTest::newRow("LF only") << QByteArray("a\nb\n") << u"a\nb\n"_s;
        QTest::newRow("CR only") << QByteArray("a\rb") << u"a\nb\n"_s;
        QTest::newRow("trailing blanks kept") << QByteArray("a  \n\t b\n") << u"a  \n\t b\n"_s;
        QTest::newRow("UTF-8 BOM") << QByteArray("\xef\xbb\xbf名一\r\n名二") << u"名一\n名二\n"_s;
        QTest::newRow("UTF-8") << QByteArray("照片\n") << u"照片\n"_s;
        QTest::newRow("GB18030") << QByteArray("\xd5\xd5\xc6\xac\r\n\xce\xc4\xbc\xfe") << u"照片\n文件\n"_s;
        QTest::newRow("UTF-16LE") << QByteArray("\xff\xfe"
                                                "a\0\r\0\n\0\x67\x71",
                                                10)
                                  << u"a\n照\n"_s;
        QTest::newRow("UTF-16BE") << QByteArray("\xfe\xff\0b\0\n", 6) << u"b\n"_s;
        QTest::newRow("empty") << QByteArray() << QString();
    }
    void lines()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        const LoadedNames loaded = namesFromBytes(bytes);
        QCOMPARE(loaded.refusal, NameFileRefusal::None);
        QCOMPARE(loaded.text, text);
    }

    void undecodableBytesAreNotCutShort()
    {
        // Bytes that start no GB18030 character each become a replacement character.
        const auto text = decodeText(QByteArray(3000, '\xff'));
        QVERIFY(text);
        QCOMPARE(text->size(), 3000);
        QCOMPARE(text->count(QChar::ReplacementCharacter), 3000);
    }

    void refusals()
    {
        TempTree tree;
        const LoadedNames binary = loadNameFile(m_fs, write(tree, "bin.txt", QByteArray("ab\0cd", 5)));
        QCOMPARE(binary.refusal, NameFileRefusal::NotText);
        QCOMPARE(binary.text, QString());
        // A named pipe with no writer is refused at once instead of waiting.
        const QByteArray fifo = tree.root() + "pipe.txt";
        QCOMPARE(::mkfifo(fifo.constData(), 0644), 0);
        QCOMPARE(loadNameFile(m_fs, fifo).refusal, NameFileRefusal::Unreadable);
        const LoadedNames big = loadNameFile(m_fs, tree.file("big.txt", NameFileLimit + 1));
        QCOMPARE(big.refusal, NameFileRefusal::TooLarge);
        // No file: nothing, and nothing to say.
        for (const QByteArray& path :
             QList<QByteArray>{QByteArray(), tree.root() + "missing.txt", tree.folder("dir")}) {
            const LoadedNames none = loadNameFile(m_fs, path);
            QCOMPARE(none.text, QString());
            QCOMPARE(none.refusal, NameFileRefusal::None);
        }
    }
};

QTEST_GUILESS_MAIN(TestNameFile)
#include "TestNameFile.moc"
