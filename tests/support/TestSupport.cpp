#include "TestSupport.h"

#include <gtest/gtest.h>
#include <psapi.h>
#include <shellapi.h>

#include <atomic>

#include "core/StrConv.h"
#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/gui/Messages.h"

namespace {
std::atomic<int> g_counter{0};

std::string UniqueName(const char* prefix) {
    return std::string(prefix) + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++g_counter);
}

int DefaultAnswer(TMsgButtons buttons) {
    switch (buttons) {
        case TMsgButtons::AbortRetryIgnore: return IDABORT;
        case TMsgButtons::RetryCancel: return IDRETRY;
        case TMsgButtons::YesNo:
        case TMsgButtons::YesNoCancel: return IDYES;
        default: return IDOK;
    }
}

}  // namespace

int UnexpectedBox(const TMessageRecord& m) {
    ADD_FAILURE() << "unexpected message box: " << m.Text;
    return IDCANCEL;
}

TRegistrySandbox::TRegistrySandbox() : FScratchPath("Software\\BranTests\\" + UniqueName("sandbox")) {
    HKEY lm = nullptr, cu = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, Widen(FScratchPath + "\\HKLM").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                    nullptr, &lm, nullptr);
    RegCreateKeyExW(HKEY_CURRENT_USER, Widen(FScratchPath + "\\HKCU").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                    nullptr, &cu, nullptr);
    HKEY cr = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, Widen(FScratchPath + "\\HKCR").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                    nullptr, &cr, nullptr);
    FLocalMachine = lm;
    FCurrentUser = cu;
    FClassesRoot = cr;
    // The platform's cryptographic providers are registered there: without them the platform's
    // data protection and certificate checks would fail inside the sandbox.
    HKEY cryptography = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Cryptography", 0, KEY_READ, &cryptography) == 0) {
        HKEY copy = nullptr;
        RegCreateKeyExW(lm, L"Software\\Microsoft\\Cryptography", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &copy,
                        nullptr);
        RegCopyTreeW(cryptography, nullptr, copy);
        RegCloseKey(copy);
        RegCloseKey(cryptography);
    }
    EXPECT_EQ(RegOverridePredefKey(HKEY_LOCAL_MACHINE, lm), ERROR_SUCCESS);
    EXPECT_EQ(RegOverridePredefKey(HKEY_CURRENT_USER, cu), ERROR_SUCCESS);
    EXPECT_EQ(RegOverridePredefKey(HKEY_CLASSES_ROOT, cr), ERROR_SUCCESS);
}

TRegistrySandbox::~TRegistrySandbox() {
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
    RegCloseKey(FLocalMachine);
    RegCloseKey(FCurrentUser);
    RegCloseKey(FClassesRoot);
    TRegKey::DeleteKey(HKEY_CURRENT_USER, FScratchPath);
}

TScratchFolder::TScratchFolder() {
    FPath = GetTempFolder() + UniqueName("bran") + "\\";
    RemoveTree(FPath);
    ForceDirectories(FPath);
}

TScratchFolder::~TScratchFolder() {
    SetCurrentDir(GetTempFolder());  // a folder cannot go while it is the current one
    RemoveTree(FPath);
}

std::string TScratchFolder::WriteFile(const std::string& relative, const std::string& bytes) const {
    std::string path = FPath + relative;
    ForceDirectories(ExtractFilePath(path));
    WriteFileBytes(path, bytes);
    return path;
}

TMessageRecorder::TMessageRecorder() {
    SetMessageHook([this](const TMessageRecord& m) {
        FMessages.push_back(m);
        if (FAnswers.empty()) return DefaultAnswer(m.Buttons);
        int a = FAnswers.front();
        FAnswers.pop_front();
        return a;
    });
}

TMessageRecorder::~TMessageRecorder() { SetMessageHook(UnexpectedBox); }

std::vector<std::string> TMessageRecorder::Texts() const {
    std::vector<std::string> texts;
    for (const auto& m : FMessages) texts.push_back(m.Text);
    return texts;
}

std::string FixturePath(const std::string& relative) { return std::string(BRAN_FIXTURES_DIR) + "\\" + relative; }

uint64_t PeakMemory() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    return GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters) ? counters.PeakWorkingSetSize : 0;
}

void WriteRepeated(const std::string& path, const std::string& piece, size_t times) {
    HANDLE h = CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
    for (size_t i = 0; i < times; ++i) {
        DWORD written = 0;
        EXPECT_TRUE(WriteFile(h, piece.data(), static_cast<DWORD>(piece.size()), &written, nullptr)) << path;
    }
    CloseHandle(h);
}

void RemoveTree(const std::string& path) {
    std::string dir = ExcludeTrailingBackslash(path);
    for (const TSearchRec& r : FindFiles(dir + "\\*", faAnyFile)) {
        std::string full = dir + "\\" + r.Name;
        if (r.Attr & faDirectory) {
            RemoveTree(full);
        } else {
            SetFileAttributesW(Widen(full).c_str(), FILE_ATTRIBUTE_NORMAL);
            FileDelete(full);
        }
    }
    RemoveDir(dir);
}

// Every test executable starts here: no message box may wait for a user who is not there.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    SetMessageHook(UnexpectedBox);
    SetApplicationTitle("Bran-Service");
    return RUN_ALL_TESTS();
}

std::string EnvironmentValue(const char* name) {
    const std::wstring wide = Widen(name);
    std::wstring value(GetEnvironmentVariableW(wide.c_str(), nullptr, 0), L'\0');
    if (value.empty()) return "";
    value.resize(GetEnvironmentVariableW(wide.c_str(), value.data(), static_cast<DWORD>(value.size())));
    return Narrow(value);
}
