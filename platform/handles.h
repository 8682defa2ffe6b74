// Owning wrappers for the Windows handles the program holds: kernel handles, registry keys and
// sockets. Each closes what it owns when it leaves scope, cannot be copied, and can be moved.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <utility>

// Owns one handle of a kind described by Traits: Traits::Invalid() is the empty value and
// Traits::Close(h) releases h and answers whether that worked.
template <class Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() = default;
    explicit UniqueHandle(Handle h) : h_(h) {}
    ~UniqueHandle() { Close(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : h_(std::exchange(other.h_, Traits::Invalid())) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Close();
            h_ = std::exchange(other.h_, Traits::Invalid());
        }
        return *this;
    }

    Handle get() const { return h_; }
    bool valid() const { return h_ != Traits::Invalid(); }
    // For APIs that hand back a new handle through a pointer; what was held is closed first.
    Handle* out() {
        Close();
        return &h_;
    }
    // Closes now; true when there was nothing to close or closing worked.
    bool Close() {
        const bool ok = !valid() || Traits::Close(h_);
        h_ = Traits::Invalid();
        return ok;
    }

private:
    Handle h_ = Traits::Invalid();
};

struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static bool Close(Handle h) { return ::CloseHandle(h) != FALSE; }  // ::CloseHandle
};
// A file (CreateFile's failure value is INVALID_HANDLE_VALUE).
using ScopedFile = UniqueHandle<FileHandleTraits>;

struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return nullptr; }
    static bool Close(Handle h) { return ::CloseHandle(h) != FALSE; }  // ::CloseHandle
};
// A mutex, event, process or thread (their creators fail with null).
using ScopedKernelHandle = UniqueHandle<KernelHandleTraits>;

struct RegKeyTraits {
    using Handle = HKEY;
    static Handle Invalid() { return nullptr; }
    static bool Close(Handle h) { return ::RegCloseKey(h) == ERROR_SUCCESS; }  // ::RegCloseKey
};
using ScopedRegKey = UniqueHandle<RegKeyTraits>;

struct SocketTraits {
    using Handle = SOCKET;
    static Handle Invalid() { return INVALID_SOCKET; }
    static bool Close(Handle s) { return ::closesocket(s) == 0; }  // ::closesocket
};
using ScopedSocket = UniqueHandle<SocketTraits>;
