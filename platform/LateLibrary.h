#pragma once
// System libraries that the program binds when one of their functions is first called, not when
// it starts. The multimedia library (with the COM libraries it pulls in) and the internet library
// (with its network libraries) serve a few collectors and the downloads only, yet loading them
// cost every start-up of the main window.
//
//   BRAN_LATE(Winmm(), waveOutGetNumDevs)()   calls waveOutGetNumDevs of winmm.dll
//
// The function's type comes from its declaration in the Windows headers, so the name and the
// signature cannot drift apart.
//
// The program's libraries stay loaded until the process ends: the internet library still serves a
// transfer that the user abandoned, on threads of its own, while the program exits.
#include <windows.h>

#include "platform/Handles.h"

class TLateLibrary {
public:
    // Loads the library now (without system error boxes); a missing library fails at the first
    // function asked of it.
    explicit TLateLibrary(const wchar_t* fileName);
    TLateLibrary(const TLateLibrary&) = delete;
    TLateLibrary& operator=(const TLateLibrary&) = delete;

    // The library's exported function of that name; throws EBrantel when the library or the
    // function is missing.
    template <class F>
    F* Function(const char* name) const {
        return reinterpret_cast<F*>(Address(name));
    }
    // The same, or null when it is missing; for code that must not throw (a handle's release).
    template <class F>
    F* Find(const char* name) const noexcept {
        return reinterpret_cast<F*>(FindAddress(name));
    }

private:
    void* Address(const char* name) const;
    void* FindAddress(const char* name) const noexcept;
    const wchar_t* FFileName;
    TModuleHandle FModule;
};

// Each is loaded at its first call, once per process (safe from any thread), and never unloaded.
TLateLibrary& Winmm();
TLateLibrary& Wininet();
TLateLibrary& Bcrypt();
TLateLibrary& Wintrust();
TLateLibrary& Crypt32();
TLateLibrary& Secur32();

#define BRAN_LATE(library, function) ((library).Function<decltype(::function)>(#function))
#define BRAN_LATE_FIND(library, function) ((library).Find<decltype(::function)>(#function))
