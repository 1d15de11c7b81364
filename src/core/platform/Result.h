// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <utility>

namespace tamsel {

// A value, or the errno value of the call that could not give one: how the file-system layer
// answers.
template <typename T> class Result {
public:
    Result(T value) : m_value(std::move(value)) {}
    static Result failed(int error)
    {
        Result r;
        r.m_error = error;
        return r;
    }

    bool hasValue() const { return m_value.has_value(); }
    explicit operator bool() const { return hasValue(); }
    const T& operator*() const { return *m_value; }
    T& operator*() { return *m_value; }
    const T* operator->() const { return &*m_value; }
    T* operator->() { return &*m_value; }
    // 0 when there is a value.
    int error() const { return m_error; }
    operator std::optional<T>() const& { return m_value; }
    operator std::optional<T>() && { return std::move(m_value); }

private:
    Result() = default;
    std::optional<T> m_value;
    int m_error = 0;
};

} // namespace tamsel
