#include "platform/LateLibrary.h"

#include "core/Exceptions.h"
#include "core/Format.h"
#include "core/StrConv.h"

TLateLibrary::TLateLibrary(const wchar_t* fileName) : FFileName(fileName) {
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    FModule.Reset(LoadLibraryW(fileName));
    SetErrorMode(oldMode);
}

void* TLateLibrary::Address(const char* name) const {
    const FARPROC address = FModule ? GetProcAddress(FModule.Get(), name) : nullptr;
    if (!address)
        throw EBrantel("TLateLibrary", "Function",
                       Format("%s not found in %s", {name, Narrow(FFileName)}),
                       Format("Windows-onderdeel %s ontbreekt: de functie %s is niet gevonden.", {Narrow(FFileName), name}));
    return reinterpret_cast<void*>(address);
}

TLateLibrary& Winmm() {
    static TLateLibrary library(L"winmm.dll");
    return library;
}

TLateLibrary& Wininet() {
    static TLateLibrary library(L"wininet.dll");
    return library;
}
