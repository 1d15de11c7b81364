// SPDX-License-Identifier: GPL-3.0-or-later
// Replacing by a Perl-compatible regular expression and a replacement template.
#pragma once

#include <QString>
#include <QStringView>
#include <memory>

namespace tamsel {

// What is wrong with a pattern or its replacement, and where.
struct PatternFault {
    enum class Kind {
        None,
        UnclosedGroup,           // "(" without its ")"
        UnmatchedParenthesis,    // ")" without its "("
        UnclosedClass,           // "[" without its "]"
        NothingToRepeat,         // a quantifier with nothing before it
        UnknownGroup,            // a back reference to a group the pattern lacks
        BadEscape,               // a backslash before what it cannot escape, or at the end
        Other,                   // anything else the library finds: its words are in detail
        ReplacementUnknownGroup, // $n or ${name} for a group the pattern lacks: detail is the reference
        ReplacementUnclosedName, // "${" without its "}"
    };
    Kind kind = Kind::None;
    int after = 0; // characters of the pattern (or of the replacement) read before the fault
    QString detail;

    bool inReplacement() const { return kind >= Kind::ReplacementUnknownGroup; }
};

// A pattern compiled once, with its template parsed, for any number of texts on any threads.
// Template: $0 to $99, ${n} and ${name} insert groups (an unset one inserts nothing), $$ a dollar;
// \U … \E and \L … \E change the case of what they enclose, \u and \l of the next character;
// a backslash before \ or $ stands for that character. Any other $ or \ is itself.
//
// Text is matched as UTF-16. A lone surrogate (a byte of a name that is not UTF-8) never matches
// anything, not even ".", so it stays where it is; the valid text around it matches as usual.
class RegexReplacer {
public:
    RegexReplacer(QStringView pattern, QStringView replacement);
    ~RegexReplacer();
    RegexReplacer(const RegexReplacer&) = delete;
    RegexReplacer& operator=(const RegexReplacer&) = delete;

    // Kind::None when the pattern and the template are sound; replace needs them sound.
    const PatternFault& fault() const { return m_fault; }

    // Appends text to out with every match replaced, left to right and without overlap; an empty
    // match is replaced where no other match starts, as Perl does. False, with out as it was, when
    // the matching took more work than a name is allowed (catastrophic backtracking).
    bool replace(QStringView text, QString& out) const;

private:
    struct Compiled;
    std::unique_ptr<Compiled> m_compiled;
    PatternFault m_fault;
};

} // namespace tamsel
