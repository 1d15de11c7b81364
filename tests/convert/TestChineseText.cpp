// SPDX-License-Identifier: GPL-3.0-or-later
#include "convert/LibraryChineseText.h"
#include "core/rename/rules/ConvertRule.h"

#include <QFile>
#include <QTest>

using namespace tamsel;
using namespace Qt::StringLiterals;

class TestChineseText : public QObject {
    Q_OBJECT
    LibraryChineseText m_text;

    QString converted(const ConvertInputs& inputs, const QString& name)
    {
        const ConvertRule rule(inputs, &m_text);
        QString out;
        return rule.step(RowName::split(name, 0), {}, out).named ? out : u"-"_s;
    }

private Q_SLOTS:
    void scripts_data()
    {
        QTest::addColumn<Script>("script");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("result");
        const auto t2s = Script::TraditionalToSimplified;
        const auto s2t = Script::SimplifiedToTraditional;
        QTest::newRow("t2s phrases") << t2s << u"頭髮與發展.txt"_s << u"头发与发展.txt"_s;
        QTest::newRow("t2s 乾 and 幹") << t2s << u"乾燥的樹幹"_s << u"干燥的树干"_s;
        QTest::newRow("s2t 干部, 头发") << s2t << u"干部的头发"_s << u"幹部的頭髮"_s;
        QTest::newRow("s2t 发展") << s2t << u"发展报告"_s << u"發展報告"_s;
        QTest::newRow("s2tw") << Script::SimplifiedToTaiwan << u"着急的里面"_s << u"著急的裡面"_s;
        QTest::newRow("s2hk") << Script::SimplifiedToHongKong << u"着急的里面"_s << u"着急的裏面"_s;
        QTest::newRow("nothing to convert") << t2s << u"report 2024.txt"_s << u"-"_s;
        // Bytes that are not UTF-8 stay where they are; the text around them is converted.
        QTest::newRow("bytes kept") << t2s << u"頭\xdcff髮.txt"_s << u"头\xdcff发.txt"_s;
    }
    void scripts()
    {
        QFETCH(Script, script);
        QFETCH(QString, name);
        QFETCH(QString, result);
        QCOMPARE(converted({ConvertInputs::Kind::Script, script, {}, 0}, name), result);
    }

    void pinyinStyles_data()
    {
        QTest::addColumn<PinyinStyle>("style");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("result");
        const QString name = u"重庆银行2024.pdf"_s;
        QTest::newRow("joined") << PinyinStyle::Joined << name << u"chongqingyinhang2024.pdf"_s;
        QTest::newRow("spaced") << PinyinStyle::Spaced << name << u"chongqing yinhang 2024.pdf"_s;
        QTest::newRow("capitalized") << PinyinStyle::Capitalized << name << u"ChongqingYinhang2024.pdf"_s;
        QTest::newRow("initials") << PinyinStyle::Initials << name << u"cqyh2024.pdf"_s;
        QTest::newRow("letters kept") << PinyinStyle::Spaced << u"A-音乐_b"_s << u"A-yinyue_b"_s;
        QTest::newRow("no Han") << PinyinStyle::Joined << u"notes.txt"_s << u"-"_s;
    }
    void pinyinStyles()
    {
        QFETCH(PinyinStyle, style);
        QFETCH(QString, name);
        QFETCH(QString, result);
        QCOMPARE(converted({ConvertInputs::Kind::Pinyin, {}, style, 0}, name), result);
    }

    // Words whose reading depends on the word, read by word: at least 95% of the list right.
    void polyphones()
    {
        QFile file(QStringLiteral(TAMSEL_POLYPHONES));
        QVERIFY(file.open(QIODevice::ReadOnly));
        int total = 0;
        QStringList wrong;
        for (const QByteArray& line : file.readAll().split('\n')) {
            if (line.isEmpty() || line.startsWith('#'))
                continue;
            const QList<QByteArray> parts = line.split('\t');
            const QString word = QString::fromUtf8(parts[0]);
            std::vector<QString> words;
            m_text.readWords(word, words);
            QStringList read(words.begin(), words.end());
            ++total;
            if (read.join(u' ') != QString::fromUtf8(parts[1]))
                wrong << word + u' ' + read.join(u' ');
        }
        qInfo("%lld of %d polyphone words right; wrong: %s", total - wrong.size(), total,
              qPrintable(wrong.join(u", ")));
        QVERIFY(total >= 100);
        QVERIFY2(wrong.size() * 20 <= total, qPrintable(wrong.join(u", ")));
    }
};

QTEST_GUILESS_MAIN(TestChineseText)
#include "TestChineseText.moc"
