// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer targets, one executable each (TAMSEL_FUZZ_TARGET picks the target). Each checks
// invariants, not only that nothing crashes; a broken one aborts with a message.
#include "core/filelist/CellText.h"
#include "core/filelist/FileList.h"
#include "core/platform/FileSystem.h"
#include "core/platform/SingleInstance.h"
#include "core/rename/NameFile.h"
#include "core/rename/PreviewPass.h"
#include "core/rename/rules/CaseRule.h"
#include "core/rename/rules/DeleteRule.h"
#include "core/rename/rules/InsertRule.h"
#include "core/rename/rules/NameListRule.h"
#include "core/rename/rules/NumberingRule.h"
#include "core/rename/rules/ReplaceRule.h"
#include "core/text/NameCodec.h"
#include "core/text/PlainText.h"

#include <QStringEncoder>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>

using namespace tamsel;

namespace {

[[noreturn]] void broken(const char* invariant, const QString& detail = {})
{
    std::fprintf(stderr, "invariant broken: %s\n%s\n", invariant, detail.toUtf8().constData());
    std::abort();
}

#define CHECK(condition, detail)                                                                             \
    do {                                                                                                     \
        if (!(condition))                                                                                    \
            broken(#condition, detail);                                                                      \
    } while (false)

// A file system with nothing on it: the rules never look at the disk.
class NoFileSystem final : public FileSystem {
public:
    Result<FileStat> stat(const QByteArray&) const override { return Result<FileStat>::failed(ENOENT); }
    bool listDir(const QByteArray&, const std::function<bool(const DirEntry&)>&, bool,
                 std::optional<FileIdentity>) const override
    {
        return false;
    }
    Result<std::unique_ptr<Folder>> openFolder(const QByteArray&) const override
    {
        return Result<std::unique_ptr<Folder>>::failed(ENOENT);
    }
    bool fileExists(const QByteArray&) const override { return false; }
    Result<QByteArray> readFile(const QByteArray&, qint64) const override
    {
        return Result<QByteArray>::failed(ENOENT);
    }
};

// Short text: mostly from an alphabet rich in dots, blanks and digits, sometimes raw bytes.
QString text(FuzzedDataProvider& data, size_t maxBytes = 12)
{
    const std::string raw = data.ConsumeRandomLengthString(maxBytes);
    if (data.ConsumeBool())
        return decodeName(QByteArrayView(raw.data(), qsizetype(raw.size())));
    static const char16_t alphabet[] = u". .aAzZ09/\\名照片无后缀名_-\t";
    QString out;
    for (const char c : raw)
        out += QChar(alphabet[uchar(c) % (std::size(alphabet) - 1)]);
    return out;
}

// A file name as a folder listing gives it: never "/" or NUL, never empty.
QByteArray fileName(FuzzedDataProvider& data)
{
    QByteArray name = text(data, 16).toUtf8();
    if (data.ConsumeBool()) {
        const std::string raw = data.ConsumeRandomLengthString(8);
        name += QByteArray(raw.data(), qsizetype(raw.size()));
    }
    name.replace('/', '_').replace('\0', '_');
    return name.isEmpty() ? QByteArray("x") : name;
}

// The rules by target name, in the order of their tabs.
const char* const RuleTargets[] = {"numbering", "delete", "insert", "replace", "case", "namelist"};
constexpr int RuleCount = int(std::size(RuleTargets));

struct Case {
    QList<QByteArray> names;
    std::unique_ptr<Rule> rule;
    QString typed; // the text the rule writes names from, besides the names themselves
    bool keepsOwnExtension = false;
    std::function<bool(const QString& name)> unchanged; // names the rule must leave as they are
    quint8 answers = 0;
};

// mode: the rule's index in RuleTargets, or -1 for one the data picks.
Case makeCase(FuzzedDataProvider& data, int mode)
{
    Case c;
    const int files = data.ConsumeIntegralInRange(1, 6);
    for (int i = 0; i < files; ++i)
        c.names << fileName(data);
    if (mode < 0)
        mode = data.ConsumeIntegralInRange(0, RuleCount - 1);
    c.answers = data.ConsumeIntegral<quint8>();
    // Every rule's inputs are read, in the same order whatever the rule, so that one input drives each.
    NumberingInputs numbering;
    const int model = data.ConsumeIntegralInRange(0, 3);
    if (model < 3)
        numbering.model = OrdinalModel(model);
    numbering.start = text(data, 4);
    numbering.increment = text(data, 3);
    numbering.width = text(data, 2);
    numbering.prefix = text(data);
    numbering.suffix = text(data);
    numbering.keepExtension = data.ConsumeBool();
    numbering.newExtension = text(data, 6);
    const DeleteInputs deletion{text(data, 3), text(data, 3), data.ConsumeBool(), data.ConsumeBool()};
    const InsertInputs insertion{text(data), text(data, 3), data.ConsumeBool()};
    const ReplaceInputs replacement{text(data, 4), text(data, 4), data.ConsumeBool()};
    const auto mainCase = CaseChange(data.ConsumeIntegralInRange(0, 3));
    const auto extensionCase = CaseChange(data.ConsumeIntegralInRange(0, 3));
    const QString names = text(data, 40);
    const auto never = [](const QString&) { return false; };
    const std::function<void()> makers[] = {
        [&] {
            c.rule = std::make_unique<NumberingRule>(numbering);
            c.typed = numbering.start + numbering.prefix + numbering.suffix +
                      (numbering.keepExtension ? QString() : numbering.newExtension);
            c.keepsOwnExtension = numbering.keepExtension;
            c.unchanged = never;
        },
        [&] {
            c.rule = std::make_unique<DeleteRule>(deletion);
            c.keepsOwnExtension = true;
            c.unchanged = never;
        },
        [&] {
            c.rule = std::make_unique<InsertRule>(insertion);
            c.typed = insertion.text;
            c.keepsOwnExtension = true;
            c.unchanged = never;
        },
        [&] {
            c.rule = std::make_unique<ReplaceRule>(replacement);
            c.typed = replacement.deleteOnly ? QString() : replacement.replacement;
            c.keepsOwnExtension = true;
            c.unchanged = [find = replacement.find](const QString& name) {
                return find.isEmpty() || !name.contains(find);
            };
        },
        [&] {
            c.rule = std::make_unique<CaseRule>(mainCase, extensionCase);
            const bool keep = mainCase == CaseChange::Keep && extensionCase == CaseChange::Keep;
            c.unchanged = [keep](const QString&) { return keep; };
        },
        [&] {
            c.rule = std::make_unique<NameListRule>(names);
            c.typed = names;
            c.keepsOwnExtension = true;
            c.unchanged = never;
        },
    };
    makers[mode]();
    return c;
}

QStringList preview(const Case& c)
{
    NoFileSystem fs;
    FileList list(fs);
    for (const QByteArray& name : c.names)
        list.addFileRow("/d/", name);
    // The rule's questions answered from a fixed list of answers, the same on every run.
    QList<bool> answers;
    RulePlan plan = c.rule->plan(list.fileCount(), answers);
    while (plan.refusal == PlanRefusal::None && plan.question != PlanQuestion::None && answers.size() < 8) {
        answers << bool((c.answers >> answers.size()) & 1);
        plan = c.rule->plan(list.fileCount(), answers);
    }
    previewPass(list, *c.rule, plan);
    QStringList previews;
    for (int r = 0; r < list.fileCount(); ++r)
        previews << list.cell(r, ColPreview);
    return previews;
}

void checkPreview(const Case& c)
{
    const QStringList previews = preview(c);
    CHECK(previews == preview(c), QStringLiteral("the same list and inputs gave two previews"));
    for (qsizetype r = 0; r < previews.size(); ++r) {
        const QString& out = previews[r];
        if (out.isEmpty())
            continue;
        const QString name = decodeName(c.names[r]);
        const QString from = QStringLiteral("row %1: %2 -> %3").arg(r + 1).arg(name, out);
        for (const QChar bad : {QChar(u'/'), QChar(u'\0')})
            CHECK(!out.contains(bad) || c.typed.contains(bad) || name.contains(bad), from);
        if (c.keepsOwnExtension) {
            const QStringView tail = QStringView(name).mid(mainNameOf(name).size());
            CHECK(out.endsWith(tail), from);
        }
        // What came from the name keeps its bytes: only typed text can hold what no file name can.
        CHECK(encodeName(out) || !encodeName(c.typed), from);
        if (c.unchanged(name))
            CHECK(out == name, from);
    }
}

// Lines encoded in one of the encodings a name list may come in, and read back.
void checkNameList(FuzzedDataProvider& data)
{
    const int encoding = data.ConsumeIntegralInRange(0, 4);
    const char* ends[] = {"\n", "\r\n", "\r"};
    QStringList lines;
    QString content;
    const int count = data.ConsumeIntegralInRange(0, 8);
    for (int i = 0; i < count; ++i) {
        QString line = text(data, 20);
        // Line ends are added below; a byte-order mark at the start is taken for what it marks.
        line.remove(u'\n').remove(u'\r').remove(QChar(0)).remove(QChar(0xFEFF));
        // Characters that stand for bytes are no text a file can hold.
        if (!encodeName(line) || hasEscapes(line))
            line = QStringLiteral("x");
        lines << line;
        content += line + QLatin1String(ends[data.ConsumeIntegralInRange(0, 2)]);
    }
    QByteArray bytes;
    switch (encoding) {
    case 0:
        bytes = content.toUtf8();
        break;
    case 1:
        bytes = "\xef\xbb\xbf" + content.toUtf8();
        break;
    case 2:
        bytes = QStringEncoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom).encode(content);
        break;
    case 3:
        bytes = QStringEncoder(QStringConverter::Utf16BE, QStringConverter::Flag::WriteBom).encode(content);
        break;
    default: {
        QStringEncoder gb("GB18030");
        bytes = gb.isValid() ? QByteArray(gb.encode(content)) : content.toUtf8();
        // Bytes that happen to be valid UTF-8 are read as UTF-8: nothing to check.
        if (QString::fromUtf8(bytes).toUtf8() == bytes && bytes != content.toUtf8())
            return;
    }
    }
    const LoadedNames loaded = namesFromBytes(bytes);
    QStringList expected;
    for (const QString& line : lines) {
        if (!leftTrimBlanks(line).isEmpty())
            expected << leftTrimBlanks(line);
    }
    QStringList got = loaded.text.split(u'\n');
    got.removeLast();
    if (loaded.refusal == NameFileRefusal::None || !expected.isEmpty())
        CHECK(got == expected, QStringLiteral("encoding %1: %2 became %3")
                                   .arg(encoding)
                                   .arg(expected.join(u'|'), got.join(u'|')));
}

// Text from alphabet, sometimes with raw bytes of a name.
QString textOf(FuzzedDataProvider& data, QStringView alphabet, size_t maxBytes)
{
    const std::string raw = data.ConsumeRandomLengthString(maxBytes);
    QString out;
    for (const char c : raw)
        out +=
            c < 0 ? QStringView(decodeName(QByteArray(1, c))) : alphabet.mid(uchar(c) % alphabet.size(), 1);
    return out;
}

// The characters that stand for bytes: lone low surrogates.
QString escapesIn(QStringView text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isLowSurrogate() && !(i > 0 && text[i - 1].isHighSurrogate()))
            out += text[i];
    }
    return out;
}

// A pattern and a template from alphabets rich in what they mean, over a few names: every row is
// named or too complex, keeps its extension and the bytes that are not UTF-8; and a pattern that
// quotes a text replaces as the plain replace does.
void checkRegex(FuzzedDataProvider& data)
{
    const QString pattern = textOf(data, u"()[]{}*+?|^$.\\-:=!<>PdwsbDWKQEgaAbz019名片 ", 24);
    const QString replacement = textOf(data, u"$\\{}ULEul01289abz名_- ", 16);
    const bool deleteOnly = data.ConsumeIntegralInRange(0, 7) == 0;
    const QString find = text(data, 4);
    QList<QByteArray> names;
    for (int i = data.ConsumeIntegralInRange(1, 4); i > 0; --i)
        names << fileName(data);
    const ReplaceRule rule({pattern, replacement, deleteOnly, true});
    const RulePlan plan = rule.plan(int(names.size()), {});
    CHECK((plan.refusal == PlanRefusal::PatternInvalid) == (plan.fault.kind != PatternFault::Kind::None),
          pattern + u" | " + replacement);
    if (plan.refusal == PlanRefusal::None) {
        for (const QByteArray& bytes : names) {
            const QString name = decodeName(bytes);
            const RowName row = RowName::split(name, 0);
            QString out;
            QString again;
            const RowOutcome outcome = rule.step(row, plan, out);
            const QString from = pattern + u" | " + replacement + u" | " + name + u" -> " + out;
            CHECK(rule.step(row, plan, again).named == outcome.named && again == out, from);
            if (!outcome.named) {
                CHECK(outcome.tooComplex && out.isEmpty(), from);
                continue;
            }
            CHECK(QStringView(out).endsWith(row.extension) || (out.isEmpty() && row.extension.isEmpty()),
                  from);
            CHECK(encodeName(out) || !encodeName(replacement), from);
            if (!hasEscapes(replacement))
                CHECK(escapesIn(out) == escapesIn(name), from);
        }
    }
    // The find text quoted, the replacement's $ and \ doubled: the plain replace's result.
    if (find.isEmpty() || hasEscapes(find) || !encodeName(find))
        return;
    QString quoted;
    for (const QChar c : find)
        quoted += c.unicode() < 0x80 && !c.isLetterOrNumber() ? QString(u'\\') + c : QString(c);
    QString literal = replacement;
    literal.replace(u'\\', QStringLiteral("\\\\")).replace(u'$', QStringLiteral("$$"));
    const ReplaceRule regex({quoted, literal, false, true});
    const ReplaceRule plain({find, replacement, false});
    for (const QByteArray& bytes : names) {
        const QString name = decodeName(bytes);
        const RowName row = RowName::split(name, 0);
        QString byRegex;
        QString byPlain;
        CHECK(regex.step(row, {}, byRegex).named, quoted);
        plain.step(row, {}, byPlain);
        CHECK(byRegex == byPlain, quoted + u" | " + byRegex + u" | " + byPlain);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    FuzzedDataProvider data(bytes, size);
    const QByteArray target = TAMSEL_FUZZ_TARGET;
    if (target == "codec") {
        const std::string raw = data.ConsumeRemainingBytesAsString();
        const QByteArray in(raw.data(), qsizetype(raw.size()));
        const QString name = decodeName(in);
        CHECK(encodeName(name) == in, QStringLiteral("a name did not come back to its bytes"));
        CHECK(encodeName(displayName(name)), QStringLiteral("a shown name holds a lone surrogate"));
    } else if (target == "handover") {
        const std::string raw = data.ConsumeRemainingBytesAsString();
        const auto request = SingleInstance::decode(QByteArray(raw.data(), qsizetype(raw.size())));
        if (request)
            CHECK(SingleInstance::decode(SingleInstance::encode(*request)) == request,
                  QStringLiteral("a request did not come back from its bytes"));
    } else if (target == "decoder") {
        if (data.ConsumeBool()) {
            const std::string raw = data.ConsumeRemainingBytesAsString();
            const LoadedNames loaded = namesFromBytes(QByteArray(raw.data(), qsizetype(raw.size())));
            CHECK(loaded.text.isEmpty() || loaded.text.endsWith(u'\n'), loaded.text);
        } else {
            checkNameList(data);
        }
    } else if (target == "regex") {
        checkRegex(data);
    } else {
        const auto rule = std::find(std::begin(RuleTargets), std::end(RuleTargets), target);
        Case c = makeCase(data, rule == std::end(RuleTargets) ? -1 : int(rule - std::begin(RuleTargets)));
        // The list takes no row for a name no file can have.
        c.names.removeIf([](const QByteArray& name) { return !isValidFileName(name); });
        checkPreview(c);
    }
    return 0;
}
