#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "HttpTestPeer.h"
#include "Source/Common/Internet/DownloadForm.h"
#include "TestSupport.h"
#include "platform/Files.h"

namespace {
// Temporary download names left in a folder (none may stay after any transfer).
std::vector<std::string> Leftovers(const std::string& folder) {
    std::vector<std::string> names;
    for (const TSearchRec& r : FindFiles(folder + "~dl*", faAnyFile)) names.push_back(r.Name);
    return names;
}

struct TDownloadCase {
    const char* Name;
    THttpAnswer Answer;
    bool Expected;
};

class DownloadFileTest : public testing::Test {
protected:
    TScratchFolder Scratch;
};
}  // namespace

TEST_F(DownloadFileTest, OnlyTheWholeBodyOfA2xxAnswerBecomesTheTarget) {
    const std::string body(70000, 'x');
    const TDownloadCase cases[] = {
        {"200 with a body", {200, "MZ setup bytes"}, true},
        {"200 with a large body", {200, body}, true},
        {"200 without a length, ended by closing", {200, "no length", false}, true},
        {"404 with an error page", {404, "<html>Not Found</html>"}, false},
        {"500 with an error page", {500, "<html>Internal Server Error</html>"}, false},
        {"200 with zero bytes", {200, ""}, false},
        {"connection dropped half-way", {200, body, true, 30000}, false},
    };
    for (const TDownloadCase& c : cases) {
        SCOPED_TRACE(c.Name);
        THttpTestPeer peer({{"/setup.exe", c.Answer}}, 1);
        const std::string target = Scratch / "Updates\\Kasboek\\setup.exe";
        const bool result =
            DownloadFile(DownloadFormClass<TfrmOnlineUpdateDownload>(), "", peer.Url("/setup.exe"), target);
        EXPECT_EQ(result, c.Expected);
        if (c.Expected) {
            EXPECT_EQ(ReadFileBytes(target), c.Answer.Body);
        } else {
            EXPECT_FALSE(FileExists(target));
        }
        EXPECT_TRUE(Leftovers(Scratch / "Updates\\Kasboek\\").empty());
        peer.Join();
        if (FileExists(target)) FileDelete(target);
    }
}

TEST_F(DownloadFileTest, AStaleTargetNeverPassesForAFailedDownload) {
    const std::string target = Scratch.WriteFile("Temp\\Update.ini", "[Bran-Service]\nReleaseVersion=9.9\n");
    THttpTestPeer peer({}, 1);  // every path answers 404
    EXPECT_FALSE(DownloadFile(DownloadFormClass<TfrmEnewsDownload>(), "", peer.Url("/iupdate_nl.dat"), target));
    EXPECT_FALSE(FileExists(target));
    EXPECT_EQ(peer.Requests(), std::vector<std::string>{"/iupdate_nl.dat"});
}

TEST_F(DownloadFileTest, MissingFoldersAreCreatedAndTheQueryIsSent) {
    THttpTestPeer peer({{"/cgi/fileopen.cgi?open_bestand=a.dat", {200, "[x]\r\n"}}}, 1);
    const std::string target = Scratch / "a\\b\\c\\Update.ini";
    EXPECT_TRUE(DownloadFile(DownloadFormClass<TfrmEnewsDownload>(), "", peer.Url("/cgi/fileopen.cgi?open_bestand=a.dat"),
                             target));
    EXPECT_EQ(ReadFileBytes(target), "[x]\r\n");
}

TEST_F(DownloadFileTest, AddressesThatCannotBeFetchedFail) {
    // A port nobody listens on: bind one, note it, close it.
    int freePort;
    {
        THttpTestPeer probe({}, 0);
        freePort = probe.Port();
    }
    const std::string target = Scratch / "x\\setup.exe";
    for (const std::string& url : {"http://127.0.0.1:" + std::to_string(freePort) + "/setup.exe",
                                  std::string("file:///C:/windows/notepad.exe"), std::string("")}) {
        SCOPED_TRACE(url);
        EXPECT_FALSE(DownloadFile(DownloadFormClass<TfrmOnlineUpdateDownload>(), "", url, target));
        EXPECT_FALSE(FileExists(target));
        EXPECT_TRUE(Leftovers(Scratch / "x\\").empty());
    }
}

TEST_F(DownloadFileTest, EmptyTargetPathRaises) {
    EXPECT_THROW(DownloadFile(DownloadFormClass<TfrmEnewsDownload>(), "", "http://127.0.0.1/", ""), EBrantel);
}

// What the caller knows of the document decides too: a chunked body cut off looks whole to the
// internet library, so only its expected size gives it away; a length past 32 bits is read whole.
TEST_F(DownloadFileTest, ABodyThatIsNotWhatTheCallerExpectedIsRefused) {
    const std::string setup(3000, 's');  // "3 kB" in an index
    THttpExpectation threeKB;
    threeKB.MinBytes = 2 * 1024 + 1;
    threeKB.MaxBytes = 4 * 1024 - 1;
    THttpExpectation lengthRequired;
    lengthRequired.RequireAnnouncedLength = true;
    THttpExpectation index;
    index.MaxBytes = 1024 * 1024;
    const std::string large(1024 * 1024 + 1, 'i');
    const std::string head = "HTTP/1.1 200 OK\r\nConnection: close\r\n";
    const struct {
        const char* Name;
        THttpAnswer Answer;
        THttpExpectation Expect;
        THttpFailure Expected;
    } cases[] = {
        {"chunked, whole, of the expected size",
         RawAnswer(ChunkedAnswer({setup.substr(0, 1000), setup.substr(1000)}, true)), threeKB,
         THttpFailure::None},
        {"chunked, cut inside a chunk",
         RawAnswer(ChunkedAnswer({setup.substr(0, 1000)}, false) + "7d0\r\n" + setup.substr(0, 300)),
         threeKB, THttpFailure::Size},
        {"chunked, cut before the end marker",
         RawAnswer(ChunkedAnswer({setup.substr(0, 1000)}, false)), threeKB, THttpFailure::Size},
        {"chunked, whole, but no size known",
         RawAnswer(ChunkedAnswer({setup}, true)), lengthRequired, THttpFailure::Size},
        {"announced, whole, another size than expected", {200, std::string(9000, 'x')}, threeKB, THttpFailure::Size},
        {"a length past 32 bits, body cut",
         RawAnswer(head + "Content-Length: 5000000123\r\n\r\n" + setup), {},
         THttpFailure::Connection},
        {"a length that cannot be read",
         RawAnswer(head + "Content-Length: 12abc\r\n\r\n" + setup), {},
         THttpFailure::Connection},
        {"more than the most expected, announced", {200, large}, index, THttpFailure::Size},
        {"more than the most expected, not announced", {200, large, false}, index, THttpFailure::Size},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        THttpTestPeer peer({{"/setup.exe", c.Answer}}, 1);
        const std::string target = Scratch / "Updates\\Kasboek\\setup.exe";
        EXPECT_EQ(DownloadChecked(DownloadFormClass<TfrmOnlineUpdateDownload>(), "", peer.Url("/setup.exe"), target, c.Expect),
                  c.Expected);
        EXPECT_EQ(FileExists(target), c.Expected == THttpFailure::None);
        if (FileExists(target)) {
            EXPECT_EQ(ReadFileBytes(target), setup);
        }
        EXPECT_TRUE(Leftovers(Scratch / "Updates\\Kasboek\\").empty());
        peer.Join();
        if (FileExists(target)) FileDelete(target);
    }
}

// A slow or silent server: the window stays responsive, and Cancel (or the close box) ends the
// transfer at once, its temporary file gone with it.
TEST_F(DownloadFileTest, CancelEndsAtOnceWithNothingLeftWhateverTheServerDoes) {
    std::atomic<bool> stop{false};
    auto silentFor = [&](int seconds) {
        for (int i = 0; i < seconds * 20 && !stop; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    };
    const std::function<void(TPeerConnection&)> slowBody = [&](TPeerConnection& c) {
        c.ReadUntil("\r\n\r\n");
        c.Send("HTTP/1.0 200 OK\r\nContent-Length: 40000\r\n\r\n");
        for (int i = 0; i < 60 && !stop; ++i) {
            c.Send(std::string(512, 'y'));
            std::this_thread::sleep_for(std::chrono::milliseconds(150));
        }
    };
    const struct {
        const char* Name;
        std::function<void(TPeerConnection&)> Script;
        bool CloseBox, SendsBytes;
    } cases[] = {
        {"a slow body, Cancel", slowBody, false, true},
        {"a slow body, the close box", slowBody, true, true},
        {"silent after some bytes", [&](TPeerConnection& c) {
             c.ReadUntil("\r\n\r\n");
             c.Send("HTTP/1.0 200 OK\r\nContent-Length: 40000\r\n\r\n" + std::string(700, 'y'));
             silentFor(10);
         }, false, true},
        {"silent before any answer", [&](TPeerConnection& c) {
             c.ReadUntil("\r\n\r\n");
             silentFor(10);
         }, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        stop = false;
        TLoopbackPeer peer(c.Script, 1);
        TfrmOnlineUpdateDownload* window = nullptr;
        int progressSeen = -1, ticks = 0;
        TTimer user(300, true);
        user.OnTimer = [&](TTimer* t) {
            // The user waits for bytes, or gives up on a server that sends none.
            if (!window || (!window->GotData() && ++ticks < 3)) return;
            t->SetEnabled(false);
            progressSeen = window->barProgress.Position();
            EXPECT_EQ(window->lblFilename.Caption().find("setup.exe"), window->lblFilename.Caption().size() - 9);
            if (c.CloseBox) {
                PostMessageW(window->Handle(), WM_CLOSE, 0, 0);
            } else {
                window->btnCancel.Click();
            }
        };
        const TDownloadFormClass formClass = [&]() -> TFormPtr<TDownloadForm> {
            auto form = CreateForm<TfrmOnlineUpdateDownload>();
            window = form.get();
            return TFormPtr<TDownloadForm>(form.release());
        };
        const std::string target = Scratch / "Updates\\(Algemeen)\\setup.exe";
        const auto started = std::chrono::steady_clock::now();
        EXPECT_FALSE(DownloadFile(formClass, "", "http://127.0.0.1:" + std::to_string(peer.Port()) + "/setup.exe", target));
        const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        // Gone at once, not when the server would have answered.
        EXPECT_TRUE(Leftovers(Scratch / "Updates\\(Algemeen)\\").empty());
        EXPECT_FALSE(FileExists(target));
        stop = true;
        peer.Join();
        EXPECT_LT(seconds, 5.0);  // the server would have needed 9 s or more
        if (c.SendsBytes) {
            EXPECT_GT(progressSeen, 0);
        }
    }
}
