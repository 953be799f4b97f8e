#pragma once

#include <utility>

// Sole owner of a system handle, released by the given function when the owner goes or takes
// another: fonts with DeleteObject, icons with DestroyIcon, libraries with FreeLibrary, COM
// strings with SysFreeString, windows with DestroyWindow.
template<typename Handle, auto release>
class UniqueHandle
{
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle)
        : m_handle(handle)
    {
    }
    ~UniqueHandle() { reset(); }
    UniqueHandle(const UniqueHandle &) = delete;
    UniqueHandle &operator=(const UniqueHandle &) = delete;
    UniqueHandle(UniqueHandle &&other) noexcept
        : m_handle(std::exchange(other.m_handle, nullptr))
    {
    }
    UniqueHandle &operator=(UniqueHandle &&other) noexcept
    {
        if (this != &other)
            reset(std::exchange(other.m_handle, nullptr));
        return *this;
    }

    Handle get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }
    // Gives the handle up unreleased: for one the system has released itself.
    void forget() { m_handle = nullptr; }
    void reset(Handle handle = nullptr)
    {
        if (m_handle)
            release(m_handle);
        m_handle = handle;
    }

private:
    Handle m_handle = nullptr;
};
