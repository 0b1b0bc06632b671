#pragma once
// A scripted web server on 127.0.0.1 for the download tests: each accepted connection reads one
// request and answers it from a table of paths (anything else gets "404 Not Found" with a page).
#include <cstdio>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "LoopbackPeer.h"

struct THttpAnswer {
    int Status = 200;
    std::string Body;
    bool AnnounceLength = true;       // send Content-Length (the whole body's)
    size_t DropAfter = std::string::npos;  // close the connection after this many body bytes
    std::string Raw = "";  // when set: the whole answer, head included, sent as it stands
};

inline THttpAnswer RawAnswer(std::string raw) {
    THttpAnswer answer;
    answer.Raw = std::move(raw);
    return answer;
}

// A chunked body of the given chunks; the end marker (a chunk of size 0) only when `complete`.
inline std::string ChunkedAnswer(const std::vector<std::string>& chunks, bool complete) {
    std::string answer = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nConnection: close\r\n\r\n";
    for (const std::string& chunk : chunks) {
        char size[20];
        std::snprintf(size, sizeof(size), "%zx", chunk.size());
        answer += size + ("\r\n" + chunk) + "\r\n";
    }
    return complete ? answer + "0\r\n\r\n" : answer;
}

class THttpTestPeer {
public:
    THttpTestPeer(std::map<std::string, THttpAnswer> answers, int connections)
        : FAnswers(std::move(answers)),
          FPeer([this](TPeerConnection& c) { Serve(c); }, connections) {}
    int Port() const { return FPeer.Port(); }
    std::string Url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(Port()) + path; }
    // The paths asked for, in order.
    std::vector<std::string> Requests() {
        std::lock_guard<std::mutex> guard(FLock);
        return FRequests;
    }
    void Join() { FPeer.Join(); }

private:
    void Serve(TPeerConnection& c) {
        const std::string request = c.ReadUntil("\r\n\r\n");
        const size_t start = request.find(' ') + 1, end = request.find(' ', start);
        const std::string path = request.substr(start, end - start);
        {
            std::lock_guard<std::mutex> guard(FLock);
            FRequests.push_back(path);
        }
        auto found = FAnswers.find(path);
        const THttpAnswer answer =
            found != FAnswers.end() ? found->second : THttpAnswer{404, "<html><body>Not Found</body></html>"};
        if (!answer.Raw.empty()) return c.Send(answer.Raw);
        std::string head = "HTTP/1.0 " + std::to_string(answer.Status) + (answer.Status == 200 ? " OK" : " Error") +
                           "\r\nContent-Type: application/octet-stream\r\nConnection: close\r\n";
        if (answer.AnnounceLength) head += "Content-Length: " + std::to_string(answer.Body.size()) + "\r\n";
        c.Send(head + "\r\n" + answer.Body.substr(0, answer.DropAfter));
    }

    std::map<std::string, THttpAnswer> FAnswers;
    std::mutex FLock;
    std::vector<std::string> FRequests;
    TLoopbackPeer FPeer;
};
