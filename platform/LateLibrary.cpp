#include "platform/LateLibrary.h"

#include "core/Exceptions.h"
#include "core/Format.h"
#include "core/StrConv.h"

TLateLibrary::TLateLibrary(const wchar_t* fileName) : FFileName(fileName) {
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    FModule.Reset(LoadLibraryW(fileName));
    SetErrorMode(oldMode);
}

void* TLateLibrary::FindAddress(const char* name) const noexcept {
    return FModule ? reinterpret_cast<void*>(GetProcAddress(FModule.Get(), name)) : nullptr;
}

void* TLateLibrary::Address(const char* name) const {
    void* const address = FindAddress(name);
    if (!address)
        throw EBrantel("TLateLibrary", "Function",
                       Format("%s not found in %s", {name, Narrow(FFileName)}),
                       Format("Windows-onderdeel %s ontbreekt: de functie %s is niet gevonden.", {Narrow(FFileName), name}));
    return address;
}

namespace {
// Deliberately never destroyed: a static object would unload its library at exit, under the feet
// of any thread still inside it.
TLateLibrary& Lasting(const wchar_t* fileName) { return *new TLateLibrary(fileName); }
}  // namespace

TLateLibrary& Winmm() { static TLateLibrary& library = Lasting(L"winmm.dll"); return library; }
TLateLibrary& Wininet() { static TLateLibrary& library = Lasting(L"wininet.dll"); return library; }
TLateLibrary& Bcrypt() { static TLateLibrary& library = Lasting(L"bcrypt.dll"); return library; }
TLateLibrary& Wintrust() { static TLateLibrary& library = Lasting(L"wintrust.dll"); return library; }
TLateLibrary& Crypt32() { static TLateLibrary& library = Lasting(L"crypt32.dll"); return library; }
TLateLibrary& Secur32() { static TLateLibrary& library = Lasting(L"secur32.dll"); return library; }
