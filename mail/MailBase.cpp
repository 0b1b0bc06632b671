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

std::string TmsMailBase::ReadReply(bool quiet, std::vector<std::string>* lines) {
    return ReadReplyAccepting(quiet, lines, nullptr);
}

std::string TmsMailBase::ReadChallenge() { return ReadReplyAccepting(false, nullptr, "334"); }

std::string TmsMailBase::ReadReplyAccepting(bool quiet, std::vector<std::string>* lines, const char* alsoAccepted) {
    for (;;) {
        std::string line = ReadLine();
        if (!AcceptableReply(line) && !(alsoAccepted && line.rfind(alsoAccepted, 0) == 0)) {
            if (!quiet) FireError(line);
            if (line.empty()) throw ESocketError("Connection closed by the server");
            throw ERefusedError(line);
        }
        if (lines) lines->push_back(line);
        if (!Connected() || IsFinalReplyLine(line)) return line;
    }
}
