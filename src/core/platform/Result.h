// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>
#include <optional>
#include <utility>

namespace tamsel {

// A value, or why there is none: how the file-system layer and the passes answer. E is the errno
// value of the system call that failed (the file-system layer), or a Failure (what renames report).
template <typename T, typename E = int> class Result {
public:
    Result(T value) : m_value(std::move(value)) {}
    static Result failed(E error)
    {
        Result r;
        r.m_error = std::move(error);
        return r;
    }

    bool hasValue() const { return m_value.has_value(); }
    explicit operator bool() const { return hasValue(); }
    const T& operator*() const { return *m_value; }
    T& operator*() { return *m_value; }
    const T* operator->() const { return &*m_value; }
    T* operator->() { return &*m_value; }
    // E{} when there is a value.
    const E& error() const { return m_error; }
    operator std::optional<T>() const& { return m_value; }
    operator std::optional<T>() && { return std::move(m_value); }

private:
    Result() = default;
    std::optional<T> m_value;
    E m_error{};
};

// Done, or why not.
template <typename E> class Result<void, E> {
public:
    Result() = default;
    static Result failed(E error)
    {
        Result r;
        r.m_error = std::move(error);
        r.m_failed = true;
        return r;
    }
    // From a call's errno value: 0 is done.
    static Result fromErrno(int error) requires std::is_same_v<E, int>
    {
        return error == 0 ? Result() : failed(error);
    }

    explicit operator bool() const { return !m_failed; }
    const E& error() const { return m_error; }

private:
    E m_error{};
    bool m_failed = false;
};

// Why a rename or its undo failed: the system's errno value, or a failure this program tells apart.
struct Failure {
    enum class Kind : quint8 {
        None,
        System,          // errnum says
        InvalidName,     // a name no file system takes, or one this program refuses
        FileReplaced,    // another file stands under the listed file's name
        NameNotHeld,     // the file system cannot hold the new name
        IdentityUnknown, // a file stands under the name; whether it is the listed one cannot be told
    };
    Kind kind = Kind::None;
    int errnum = 0; // for System

    static Failure system(int errnum) { return errnum == 0 ? Failure{} : Failure{Kind::System, errnum}; }
    static Failure of(Kind kind) { return {kind, 0}; }
    explicit operator bool() const { return kind != Kind::None; }
    bool isErrno(int e) const { return kind == Kind::System && errnum == e; }
    bool operator==(const Failure&) const = default;
};

} // namespace tamsel
