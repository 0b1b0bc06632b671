#pragma once
// The application object: title, main form, message loop, activation, help.
#include <string>
#include <vector>

#include "platform/gui/Control.h"

class TForm;

class TApplication {
public:
    const std::string& Title() const;
    void SetTitle(const std::string& title);

    TForm* MainForm() const { return FMainForm; }
    // Shows the main form and runs the message loop until it closes (or Terminate).
    void Run(TForm& mainForm);
    void Terminate();
    bool Terminated() const { return FTerminated; }
    // Handles every message waiting in the queue, then returns.
    void ProcessMessages();
    // Waits for one message and handles it; false when the loop must end (WM_QUIT).
    bool HandleMessage();
    // Translates and dispatches one message, giving its form the first look.
    void DispatchOne(MSG& msg);

    // The modal forms running now, innermost last (ShowModal keeps the list).
    const std::vector<TForm*>& ModalForms() const { return FModalForms; }
    void ModalStarted(TForm* form) { FModalForms.push_back(form); }
    void ModalEnded(TForm* form) { std::erase(FModalForms, form); }

    // Fired when the program becomes the active application, and when it stops being it: once per
    // change, although Windows tells every top-level window of the program (hidden ones too).
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    void Activated(bool active);
    // True while the program's activation is still being told: it became active and no message of
    // the queue has been handled since. A window activated now is activated by that same change
    // (Windows tells the application first, then the window).
    bool ActivationInProgress() const { return FActive && FActivatedAtMessage == FMessagesHandled; }

    // The help file; F1 and help buttons open the topic of a help context in the help viewer.
    std::string HelpFile;
    bool HelpContext(int context);

private:
    TForm* FMainForm = nullptr;
    std::vector<TForm*> FModalForms;
    bool FTerminated = false;
    bool FActive = false;
    unsigned long FMessagesHandled = 0, FActivatedAtMessage = 0;
};

TApplication& Application();
