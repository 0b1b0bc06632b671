#pragma once
// One process-wide loader of Winsock 1.1 ("wsock32.dll", loaded at run time). Every function is
// looked up by name at each call, so a library without one of them fails only where it is needed.
#include <winsock2.h>

#include <string>

#include "platform/Handles.h"

class TagWinsock {
public:
    static TagWinsock& Instance();
    TagWinsock(const TagWinsock&) = delete;
    TagWinsock& operator=(const TagWinsock&) = delete;

    // Loads the library once (without system error boxes); throws EWinsockError "Winsock not found".
    void Load();
    bool Loaded() const { return FLibrary.IsValid(); }

    SOCKET Socket(int af, int type, int protocol);
    int Connect(SOCKET s, const sockaddr* name, int nameLength);
    int Send(SOCKET s, const char* buf, int len, int flags);
    int Recv(SOCKET s, char* buf, int len, int flags);
    int CloseSocket(SOCKET s);
    u_short Htons(u_short value);
    unsigned long InetAddr(const char* dotted);
    int GetHostName(char* name, int length);
    int WSAStartup(WORD version, WSADATA* data);
    int WSACleanup();
    int WSAGetLastError();
    HANDLE WSAAsyncGetHostByName(HWND wnd, u_int msg, const char* name, char* buf, int length);
    HANDLE WSAAsyncGetServByName(HWND wnd, u_int msg, const char* name, const char* proto, char* buf, int length);
    int WSACancelAsyncRequest(HANDLE request);
    int WSAAsyncSelect(SOCKET s, HWND wnd, u_int msg, long events);
    BOOL WSAIsBlocking();
    int WSACancelBlockingCall();

private:
    TagWinsock() = default;
    // Throws EWinsockError "Winsock is not loaded" / "Function <name> not found".
    void* Function(const char* name) const;
    template <class F>
    F Get(const char* name) const {
        return reinterpret_cast<F>(Function(name));
    }
    TModuleHandle FLibrary;
};
