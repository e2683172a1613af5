#pragma once
// The run-time errors that abort the current operation and leave the program running.

#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>

namespace velmora {

// Base of every error that a window reports in a message box. what() is UTF-8.
class VelmoraError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// An index outside its table's bounds.
class RangeError : public VelmoraError
{
public:
    RangeError()
        : VelmoraError("Range check error")
    {
    }
    explicit RangeError(const std::string& what)
        : VelmoraError(what)
    {
    }
};

// Integer arithmetic that left the 32-bit range. The checked operations throw the bare error; code that
// knows what it was computing replaces it with one whose message names the horses or the data.
class OverflowError : public VelmoraError
{
public:
    OverflowError()
        : VelmoraError("Integer overflow")
    {
    }
    explicit OverflowError(const std::string& what)
        : VelmoraError(what)
        , m_named(true)
    {
    }
    // Whether the message says what was computed.
    bool Named() const { return m_named; }

private:
    bool m_named = false;
};

// A file that could not be read, written or understood; the message names the file.
class FileError : public VelmoraError
{
public:
    using VelmoraError::VelmoraError;
};

inline int32_t CheckedAdd(int32_t a, int32_t b)
{
    int32_t r;
    if (__builtin_add_overflow(a, b, &r))
        throw OverflowError();
    return r;
}

inline int32_t CheckedSub(int32_t a, int32_t b)
{
    int32_t r;
    if (__builtin_sub_overflow(a, b, &r))
        throw OverflowError();
    return r;
}

inline int32_t CheckedMul(int32_t a, int32_t b)
{
    int32_t r;
    if (__builtin_mul_overflow(a, b, &r))
        throw OverflowError();
    return r;
}

// Checks 0 <= index < size before an index is used.
inline int CheckedIndex(int64_t index, int64_t size)
{
    if (index < 0 || index >= size)
        throw RangeError();
    return static_cast<int>(index);
}

// table[index] after that check: the tables read from the data files index one another.
template <typename Table> auto& CheckedAt(Table& table, int64_t index)
{
    return table[static_cast<size_t>(CheckedIndex(index, static_cast<int64_t>(table.size())))];
}

} // namespace velmora
