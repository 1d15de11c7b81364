// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer targets, one executable each (TAMSEL_FUZZ_TARGET picks the target). Each checks
// invariants, not only that nothing crashes; a broken one aborts with a message.
#include "core/filelist/CellText.h"
#include "core/filelist/FileList.h"
#include "core/platform/FileSystem.h"
#include "core/platform/SingleInstance.h"
#include "core/rename/NameFile.h"
#include "core/rename/PreviewPass.h"
#include "core/text/NameCodec.h"
#include "core/text/PlainText.h"

#include <QStringEncoder>
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

struct Case {
    QList<QByteArray> names;
    RenameMode mode = RenameMode::Numbering;
    PreviewInputs in;
    quint8 answers = 0;
};

Case makeCase(FuzzedDataProvider& data, std::optional<RenameMode> mode)
{
    Case c;
    const int files = data.ConsumeIntegralInRange(1, 6);
    for (int i = 0; i < files; ++i)
        c.names << fileName(data);
    c.mode = mode ? *mode : RenameMode(data.ConsumeIntegralInRange(0, int(RenameMode::Count) - 1));
    c.answers = data.ConsumeIntegral<quint8>();
    PreviewInputs& in = c.in;
    const int model = data.ConsumeIntegralInRange(0, 3);
    if (model < 3)
        in.numbering.model = OrdinalModel(model);
    in.numbering.start = text(data, 4);
    in.numbering.increment = text(data, 3);
    in.numbering.width = text(data, 2);
    in.numbering.prefix = text(data);
    in.numbering.suffix = text(data);
    in.numbering.keepExtension = data.ConsumeBool();
    in.numbering.newExtension = text(data, 6);
    in.deletion = {text(data, 3), text(data, 3), data.ConsumeBool(), data.ConsumeBool()};
    in.insertion = {text(data), text(data, 3), data.ConsumeBool()};
    in.replacement = {text(data, 4), text(data, 4), data.ConsumeBool()};
    in.mainCase = CaseChange(data.ConsumeIntegralInRange(0, 3));
    in.extensionCase = CaseChange(data.ConsumeIntegralInRange(0, 3));
    in.names = text(data, 40);
    return c;
}

// The text a mode writes names from, besides the names themselves.
QString typedText(const Case& c)
{
    const PreviewInputs& in = c.in;
    switch (c.mode) {
    case RenameMode::Numbering:
        return in.numbering.start + in.numbering.prefix + in.numbering.suffix +
               (in.numbering.keepExtension ? QString() : in.numbering.newExtension);
    case RenameMode::Insert:
        return in.insertion.text;
    case RenameMode::Replace:
        return in.replacement.deleteOnly ? QString() : in.replacement.replacement;
    case RenameMode::NameFile:
        return in.names;
    default:
        return {};
    }
}

bool keepsOwnExtension(const Case& c)
{
    switch (c.mode) {
    case RenameMode::Numbering:
        return c.in.numbering.keepExtension;
    case RenameMode::DeleteCharacters:
    case RenameMode::Insert:
    case RenameMode::Replace:
    case RenameMode::NameFile:
        return true;
    default:
        return false;
    }
}

QStringList preview(const Case& c)
{
    NoFileSystem fs;
    FileList list(fs);
    for (const QByteArray& name : c.names)
        list.addFileRow("/d/", name);
    // The rule's questions answered from a fixed list of answers, the same on every run.
    QList<bool> answers;
    RulePlan plan = planPreview(list, c.mode, c.in, answers);
    while (plan.refusal.isEmpty() && !plan.question.isEmpty() && answers.size() < 8) {
        answers << bool((c.answers >> answers.size()) & 1);
        plan = planPreview(list, c.mode, c.in, answers);
    }
    previewPass(list, c.mode, c.in, plan);
    QStringList previews;
    for (int r = 0; r < list.fileCount(); ++r)
        previews << list.cell(r, ColPreview);
    return previews;
}

void checkPreview(const Case& c)
{
    const QStringList previews = preview(c);
    CHECK(previews == preview(c), QStringLiteral("the same list and inputs gave two previews"));
    const QString typed = typedText(c);
    for (qsizetype r = 0; r < previews.size(); ++r) {
        const QString& out = previews[r];
        if (out.isEmpty())
            continue;
        const QString name = decodeName(c.names[r]);
        const QString from = QStringLiteral("row %1: %2 -> %3").arg(r + 1).arg(name, out);
        for (const QChar bad : {QChar(u'/'), QChar(u'\0')})
            CHECK(!out.contains(bad) || typed.contains(bad) || name.contains(bad), from);
        if (keepsOwnExtension(c)) {
            const QStringView tail = QStringView(name).mid(mainNameOf(name).size());
            CHECK(out.endsWith(tail), from);
        }
        // What came from the name keeps its bytes: only typed text can hold what no file name can.
        CHECK(encodeName(out) || !encodeName(typed), from);
        if (c.mode == RenameMode::LetterCase && c.in.mainCase == CaseChange::Keep &&
            c.in.extensionCase == CaseChange::Keep)
            CHECK(out == name, from);
        if (c.mode == RenameMode::Replace &&
            (c.in.replacement.find.isEmpty() || !name.contains(c.in.replacement.find)))
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
    } else {
        static const QHash<QByteArray, RenameMode> modes = {
            {"numbering", RenameMode::Numbering}, {"delete", RenameMode::DeleteCharacters},
            {"insert", RenameMode::Insert},       {"replace", RenameMode::Replace},
            {"case", RenameMode::LetterCase},     {"namelist", RenameMode::NameFile},
        };
        const auto mode = modes.constFind(target);
        Case c = makeCase(data, mode == modes.constEnd() ? std::nullopt : std::optional(*mode));
        // The list takes no row for a name no file can have.
        c.names.removeIf([](const QByteArray& name) { return !isValidFileName(name); });
        checkPreview(c);
    }
    return 0;
}
