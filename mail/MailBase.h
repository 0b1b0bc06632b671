#pragma once
// What every mail protocol component shares on top of the socket: reading and checking server
// replies, and the busy flag that keeps protocol phases from nesting through the events fired
// while they wait.
#include <string>
#include <vector>

#include "mail/Socket.h"

class TmsMailBase : public TagSocket {
public:
    bool Busy() const { return FBusy; }

protected:
    // Reads one reply (continuation lines "250-..." included) and returns its last line; a refusal
    // fires OnError (unless `quiet`) and throws ERefusedError with the line. `lines`, when given,
    // gets every line of the reply.
    std::string ReadReply(bool quiet = false, std::vector<std::string>* lines = nullptr);
    // The same, where the server's question "334" (a log-in asking for the next part) is the
    // expected answer as well.
    std::string ReadChallenge();
    // Accepts a continuation line, a "2xx" line and "354"; anything else is a refusal.
    static bool AcceptableReply(const std::string& line);
    // True when the line ends a reply: a code not followed by "-".
    static bool IsFinalReplyLine(const std::string& line);

    // Sets the busy flag for its lifetime; throws ESocketError "Server is busy" when it is set.
    class TBusyGuard {
    public:
        explicit TBusyGuard(TmsMailBase& owner);
        ~TBusyGuard() { FOwner.FBusy = false; }
        TBusyGuard(const TBusyGuard&) = delete;
        TBusyGuard& operator=(const TBusyGuard&) = delete;

    private:
        TmsMailBase& FOwner;
    };

private:
    std::string ReadReplyAccepting(bool quiet, std::vector<std::string>* lines, const char* alsoAccepted);
    bool FBusy = false;
};
