#include "mail/MailBase.h"

#include "mail/MailErrors.h"

TmsMailBase::TBusyGuard::TBusyGuard(TmsMailBase& owner) : FOwner(owner) {
    if (FOwner.FBusy) throw ESocketError(MailText::ServerBusy);
    FOwner.FBusy = true;
}

bool TmsMailBase::AcceptableReply(const std::string& line) {
    if (line.size() > 3 && line[3] == '-') return true;
    return (!line.empty() && line[0] == '2') || line.rfind("354", 0) == 0;
}

bool TmsMailBase::IsFinalReplyLine(const std::string& line) {
    // A bare code ("250") ends the reply as well as "250 text" does.
    return line.size() >= 3 && (line.size() == 3 || line[3] != '-');
}

std::string TmsMailBase::ReadReply(bool quiet) {
    for (;;) {
        std::string line = ReadLine();
        if (!AcceptableReply(line)) {
            if (!quiet) FireError(line);
            throw ESocketError(line.empty() ? "Connection closed by the server" : line);
        }
        if (!Connected() || IsFinalReplyLine(line)) return line;
    }
}
