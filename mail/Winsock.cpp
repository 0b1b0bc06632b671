#include "mail/Winsock.h"

#include "core/Format.h"
#include "mail/MailErrors.h"

TagWinsock& TagWinsock::Instance() {
    static TagWinsock winsock;
    return winsock;
}

void TagWinsock::Load() {
    if (FLibrary) return;
    // A missing library must not stop the program with a system box; the caller reports it.
    UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    FLibrary.Reset(LoadLibraryW(L"wsock32.dll"));
    SetErrorMode(oldMode);
    if (!FLibrary) throw EWinsockError(MailText::WinsockNotFound);
}

void* TagWinsock::Function(const char* name) const {
    if (!FLibrary) throw EWinsockError(MailText::WinsockNotLoaded);
    FARPROC proc = GetProcAddress(FLibrary.Get(), name);
    if (!proc) throw EWinsockError(Format(MailText::FunctionNotFound, {name}));
    return reinterpret_cast<void*>(proc);
}

SOCKET TagWinsock::Socket(int af, int type, int protocol) {
    return Get<SOCKET(WINAPI*)(int, int, int)>("socket")(af, type, protocol);
}
int TagWinsock::Connect(SOCKET s, const sockaddr* name, int nameLength) {
    return Get<int(WINAPI*)(SOCKET, const sockaddr*, int)>("connect")(s, name, nameLength);
}
int TagWinsock::Send(SOCKET s, const char* buf, int len, int flags) {
    return Get<int(WINAPI*)(SOCKET, const char*, int, int)>("send")(s, buf, len, flags);
}
int TagWinsock::Recv(SOCKET s, char* buf, int len, int flags) {
    return Get<int(WINAPI*)(SOCKET, char*, int, int)>("recv")(s, buf, len, flags);
}
int TagWinsock::CloseSocket(SOCKET s) { return Get<int(WINAPI*)(SOCKET)>("closesocket")(s); }
u_short TagWinsock::Htons(u_short value) { return Get<u_short(WINAPI*)(u_short)>("htons")(value); }
unsigned long TagWinsock::InetAddr(const char* dotted) {
    return Get<unsigned long(WINAPI*)(const char*)>("inet_addr")(dotted);
}
int TagWinsock::GetHostName(char* name, int length) {
    return Get<int(WINAPI*)(char*, int)>("gethostname")(name, length);
}
int TagWinsock::WSAStartup(WORD version, WSADATA* data) {
    return Get<int(WINAPI*)(WORD, WSADATA*)>("WSAStartup")(version, data);
}
int TagWinsock::WSACleanup() { return Get<int(WINAPI*)()>("WSACleanup")(); }
int TagWinsock::WSAGetLastError() { return Get<int(WINAPI*)()>("WSAGetLastError")(); }
HANDLE TagWinsock::WSAAsyncGetHostByName(HWND wnd, u_int msg, const char* name, char* buf, int length) {
    return Get<HANDLE(WINAPI*)(HWND, u_int, const char*, char*, int)>("WSAAsyncGetHostByName")(wnd, msg, name, buf,
                                                                                              length);
}
HANDLE TagWinsock::WSAAsyncGetServByName(HWND wnd, u_int msg, const char* name, const char* proto, char* buf,
                                         int length) {
    return Get<HANDLE(WINAPI*)(HWND, u_int, const char*, const char*, char*, int)>("WSAAsyncGetServByName")(
        wnd, msg, name, proto, buf, length);
}
int TagWinsock::WSACancelAsyncRequest(HANDLE request) {
    return Get<int(WINAPI*)(HANDLE)>("WSACancelAsyncRequest")(request);
}
int TagWinsock::WSAAsyncSelect(SOCKET s, HWND wnd, u_int msg, long events) {
    return Get<int(WINAPI*)(SOCKET, HWND, u_int, long)>("WSAAsyncSelect")(s, wnd, msg, events);
}
BOOL TagWinsock::WSAIsBlocking() { return Get<BOOL(WINAPI*)()>("WSAIsBlocking")(); }
int TagWinsock::WSACancelBlockingCall() { return Get<int(WINAPI*)()>("WSACancelBlockingCall")(); }
