#pragma once

#include "platform/FileError.hpp"

#include <optional>
#include <utility>
#include <variant>

namespace dorvale {

/// The outcome of a file operation: a value of type `T`, or the `FileError` that prevented
/// it. Both convert implicitly, so an operation can `return value;` or `return error;`.
template <typename T>
class [[nodiscard]] Result {
public:
    Result(T value)
        : m_state(std::in_place_index<0>, std::move(value)) {}
    Result(FileError error)
        : m_state(std::in_place_index<1>, std::move(error)) {}

    [[nodiscard]] bool ok() const { return m_state.index() == 0; }
    explicit operator bool() const { return ok(); }

    /// The value; only valid when `ok()`.
    [[nodiscard]] const T& value() const& { return std::get<0>(m_state); }
    [[nodiscard]] T& value() & { return std::get<0>(m_state); }
    [[nodiscard]] T&& value() && { return std::get<0>(std::move(m_state)); }
    /// The error; only valid when not `ok()`.
    [[nodiscard]] const FileError& error() const { return std::get<1>(m_state); }

private:
    std::variant<T, FileError> m_state;
};

/// The outcome of a file operation that yields nothing but success.
template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(FileError error)
        : m_error(std::move(error)) {}

    [[nodiscard]] bool ok() const { return !m_error.has_value(); }
    explicit operator bool() const { return ok(); }
    [[nodiscard]] const FileError& error() const { return *m_error; }

private:
    std::optional<FileError> m_error;
};

} // namespace dorvale
