// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/filelist/FileList.h"
#include "core/filelist/ListSort.h"
#include "core/platform/FileSystem.h"
#include "core/text/NameCodec.h"

#include <QRandomGenerator>
#include <QTest>
#include <algorithm>

using namespace tamsel;
using namespace Qt::StringLiterals;

class TestListSort : public QObject {
    Q_OBJECT
    PosixFileSystem m_fs;

    // The names in the order a sort by column puts them, listed in the order given.
    QStringList sorted(const QStringList& names, int column = ColOriginalName, bool descending = false)
    {
        FileList list(m_fs);
        for (const QString& n : names)
            list.addFileRow(QByteArray("/none/"), *encodeName(n), FileStat{});
        list.reorder(sortedOrder(list, column, descending));
        QStringList out;
        for (int r = 0; r < list.fileCount(); ++r)
            out << list.name(r).toString();
        return out;
    }

private Q_SLOTS:
    void orders_data()
    {
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("episodes") << QStringList{u"第一集.mp4"_s, u"第2集.mp4"_s,  u"第九集.mp4"_s,
                                                 u"第10集.mp4"_s, u"第十集.mp4"_s, u"第十二集.mp4"_s};
        QTest::newRow("case and value") << QStringList{u"img1.jpg"_s, u"IMG2.jpg"_s, u"img12.jpg"_s};
        QTest::newRow("hundreds") << QStringList{u"第九十九集"_s, u"第一百集"_s, u"第一百零五集"_s,
                                                 u"第二百集"_s,   u"第一千集"_s, u"第三万五千集"_s};
        QTest::newRow("leading zeros break ties") << QStringList{u"00"_s, u"0"_s, u"1"_s, u"01a"_s, u"1a"_s};
        QTest::newRow("beyond 64 bits") << QStringList{
            u"9"_s, u"18446744073709551615"_s, u"18446744073709551616"_s, u"1"_s + QString(200, u'0')};
        QTest::newRow("full-width digits") << QStringList{u"２"_s, u"3"_s, u"１２"_s, u"13"_s};
        QTest::newRow("pinyin") << QStringList{u"阿"_s, u"李"_s, u"张"_s};
        QTest::newRow("words that begin with a numeral")
            << QStringList{u"金山"_s,   u"九寨沟"_s,   u"卢明"_s, u"陆丹"_s,     u"三国演义"_s,
                           u"水浒传"_s, u"万里长城"_s, u"王菲"_s, u"伍佰.mp3"_s, u"一千零一夜"_s};
        QTest::newRow("numerals standing alone")
            << QStringList{u"三"_s, u"十二"_s, u"vol 九.txt"_s, u"vol 十.txt"_s, u"阿"_s};
        QTest::newRow("mixed scripts") << QStringList{u"-x"_s,     u"5"_s,     u"Äpfel"_s, u"apple"_s,
                                                      u"banana"_s, u"zebra"_s, u"报告"_s,  u"照片"_s};
        QTest::newRow("shorter first") << QStringList{u"a"_s, u"a.txt"_s, u"a1"_s, u"ab"_s};
        QTest::newRow("bytes that are not UTF-8 last")
            << QStringList{u"z"_s, u"照片"_s, decodeName("a\xff"), decodeName("b\xfe")};
    }
    void orders()
    {
        QFETCH(QStringList, expected);
        QStringList reversed = expected;
        std::reverse(reversed.begin(), reversed.end());
        QCOMPARE(sorted(reversed), expected);
        QCOMPARE(sorted(expected, ColOriginalName, true), reversed);
    }

    // The order of two names is the same whatever else is listed, and whatever order they are
    // listed in: a total order.
    void anOrderOfItsOwn()
    {
        const QString alphabet = u"0０1２9十百万一二零两aAbé.-_ 阿李张照片Ω"_s;
        const quint32 seed = QRandomGenerator::global()->generate();
        QRandomGenerator rng(seed);
        QStringList names;
        while (names.size() < 1500) {
            QString n;
            for (int i = int(rng.bounded(1, 8)); i > 0; --i)
                n += alphabet[rng.bounded(alphabet.size())];
            if (!names.contains(n))
                names << n;
        }
        const QStringList all = sorted(names);
        std::shuffle(names.begin(), names.end(), std::mt19937(seed));
        QVERIFY2(sorted(names) == all, qPrintable(u"seed %1"_s.arg(seed)));
        for (int i = 0; i < 300; ++i) {
            const qsizetype a = rng.bounded(all.size());
            const qsizetype b = rng.bounded(all.size());
            if (a != b)
                QCOMPARE(sorted({all[b], all[a]}), (QStringList{all[std::min(a, b)], all[std::max(a, b)]}));
        }
    }

    // Other columns: types with the extensionless first, sizes by bytes; equal rows keep their
    // order both ways, and the marks go with their rows (a mark's other row too).
    void columnsAndStability()
    {
        QCOMPARE(sorted({u"b.txt"_s, u"a.TXT"_s, u"c"_s, u"d.jpg"_s}, ColFileType),
                 (QStringList{u"c"_s, u"d.jpg"_s, u"a.TXT"_s, u"b.txt"_s}));
        FileList list(m_fs);
        const qint64 sizes[] = {10, 9, 10, 100, 9};
        for (int i = 0; i < 5; ++i) {
            FileStat st;
            st.size = sizes[i];
            list.addFileRow(QByteArray("/none/"), QByteArray("f" + QByteArray::number(i)), st);
        }
        const RowMark clash{RowMark::Kind::SameNewName, 0, 0, {}};
        list.setConflicts({{3, clash}});
        list.reorder(sortedOrder(list, ColFileSize, false));
        QStringList names;
        for (int r = 0; r < 5; ++r)
            names << list.name(r).toString();
        QCOMPARE(names, (QStringList{u"f1"_s, u"f4"_s, u"f0"_s, u"f2"_s, u"f3"_s}));
        QCOMPARE(list.conflictCount(), 1);
        QVERIFY(list.conflict(4));
        QCOMPARE(*list.conflict(4), (RowMark{RowMark::Kind::SameNewName, 0, 2, {}}));
        list.reorder(sortedOrder(list, ColFileSize, true));
        QCOMPARE(list.name(0), u"f3"_s);
        QCOMPARE(list.name(1), u"f0"_s); // 10 and 10 as they stood
        QCOMPARE(list.name(3), u"f1"_s);
    }
};

QTEST_GUILESS_MAIN(TestListSort)
#include "TestListSort.moc"
