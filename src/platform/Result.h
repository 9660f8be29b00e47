#pragma once

#include <QString>

#include <utility>
#include <variant>

// A value or an error text, shaped like C++23's std::expected<T, QString> so that moving to it is a
// rename. Errors inside our layers travel as Result; no exception crosses a layer.
template<typename E>
struct Unexpected
{
    E error;
};

inline Unexpected<QString> fail(QString text)
{
    return {std::move(text)};
}

template<typename T>
class Result
{
public:
    Result(T value)
        : m_data(std::in_place_index<0>, std::move(value))
    {}
    Result(Unexpected<QString> e)
        : m_data(std::in_place_index<1>, std::move(e.error))
    {}

    bool has_value() const { return m_data.index() == 0; }
    explicit operator bool() const { return has_value(); }

    T &value() & { return std::get<0>(m_data); }
    const T &value() const & { return std::get<0>(m_data); }
    T &&value() && { return std::get<0>(std::move(m_data)); }
    T &operator*() & { return value(); }
    const T &operator*() const & { return value(); }
    T *operator->() { return &value(); }
    const T *operator->() const { return &value(); }

    const QString &error() const { return std::get<1>(m_data); }
    T value_or(T other) const { return has_value() ? value() : std::move(other); }

private:
    std::variant<T, QString> m_data;
};

template<>
class Result<void>
{
public:
    Result() = default;
    Result(Unexpected<QString> e)
        : m_error(std::move(e.error))
        , m_failed(true)
    {}

    bool has_value() const { return !m_failed; }
    explicit operator bool() const { return has_value(); }
    const QString &error() const { return m_error; }

private:
    QString m_error;
    bool m_failed = false;
};
