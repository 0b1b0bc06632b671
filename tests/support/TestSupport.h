#pragma once
// Fixtures shared by every test executable.
//
//   TRegistrySandbox  - HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER and HKEY_CLASSES_ROOT redirected to
//                       fresh scratch keys for the lifetime of the object (this process only), removed
//                       afterwards.
//   TScratchFolder    - an empty folder in the temporary folder, removed with everything in it.
//   TMessageRecorder  - records every message box and answers from a script (default: the first
//                       button: IDOK, IDYES, IDABORT, IDRETRY).
//   TEnvironment      - an environment variable of this process set for the lifetime of the object.
//   FixturePath       - the Windows path of a file below tests/fixtures.
//   PeakMemory        - the most memory the process has held so far (peak working set, bytes).
//   WriteRepeated     - a large file written a piece at a time.
// Outside a recorder, a message box fails the running test (nobody would answer it).
#include <windows.h>

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "core/StrConv.h"
#include "platform/gui/Messages.h"

class TRegistrySandbox {
public:
    TRegistrySandbox();
    ~TRegistrySandbox();
    TRegistrySandbox(const TRegistrySandbox&) = delete;
    TRegistrySandbox& operator=(const TRegistrySandbox&) = delete;
    // Where the redirected keys really live (below HKEY_CURRENT_USER of the prefix).
    const std::string& ScratchPath() const { return FScratchPath; }

private:
    std::string FScratchPath;
    HKEY FLocalMachine = nullptr, FCurrentUser = nullptr, FClassesRoot = nullptr;
};

class TScratchFolder {
public:
    TScratchFolder();
    ~TScratchFolder();
    TScratchFolder(const TScratchFolder&) = delete;
    TScratchFolder& operator=(const TScratchFolder&) = delete;
    // With a trailing backslash.
    const std::string& Path() const { return FPath; }
    std::string operator/(const std::string& relative) const { return FPath + relative; }
    // Writes bytes to a file below the folder, creating its folders.
    std::string WriteFile(const std::string& relative, const std::string& bytes) const;

private:
    std::string FPath;
};

class TMessageRecorder {
public:
    TMessageRecorder();
    ~TMessageRecorder();
    TMessageRecorder(const TMessageRecorder&) = delete;
    TMessageRecorder& operator=(const TMessageRecorder&) = delete;
    // Answers for the next boxes, in order; afterwards the default answer.
    void Answer(int id) { FAnswers.push_back(id); }
    const std::vector<TMessageRecord>& Messages() const { return FMessages; }
    std::vector<std::string> Texts() const;
    void Clear() { FMessages.clear(); }

private:
    std::vector<TMessageRecord> FMessages;
    std::deque<int> FAnswers;
};

// The hook outside a recorder: a box fails the running test.
int UnexpectedBox(const TMessageRecord& m);

// Sets an environment variable for the lifetime of the object.
class TEnvironment {
public:
    TEnvironment(const wchar_t* name, const std::string& value) : FName(name) {
        std::wstring saved(GetEnvironmentVariableW(name, nullptr, 0), L'\0');
        FHad = !saved.empty();
        if (FHad) saved.resize(GetEnvironmentVariableW(name, saved.data(), static_cast<DWORD>(saved.size())));
        FSaved = saved;
        SetEnvironmentVariableW(name, Widen(value).c_str());
    }
    ~TEnvironment() { SetEnvironmentVariableW(FName, FHad ? FSaved.c_str() : nullptr); }
    TEnvironment(const TEnvironment&) = delete;
    TEnvironment& operator=(const TEnvironment&) = delete;

private:
    const wchar_t* FName;
    std::wstring FSaved;
    bool FHad = false;
};

// A value the check scripts pass in the environment; "" when it is not set.
std::string EnvironmentValue(const char* name);

std::string FixturePath(const std::string& relative);
uint64_t PeakMemory();
// A file of `times` copies of piece, written one at a time (a large file that is never in memory whole).
void WriteRepeated(const std::string& path, const std::string& piece, size_t times);

// Removes a folder with everything below it (test clean-up).
void RemoveTree(const std::string& path);
