// The real program, driven from outside as a user would: started for an application, "Probleemoplosser"
// opened from the main window, the wizard walked to its report page and closed there, or the program
// closed while the wizard is open. The report stays in the program's folder for tools we did not write
// (tests/checks/problem_solver.py): the tests run only when that script names the folder in BRAN_E2E_DIR.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "SampleApplication.h"
#include "core/StrConv.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/Registry.h"
#include "platform/gui/Label.h"

namespace {
struct TWindowQuery {
    DWORD Process;
    std::function<bool(HWND)> Match;
    HWND Found = nullptr;
};

std::string WindowText(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return Narrow(text);
}

std::string ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return Narrow(name);
}

BOOL CALLBACK MatchWindow(HWND window, LPARAM data) {
    auto* q = reinterpret_cast<TWindowQuery*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != q->Process || !IsWindowVisible(window) || !q->Match(window)) return TRUE;
    q->Found = window;
    return FALSE;
}

BOOL CALLBACK CollectVisible(HWND window, LPARAM data) {
    if (IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
    return TRUE;
}

// The first visible top-level window of the process that matches, waiting up to 30 seconds.
HWND WaitForWindow(DWORD process, const std::function<bool(HWND)>& match) {
    for (int tries = 0; tries < 300; ++tries) {
        TWindowQuery query{process, match};
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&query));
        if (query.Found) return query.Found;
        Sleep(100);
    }
    return nullptr;
}

// The visible descendants of a window, in the order the system lists them.
std::vector<HWND> VisibleChildren(HWND parent) {
    std::vector<HWND> children;
    EnumChildWindows(parent, CollectVisible, reinterpret_cast<LPARAM>(&children));
    return children;
}

HWND ButtonOf(HWND parent, const std::string& caption) {
    for (HWND child : VisibleChildren(parent))
        if (ClassOf(child) == "Button" && StripAccelerator(WindowText(child)) == caption) return child;
    return nullptr;
}

// Clicks a button as the user would and waits until the program has handled it.
void Press(HWND parent, const std::string& caption) {
    HWND button = ButtonOf(parent, caption);
    ASSERT_NE(button, nullptr) << caption;
    DWORD_PTR result = 0;
    SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_NORMAL, 60000, &result);
}

std::string PageTitle(HWND wizard) {
    // The wizard's title is the large label in its header band: the first visible label with text
    // that is one of the page titles.
    for (HWND child : VisibleChildren(wizard)) {
        const std::string text = WindowText(child);
        for (const char* title : {"Inleiding", "Raadpleeg de Documentatie", "Online Update",
                                  "Contact opnemen met de Brantel Helpdesk", "Probleemomschrijving",
                                  "Technische informatie", "Persoonlijke gegevens", "Opslaan van gegevens",
                                  "Helpdeskrapport"})
            if (text == title) return text;
    }
    return "";
}

// The visible edit boxes of the page shown, multi-line ones or single-line ones.
std::vector<HWND> Edits(HWND wizard, bool multiLine) {
    std::vector<HWND> edits;
    for (HWND child : VisibleChildren(wizard))
        if (ClassOf(child) == "Edit" && ((GetWindowLongW(child, GWL_STYLE) & ES_MULTILINE) != 0) == multiLine)
            edits.push_back(child);
    return edits;
}

void Type(HWND edit, const std::string& text) {
    DWORD_PTR result = 0;
    const std::wstring wide = Widen(text);
    SendMessageTimeoutW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()), SMTO_NORMAL, 10000, &result);
}

// Waits for a message box of the process, answers it with the button of that caption and gives its text.
std::string AnswerBox(DWORD process, const std::string& button) {
    HWND box = WaitForWindow(process, [](HWND w) { return ClassOf(w) == "#32770"; });
    if (!box) return "(no box)";
    wchar_t text[1024] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 1024);
    HWND pressed = ButtonOf(box, button);
    if (pressed) PostMessageW(box, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(pressed), BN_CLICKED), reinterpret_cast<LPARAM>(pressed));
    for (int tries = 0; tries < 100 && IsWindow(box); ++tries) Sleep(100);
    return Narrow(text);
}

void WriteValues(const std::string& key, std::initializer_list<std::pair<const char*, const char*>> values) {
    TRegKey k;
    ASSERT_TRUE(k.Open(HKEY_LOCAL_MACHINE, key, true));
    for (auto [name, value] : values) k.WriteString(name, value);
}
}  // namespace

// The program started for Kasboek from a folder of its own, its main window and the wizard opened from
// it; the process is waited for (and ended if it hangs) when the object goes.
class TProgramWithWizard {
public:
    explicit TProgramWithWizard(const std::string& folder) {
        const std::string exe = folder + "BranService.exe";
        ForceDirectories(folder);
        EXPECT_TRUE(FileCopy(ExtractFilePath(GetExeName()) + "..\\BranService.exe", exe, false));
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        std::wstring commandLine = L"\"" + Widen(exe) + L"\" -rKasboek";
        if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, Widen(folder).c_str(),
                            &startup, &FProcess)) {
            ADD_FAILURE() << "the program did not start";
            return;
        }
        Main = WaitForWindow(Id(), [](HWND w) { return WindowText(w) == "Bran-Service"; });
        if (!Main) return;
        HWND services = nullptr;
        for (HWND child : VisibleChildren(Main))
            if (ClassOf(child) == "SysListView32") services = child;
        if (!services) return;
        // "Probleemoplosser" is the first service of an application: select it and press Enter.
        for (WORD key : {VK_HOME, VK_RETURN}) {
            PostMessageW(services, WM_KEYDOWN, key, 1);
            PostMessageW(services, WM_KEYUP, key, 0xC0000001);
            Sleep(500);
        }
        Wizard = WaitForWindow(Id(), [](HWND w) { return WindowText(w) == "Probleemoplosser"; });
        Sleep(500);
    }
    ~TProgramWithWizard() {
        if (!FProcess.hProcess) return;
        if (!Ended()) TerminateProcess(FProcess.hProcess, 1);
        CloseHandle(FProcess.hThread);
        CloseHandle(FProcess.hProcess);
    }
    TProgramWithWizard(const TProgramWithWizard&) = delete;
    TProgramWithWizard& operator=(const TProgramWithWizard&) = delete;

    DWORD Id() const { return FProcess.dwProcessId; }
    // Waits up to 30 seconds for the program to end.
    bool Ended() const { return WaitForSingleObject(FProcess.hProcess, 30000) == WAIT_OBJECT_0; }

    // From the intro page on, the problem typed in on the way, until the page with this title.
    void WalkTo(const std::string& title) {
        ASSERT_EQ(PageTitle(Wizard), "Inleiding");
        for (const char* page : {"Raadpleeg de Documentatie", "Online Update", "Contact opnemen met de Brantel Helpdesk",
                                 "Probleemomschrijving", "Technische informatie", "Persoonlijke gegevens",
                                 "Opslaan van gegevens", "Helpdeskrapport"}) {
            if (PageTitle(Wizard) == "Probleemomschrijving") {
                std::vector<HWND> lines = Edits(Wizard, false), memos = Edits(Wizard, true);
                ASSERT_EQ(lines.size(), 2u);
                ASSERT_EQ(memos.size(), 2u);
                Type(lines[0], "De maand afsluiten");
                Type(memos[0], "Menu Boekingen, Maand afsluiten");
                Type(memos[1], "Het kasboek sluit de maand niet af.");
                Type(lines[1], "Fout 42: één boeking ontbreekt");
            }
            Press(Wizard, "Volgende");
            ASSERT_EQ(PageTitle(Wizard), page);
            if (page == title) return;
        }
    }

    HWND Main = nullptr, Wizard = nullptr;

private:
    PROCESS_INFORMATION FProcess{};
};

// This machine's registry: one application and a user who filled in the personal data before.
class EndToEnd : public testing::Test {
protected:
    void SetUp() override {
        const char* dir = std::getenv("BRAN_E2E_DIR");
        if (!dir || !*dir) GTEST_SKIP() << "run by tests/checks/problem_solver.py";
        Folder = IncludeTrailingBackslash(dir);
        RegisterApplication({.Values = {{"", "Kasboek"}, {"ReleaseVersion", "2.1"}},
                             .TechInfos = {"WindowsMemory", "RegionalSettings"}});
        WriteValues("Software\\Brantel\\Shared\\Registration",
                    {{"Initials", "J."}, {"LastName", "Jansen"}, {"Street", "Dorpsstraat"}, {"HouseNumber", "12"},
                     {"ZipCode", "1234 AB"}, {"City", "Utrecht"}, {"Country", "Nederland"},
                     {"E-mail", "j.jansen@voorbeeld.nl"}, {"Internet", "True"}});
    }
    void TearDown() override {
        TRegKey::DeleteKey(HKEY_LOCAL_MACHINE, "Software\\Brantel\\Kasboek");
        TRegKey::DeleteKey(HKEY_LOCAL_MACHINE, "Software\\Brantel\\Shared\\Registration");
    }
    std::string Folder;
};

TEST_F(EndToEnd, ProblemSolverFromTheMainWindowLeavesAReport) {
    // With a mail server to send to, Finish e-mails the report; without one the window is closed.
    const char* smtp = std::getenv("BRAN_SMTP_SERVER");
    const bool mail = smtp && *smtp;
    if (mail) WriteValues("Software\\Brantel\\Shared\\Registration", {{"Mailserver", smtp}});
    TProgramWithWizard program(Folder);
    ASSERT_NE(program.Wizard, nullptr);
    program.WalkTo("Helpdeskrapport");
    if (mail) {
        PostMessageW(ButtonOf(program.Wizard, "Voltooien"), BM_CLICK, 0, 0);  // the questions that follow have loops of their own
        EXPECT_NE(AnswerBox(program.Id(), "Ja").find("LET OP : u staat op het punt een helpdeskrapport via e-mail te versturen."),
                  std::string::npos);
        EXPECT_EQ(AnswerBox(program.Id(), "OK"), "Het helpdeskrapport is verzonden.");
    } else {
        Press(program.Wizard, "Sluiten");
    }
    for (int tries = 0; tries < 100 && IsWindow(program.Wizard) && IsWindowVisible(program.Wizard); ++tries) Sleep(100);
    PostMessageW(program.Main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(program.Ended());

    EXPECT_TRUE(FileExists(Folder + "Reports\\Kasboek\\Report01\\CASE.RTF"));
    EXPECT_TRUE(FileExists(Folder + "Reports\\Kasboek\\Report01\\CASE.INI"));
}

// Closing the program while the wizard is open closes the wizard as its own close button would: a
// report the user never saw goes, one on the report page is kept whole.
TEST_F(EndToEnd, ClosingTheProgramClosesTheWizardAsItsCloseButtonWould) {
    for (const char* page : {"Opslaan van gegevens", "Helpdeskrapport"}) {
        SCOPED_TRACE(page);
        const std::string folder = Folder + "Sluiten\\" + (page[0] == 'O' ? "Ongezien\\" : "Rapport\\");
        TProgramWithWizard program(folder);
        ASSERT_NE(program.Wizard, nullptr);
        program.WalkTo(page);
        ASSERT_TRUE(FileExists(folder + "Reports\\Kasboek\\Report01\\CASE.RTF"));
        PostMessageW(program.Main, WM_CLOSE, 0, 0);
        EXPECT_TRUE(program.Ended());
        const bool kept = page[0] == 'H';
        EXPECT_EQ(DirectoryExists(folder + "Reports\\Kasboek\\Report01"), kept);
        if (kept) {
            EXPECT_EQ(TIniFile(folder + "Reports\\Kasboek\\Report01\\CASE.INI").ReadString("Probleem", "Line0", ""),
                      "Het kasboek sluit de maand niet af.");
        }
    }
}
