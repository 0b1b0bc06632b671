#pragma once
// A sandboxed registry, a program folder of its own, a recording shell and helpers to register a
// browser, for the service and collector tests.
#include <gtest/gtest.h>
#include <windows.h>

#include "ModelFixture.h"
#include "Source/Common/Catalogue/ServiceItems.h"
#include "TestSupport.h"
#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/Shell.h"

class ServiceTest : public testing::Test {
protected:
    ServiceTest() {
        SetProgramFolder(Folder.Path());
        SetShellHook([this](const TShellStart& s) {
            Started.push_back(s);
            return ShellAnswer;
        });
    }
    ~ServiceTest() override {
        SetShellHook(nullptr);
        SetProgramFolder("");
    }

    // Registers a browser for .htm the usual way (file type, then its open command).
    std::string RegisterBrowser(const std::string& command) {
        TRegKey ext, cmd;
        EXPECT_TRUE(ext.Open(HKEY_CLASSES_ROOT, ".htm", true));
        ext.WriteString("", "htmlfile");
        EXPECT_TRUE(cmd.Open(HKEY_CLASSES_ROOT, "htmlfile\\shell\\open\\command", true));
        cmd.WriteString("", command);
        return command;
    }
    std::string BrowserExe() { return Folder.WriteFile("Program Files\\Surfer\\surfer.exe", "MZ"); }

    TAppModel& Model = BranModel();
    TRegistrySandbox Registry;
    TScratchFolder Folder;
    std::vector<TShellStart> Started;
    intptr_t ShellAnswer = 42;
};
