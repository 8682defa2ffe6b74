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

struct ChangeNotificationTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static bool Close(Handle h) { return ::FindCloseChangeNotification(h) != FALSE; }  // ::FindCloseChangeNotification
};
// A folder's change notification (::FindFirstChangeNotificationA fails with INVALID_HANDLE_VALUE).
using ScopedChangeNotification = UniqueHandle<ChangeNotificationTraits>;

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

// --- GDI ----------------------------------------------------------------------------------------
// Every GDI object the program creates is held by one of the wrappers below (or by CFont), which
// count the objects alive: Wine's GetGuiResources answers nothing, so this count is how a leak
// shows in tests and benchmarks.
namespace gdi_count {
inline long& Live() {
    static long live = 0;  // GDI objects belong to the one user-interface thread
    return live;
}
inline void Created(const void* h) {
    if (h != nullptr) ++Live();
}
inline void Deleted() { --Live(); }
}  // namespace gdi_count

// GDI objects alive that the program's wrappers created and have not deleted yet.
inline long LiveGdiObjects() { return gdi_count::Live(); }

template <class H>
struct GdiObjectTraits {
    using Handle = H;
    static Handle Invalid() { return nullptr; }
    static bool Close(Handle h) {  // ::DeleteObject
        gdi_count::Deleted();
        return ::DeleteObject(h) != FALSE;
    }
};

// A brush, pen, font or bitmap, counted from creation to deletion.
template <class H>
class ScopedGdiObject : public UniqueHandle<GdiObjectTraits<H>> {
public:
    ScopedGdiObject() = default;
    explicit ScopedGdiObject(H h) : UniqueHandle<GdiObjectTraits<H>>(h) { gdi_count::Created(h); }
};
using ScopedBrush = ScopedGdiObject<HBRUSH>;
using ScopedFont = ScopedGdiObject<HFONT>;
using ScopedPen = ScopedGdiObject<HPEN>;
using ScopedBitmap = ScopedGdiObject<HBITMAP>;

// Selects an object into a DC and selects the previous one back when it leaves scope.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), old_(::SelectObject(dc, object)) {}
    ~ScopedSelect() { ::SelectObject(dc_, old_); }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

struct MemoryDcTraits {
    using Handle = HDC;
    static Handle Invalid() { return nullptr; }
    static bool Close(Handle dc) {  // ::DeleteDC
        gdi_count::Deleted();
        return ::DeleteDC(dc) != FALSE;
    }
};
// A memory device context (::CreateCompatibleDC), counted like the objects.
class ScopedMemoryDc : public UniqueHandle<MemoryDcTraits> {
public:
    explicit ScopedMemoryDc(HDC like) : UniqueHandle<MemoryDcTraits>(::CreateCompatibleDC(like)) {
        gdi_count::Created(get());
    }
};
