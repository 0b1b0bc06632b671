#pragma once
// Owners of operating-system handles: one move-only type per kind of handle, each freeing its handle
// exactly once. A kind is a traits class that names the handle type, says which values hold nothing
// and how a handle is freed; a layer with a handle kind of its own (Winsock sockets, loaded at run
// time) declares its traits beside the code that loads the library.
//
//     TFindHandle find(FindFirstFileW(...));
//     if (!find) return;                 // INVALID_HANDLE_VALUE holds nothing
//     FindNextFileW(find.Get(), &data);
//
// Borrowed handles stay plain handle values; only owners use these types.
#include <windows.h>

#include <utility>

template <class Traits>
class TOwnedHandle {
public:
    using Handle = typename Traits::Handle;

    TOwnedHandle() noexcept = default;
    explicit TOwnedHandle(Handle handle) noexcept : FHandle(handle) {}
    ~TOwnedHandle() { Reset(); }
    TOwnedHandle(TOwnedHandle&& other) noexcept : FHandle(other.Release()) {}
    TOwnedHandle& operator=(TOwnedHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    TOwnedHandle(const TOwnedHandle&) = delete;
    TOwnedHandle& operator=(const TOwnedHandle&) = delete;

    Handle Get() const noexcept { return FHandle; }
    bool IsValid() const noexcept { return Traits::IsValid(FHandle); }
    explicit operator bool() const noexcept { return IsValid(); }
    // Gives up ownership without freeing.
    Handle Release() noexcept { return std::exchange(FHandle, Traits::Empty()); }
    // Frees the handle held and takes `handle` instead.
    void Reset(Handle handle = Traits::Empty()) noexcept {
        Handle old = std::exchange(FHandle, handle);
        if (Traits::IsValid(old)) Traits::Free(old);
    }

private:
    Handle FHandle = Traits::Empty();
};

// Kernel objects (files, events, processes, threads): both null and INVALID_HANDLE_VALUE hold nothing.
struct TKernelHandleTraits {
    using Handle = HANDLE;
    static HANDLE Empty() noexcept { return nullptr; }
    static bool IsValid(HANDLE h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Free(HANDLE h) noexcept { CloseHandle(h); }
};
using TKernelHandle = TOwnedHandle<TKernelHandleTraits>;

// FindFirstFile searches.
struct TFindHandleTraits {
    using Handle = HANDLE;
    static HANDLE Empty() noexcept { return INVALID_HANDLE_VALUE; }
    static bool IsValid(HANDLE h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Free(HANDLE h) noexcept { FindClose(h); }
};
using TFindHandle = TOwnedHandle<TFindHandleTraits>;

// Libraries loaded with LoadLibrary.
struct TModuleHandleTraits {
    using Handle = HMODULE;
    static HMODULE Empty() noexcept { return nullptr; }
    static bool IsValid(HMODULE h) noexcept { return h != nullptr; }
    static void Free(HMODULE h) noexcept { FreeLibrary(h); }
};
using TModuleHandle = TOwnedHandle<TModuleHandleTraits>;

// Icons made by the program (not shared icons loaded from resources, which are never destroyed).
struct TIconHandleTraits {
    using Handle = HICON;
    static HICON Empty() noexcept { return nullptr; }
    static bool IsValid(HICON h) noexcept { return h != nullptr; }
    static void Free(HICON h) noexcept { DestroyIcon(h); }
};
using TIconHandle = TOwnedHandle<TIconHandleTraits>;

// Windows the program creates for itself (hidden helper windows); controls and forms have their own
// owners in the user-interface layer.
struct TWindowHandleTraits {
    using Handle = HWND;
    static HWND Empty() noexcept { return nullptr; }
    static bool IsValid(HWND h) noexcept { return h != nullptr; }
    static void Free(HWND h) noexcept { DestroyWindow(h); }
};
using TWindowHandle = TOwnedHandle<TWindowHandleTraits>;
