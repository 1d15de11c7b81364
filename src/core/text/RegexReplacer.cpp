// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text/RegexReplacer.h"

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include <string>
#include <vector>

namespace tamsel {
namespace {

// The work one name may take: far above any sensible pattern on a name of at most 255 bytes, far
// below what makes a window wait (a runaway pattern gives up in a few milliseconds).
constexpr uint32_t MatchLimit = 1'000'000;
constexpr uint32_t DepthLimit = 10'000;
constexpr PCRE2_SIZE JitStackStart = 32 * 1024;
constexpr PCRE2_SIZE JitStackMax = 1024 * 1024;

// Characters (not UTF-16 units) in the first units of text.
int charactersIn(QStringView text, qsizetype units)
{
    int count = 0;
    for (qsizetype i = 0; i < units && i < text.size(); ++i)
        count += !(i > 0 && text[i].isLowSurrogate() && text[i - 1].isHighSurrogate());
    return count;
}

// The units of the character at i: a surrogate pair is one character, a lone surrogate another.
qsizetype characterUnits(QStringView text, qsizetype i)
{
    return i + 1 < text.size() && text[i].isHighSurrogate() && text[i + 1].isLowSurrogate() ? 2 : 1;
}

PatternFault::Kind faultKind(int error)
{
    using Kind = PatternFault::Kind;
    switch (error) {
    case PCRE2_ERROR_MISSING_CLOSING_PARENTHESIS:
        return Kind::UnclosedGroup;
    case PCRE2_ERROR_UNMATCHED_CLOSING_PARENTHESIS:
        return Kind::UnmatchedParenthesis;
    case PCRE2_ERROR_MISSING_SQUARE_BRACKET:
        return Kind::UnclosedClass;
    case PCRE2_ERROR_QUANTIFIER_INVALID:
        return Kind::NothingToRepeat;
    case PCRE2_ERROR_BAD_SUBPATTERN_REFERENCE:
        return Kind::UnknownGroup;
    case PCRE2_ERROR_END_BACKSLASH:
    case PCRE2_ERROR_UNKNOWN_ESCAPE:
    case PCRE2_ERROR_ESCAPE_INVALID_IN_CLASS:
    case PCRE2_ERROR_UNSUPPORTED_ESCAPE_SEQUENCE:
        return Kind::BadEscape;
    default:
        return Kind::Other;
    }
}

// Scratch space of one thread: the match data and the stack of JIT code, grown when needed.
struct Scratch {
    pcre2_match_data* data = nullptr;
    uint32_t pairs = 0;
    pcre2_jit_stack* stack = nullptr;

    ~Scratch()
    {
        pcre2_match_data_free(data);
        pcre2_jit_stack_free(stack);
    }
    pcre2_match_data* dataFor(uint32_t needed)
    {
        if (pairs < needed) {
            pcre2_match_data_free(data);
            data = pcre2_match_data_create(needed, nullptr);
            pairs = data ? needed : 0;
        }
        return data;
    }
};

thread_local Scratch scratch;

pcre2_jit_stack* threadStack(void*)
{
    if (!scratch.stack)
        scratch.stack = pcre2_jit_stack_create(JitStackStart, JitStackMax, nullptr);
    return scratch.stack;
}

// The letters after a backslash that change case: \U \L \E \u \l.
constexpr QStringView CaseEscapes = u"ULEul";

// A piece of the replacement template.
struct Piece {
    enum Type { Text, Group, Upper, Lower, End, NextUpper, NextLower } type = Text;
    QString text;
    std::vector<uint32_t> groups; // the first of them that took part in the match is inserted
};

} // namespace

struct RegexReplacer::Compiled {
    pcre2_code* code = nullptr;
    pcre2_match_context* context = nullptr;
    uint32_t pairs = 1;
    std::vector<Piece> pieces;
    bool caseChanges = false;

    ~Compiled()
    {
        pcre2_match_context_free(context);
        pcre2_code_free(code);
    }

    // The groups a ${…} reference names: a number or a name, duplicates allowed by (?J).
    std::vector<uint32_t> groupsNamed(QStringView name) const
    {
        bool digits = !name.isEmpty();
        for (const QChar c : name)
            digits = digits && c.isDigit() && c.unicode() < 0x80;
        if (digits) {
            const uint32_t number = name.size() <= 5 ? name.toUInt() : pairs;
            return number < pairs ? std::vector<uint32_t>{number} : std::vector<uint32_t>{};
        }
        const std::u16string key(reinterpret_cast<const char16_t*>(name.utf16()), size_t(name.size()));
        PCRE2_SPTR first = nullptr;
        PCRE2_SPTR last = nullptr;
        if (pcre2_substring_nametable_scan(code, reinterpret_cast<PCRE2_SPTR>(key.c_str()), &first, &last) <
            0)
            return {};
        uint32_t entrySize = 0;
        pcre2_pattern_info(code, PCRE2_INFO_NAMEENTRYSIZE, &entrySize);
        std::vector<uint32_t> groups;
        for (PCRE2_SPTR entry = first; entry <= last; entry += entrySize)
            groups.push_back(entry[0]);
        return groups;
    }

    PatternFault parseTemplate(QStringView t)
    {
        const auto literal = [&](QStringView text) {
            if (pieces.empty() || pieces.back().type != Piece::Text)
                pieces.push_back({});
            pieces.back().text += text;
        };
        const auto special = [&](Piece::Type type, std::vector<uint32_t> groups = {}) {
            pieces.push_back({type, {}, std::move(groups)});
            caseChanges = caseChanges || type != Piece::Group;
        };
        const auto isDigit = [&](qsizetype i) { return i < t.size() && t[i] >= u'0' && t[i] <= u'9'; };
        for (qsizetype i = 0; i < t.size();) {
            const QChar c = t[i];
            const QChar next = i + 1 < t.size() ? t[i + 1] : QChar();
            if (c == u'$' && next == u'$') {
                literal(u"$");
                i += 2;
            } else if (c == u'$' && isDigit(i + 1)) {
                const qsizetype digits = isDigit(i + 2) ? 2 : 1;
                const uint32_t number = t.mid(i + 1, digits).toUInt();
                i += 1 + digits;
                if (number >= pairs)
                    return {PatternFault::Kind::ReplacementUnknownGroup, charactersIn(t, i),
                            t.mid(i - 1 - digits, 1 + digits).toString()};
                special(Piece::Group, {number});
            } else if (c == u'$' && next == u'{') {
                const qsizetype close = t.indexOf(u'}', i + 2);
                if (close < 0)
                    return {PatternFault::Kind::ReplacementUnclosedName, charactersIn(t, t.size()), {}};
                std::vector<uint32_t> groups = groupsNamed(t.mid(i + 2, close - i - 2));
                if (groups.empty())
                    return {PatternFault::Kind::ReplacementUnknownGroup, charactersIn(t, close + 1),
                            t.mid(i, close + 1 - i).toString()};
                special(Piece::Group, std::move(groups));
                i = close + 1;
            } else if (c == u'\\' && CaseEscapes.contains(next)) {
                static constexpr Piece::Type CaseTypes[] = {Piece::Upper, Piece::Lower, Piece::End,
                                                            Piece::NextUpper, Piece::NextLower};
                special(CaseTypes[CaseEscapes.indexOf(next)]);
                i += 2;
            } else if (c == u'\\' && (next == u'\\' || next == u'$')) {
                literal(t.mid(i + 1, 1));
                i += 2;
            } else {
                const qsizetype units = characterUnits(t, i);
                literal(t.mid(i, units));
                i += units;
            }
        }
        return {};
    }

    // The replacement of one match, its case changes applied.
    void expand(const PCRE2_SIZE* ovector, int set, QStringView text, QString& out) const
    {
        const auto groupText = [&](const std::vector<uint32_t>& groups) {
            for (const uint32_t g : groups) {
                if (int(g) < set && ovector[2 * g] != PCRE2_UNSET)
                    return text.mid(qsizetype(ovector[2 * g]),
                                    qsizetype(ovector[2 * g + 1] - ovector[2 * g]));
            }
            return QStringView();
        };
        if (!caseChanges) {
            for (const Piece& piece : pieces)
                out += piece.type == Piece::Text ? QStringView(piece.text) : groupText(piece.groups);
            return;
        }
        Piece::Type mode = Piece::End;
        Piece::Type once = Piece::End;
        for (const Piece& piece : pieces) {
            switch (piece.type) {
            case Piece::Upper:
            case Piece::Lower:
                mode = piece.type;
                continue;
            case Piece::End:
                mode = Piece::End;
                continue;
            case Piece::NextUpper:
            case Piece::NextLower:
                once = piece.type;
                continue;
            case Piece::Text:
            case Piece::Group:
                break;
            }
            const QStringView part =
                piece.type == Piece::Text ? QStringView(piece.text) : groupText(piece.groups);
            if (part.isEmpty())
                continue;
            QString changed = mode == Piece::Upper   ? part.toString().toUpper()
                              : mode == Piece::Lower ? part.toString().toLower()
                                                     : part.toString();
            if (once != Piece::End) {
                const qsizetype units = characterUnits(changed, 0);
                const char32_t first =
                    units == 2 ? QChar::surrogateToUcs4(changed[0], changed[1]) : changed[0].unicode();
                const char32_t changedFirst =
                    once == Piece::NextUpper ? QChar::toTitleCase(first) : QChar::toLower(first);
                changed.replace(0, units, QString::fromUcs4(&changedFirst, 1));
                once = Piece::End;
            }
            out += changed;
        }
    }
};

RegexReplacer::RegexReplacer(QStringView pattern, QStringView replacement)
    : m_compiled(std::make_unique<Compiled>())
{
    int error = 0;
    PCRE2_SIZE offset = 0;
    static const char16_t nothing[] = u"";
    const auto* units = pattern.isEmpty() ? reinterpret_cast<PCRE2_SPTR>(nothing)
                                          : reinterpret_cast<PCRE2_SPTR>(pattern.utf16());
    // Unicode throughout (\d, \w and \b too), bytes that are not text never matched, and no \C, which
    // could split a surrogate pair.
    m_compiled->code = pcre2_compile(
        units, size_t(pattern.size()),
        PCRE2_UTF | PCRE2_UCP | PCRE2_MATCH_INVALID_UTF | PCRE2_NEVER_BACKSLASH_C, &error, &offset, nullptr);
    if (!m_compiled->code) {
        PCRE2_UCHAR words[256];
        const int length = pcre2_get_error_message(error, words, std::size(words));
        m_fault = {faultKind(error), charactersIn(pattern, qsizetype(offset)),
                   QString::fromUtf16(reinterpret_cast<const char16_t*>(words), std::max(0, length))};
        return;
    }
    pcre2_jit_compile(m_compiled->code, PCRE2_JIT_COMPLETE); // without JIT, the interpreter
    uint32_t captures = 0;
    pcre2_pattern_info(m_compiled->code, PCRE2_INFO_CAPTURECOUNT, &captures);
    m_compiled->pairs = captures + 1;
    m_compiled->context = pcre2_match_context_create(nullptr);
    pcre2_set_match_limit(m_compiled->context, MatchLimit);
    pcre2_set_depth_limit(m_compiled->context, DepthLimit);
    pcre2_jit_stack_assign(m_compiled->context, threadStack, nullptr);
    m_fault = m_compiled->parseTemplate(replacement);
}

RegexReplacer::~RegexReplacer() = default;

bool RegexReplacer::replace(QStringView text, QString& out) const
{
    pcre2_match_data* data = scratch.dataFor(m_compiled->pairs);
    if (!m_compiled->code || m_fault.kind != PatternFault::Kind::None || !data)
        return false;
    static const char16_t nothing[] = u"";
    const auto* subject =
        text.isEmpty() ? reinterpret_cast<PCRE2_SPTR>(nothing) : reinterpret_cast<PCRE2_SPTR>(text.utf16());
    const PCRE2_SIZE length = PCRE2_SIZE(text.size());
    const qsizetype kept = out.size();
    PCRE2_SIZE copied = 0; // text before this is in out
    PCRE2_SIZE start = 0;
    uint32_t options = 0;
    for (;;) {
        const int rc =
            pcre2_match(m_compiled->code, subject, length, start, options, data, m_compiled->context);
        if (rc == PCRE2_ERROR_NOMATCH) {
            // After an empty match the same place is tried for a longer one; failing that, the
            // search goes on a character further.
            if (options == 0 || start >= length)
                break;
            start += PCRE2_SIZE(characterUnits(text, qsizetype(start)));
            options = 0;
            continue;
        }
        const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(data);
        // Errors are limits reached; \K in a lookahead can end a match before it starts.
        if (rc < 0 || ovector[1] < ovector[0] || ovector[0] < copied) {
            out.truncate(kept);
            return false;
        }
        out += text.mid(qsizetype(copied), qsizetype(ovector[0] - copied));
        m_compiled->expand(ovector, rc == 0 ? int(m_compiled->pairs) : rc, text, out);
        copied = start = ovector[1];
        options = ovector[0] == ovector[1] ? PCRE2_NOTEMPTY_ATSTART | PCRE2_ANCHORED : 0;
    }
    out += text.mid(qsizetype(copied));
    return true;
}

} // namespace tamsel
