// The program ends while a transfer is under way: after Cancel (the worker still waiting for a
// silent server), in the middle of it, or killed. Each run is a process of its own - this test
// executable started again for the child below - whose exit code and leftovers are checked.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <thread>

#include "LoopbackPeer.h"
#include "Source/Common/Internet/DownloadForm.h"
#include "TestSupport.h"
#include "core/StrConv.h"
#include "platform/Files.h"

namespace {
bool AnyLeftover(const std::string& folder) { return !FindFiles(folder + "~dl*", faAnyFile).empty(); }

// Bytes of the transfer have reached the temporary file.
bool Receiving(const std::string& folder) {
    for (const TSearchRec& r : FindFiles(folder + "~dl*", faAnyFile))
        if (r.Size > 0) return true;
    return false;
}
}  // namespace

// The child: fetches from the stalling server and, once bytes arrived, does what it was told.
TEST(DownloadExitChild, Run) {
    const std::string mode = EnvironmentValue("BRAN_EXIT_MODE");
    if (mode.empty()) GTEST_SKIP() << "started by DownloadExit only";
    TfrmOnlineUpdateDownload* window = nullptr;
    TTimer user(100, true);
    user.OnTimer = [&](TTimer* t) {
        if (!window || !window->GotData()) return;
        t->SetEnabled(false);
        if (mode == "cancel") window->btnCancel.Click();
        if (mode == "exit") std::exit(0);  // static objects go while the worker still reads
        // "kill": wait for the parent
    };
    const TDownloadFormClass formClass = [&]() -> TFormPtr<TDownloadForm> {
        auto form = CreateForm<TfrmOnlineUpdateDownload>();
        window = form.get();
        return TFormPtr<TDownloadForm>(form.release());
    };
    EXPECT_FALSE(DownloadFile(formClass, "", EnvironmentValue("BRAN_EXIT_URL"), EnvironmentValue("BRAN_EXIT_TARGET")));
}

TEST(DownloadExit, NoTemporaryFileOutlivesTheProgramAndItExitsCleanly) {
    TScratchFolder scratch;
    const std::string folder = scratch / "Updates\\Kasboek\\";
    std::atomic<int> served{0}, released{0};
    // Every connection: the head and a few bytes, then silence until its child is gone.
    TLoopbackPeer peer(
        [&](TPeerConnection& c) {
            const int index = ++served;
            c.ReadUntil("\r\n\r\n");
            c.Send("HTTP/1.0 200 OK\r\nContent-Length: 100000\r\n\r\n" + std::string(2000, 'x'));
            for (int i = 0; i < 600 && released < index; ++i) Sleep(50);
        },
        12);
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    SetEnvironmentVariableA("BRAN_EXIT_URL", ("http://127.0.0.1:" + std::to_string(peer.Port()) + "/setup.exe").c_str());
    SetEnvironmentVariableA("BRAN_EXIT_TARGET", (folder + "setup.exe").c_str());

    // The abort came in about one run of eight: cancel and exit often.
    const std::pair<const char*, int> runs[] = {{"cancel", 8}, {"exit", 2}, {"kill", 2}};
    for (const auto& [mode, count] : runs) {
        for (int run = 0; run < count; ++run) {
            SCOPED_TRACE(std::string(mode) + " #" + std::to_string(run + 1));
            SetEnvironmentVariableA("BRAN_EXIT_MODE", mode);
            std::wstring command = L"\"" + std::wstring(self) + L"\" --gtest_filter=DownloadExitChild.Run";
            STARTUPINFOW startup{};
            startup.cb = sizeof(startup);
            PROCESS_INFORMATION process{};
            ASSERT_TRUE(CreateProcessW(self, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
            TKernelHandle child(process.hProcess), thread(process.hThread);
            if (std::string(mode) == "kill") {
                // Killed while the temporary file is open: Windows itself must remove it.
                for (int i = 0; i < 200 && !Receiving(folder); ++i) Sleep(50);
                EXPECT_TRUE(Receiving(folder)) << "no bytes came";
                TerminateProcess(child.Get(), 9);
            }
            ASSERT_EQ(WaitForSingleObject(child.Get(), 60000), WAIT_OBJECT_0);
            DWORD exitCode = 0;
            GetExitCodeProcess(child.Get(), &exitCode);
            ++released;
            EXPECT_EQ(exitCode, std::string(mode) == "kill" ? 9u : 0u);
            EXPECT_FALSE(AnyLeftover(folder));
            EXPECT_FALSE(FileExists(folder + "setup.exe"));
        }
    }
    SetEnvironmentVariableA("BRAN_EXIT_MODE", nullptr);
    peer.Join();
    EXPECT_EQ(served, 12);
}
