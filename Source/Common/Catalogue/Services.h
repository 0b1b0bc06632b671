#pragma once
// The services of the catalogue: what the main window lists for a service item and runs when the
// user opens it. Each constructor fails (throws) when the service cannot be given here and now -
// a missing file, no browser - and the collector then leaves it out.
//
//   TService                      caption, description, icon, help context, delete/print flags
//   ├─ TFormService               shows one of the program's windows modally
//   │   ├─ TProblemSolverService, TOnlineUpdateService, TAddressChangeService, TENewsService
//   │   └─ THelpdeskReportService a stored report, reopened in the problem solver (ReportService)
//   ├─ TExternalService           starts a program or document through the shell
//   │   ├─ TLocalUpdateService, THelpfileService, TReadmeService, TUninstallService
//   └─ TBrowserService            opens a web page in the user's browser
//       └─ TBrantelOnlineService, TOnlineHelpdeskService, TOnlineShopService
#include <functional>
#include <memory>
#include <string>

#include "Source/Common/Catalogue/ServiceInterface.h"
#include "platform/gui/Form.h"

class TBranApplication;

class TService : public IService {
public:
    TService(std::string caption, std::string description, int helpContext, int imageIndex);

    // Programming errors when the service does not allow them; otherwise true.
    bool Delete(const TServiceItemRef& item) override;
    bool Print(const TServiceItemRef& item, int copies) override;
    bool CanDelete() const override { return FCanDelete; }
    bool CanPrint() const override { return FCanPrint; }
    std::string GetDescription() const override { return FDescription; }
    int GetHelpContext() const override { return FHelpContext; }
    int GetImageIndex() const override { return FImageIndex; }
    std::string GetCaption() const override { return FCaption; }
    virtual const char* ClassName() const = 0;

protected:
    bool FCanDelete = false;
    bool FCanPrint = false;
    std::string FCaption, FDescription;
    int FHelpContext, FImageIndex;
};

// --- windows ---------------------------------------------------------------------------------------

// The windows a form service can show, by class name. The program registers each window at
// start-up; a window class that is not registered cannot be opened (Provide answers false).
using TFormFactory = std::function<TFormPtr<TForm>()>;
void RegisterServiceForm(const std::string& formClass, TFormFactory factory);
bool ServiceFormRegistered(const std::string& formClass);
// Shows a registered window modally; false when the window class is not registered.
bool ShowServiceForm(const std::string& formClass, const std::function<void(TForm&)>& prepare = {});

class TFormService : public TService {
public:
    TFormService(std::string formClass, std::string caption, std::string description, int helpContext,
                 int imageIndex);
    // Creates the window, lets PrepareForm set it up, shows it modally and frees it; true once shown.
    bool Provide(const TServiceItemRef& item) override;
    const std::string& FormClass() const { return FFormClass; }

protected:
    virtual void PrepareForm(TForm& form);

private:
    std::string FFormClass;
};

class TProblemSolverService : public TFormService {
public:
    TProblemSolverService();
    const char* ClassName() const override { return "TProblemSolverService"; }
};

class TOnlineUpdateService : public TFormService {
public:
    explicit TOnlineUpdateService(TServiceItem& item);
    const char* ClassName() const override { return "TOnlineUpdateService"; }
};

class TAddressChangeService : public TFormService {
public:
    TAddressChangeService();
    const char* ClassName() const override { return "TAddressChangeService"; }
};

class TENewsService : public TFormService {
public:
    TENewsService();
    const char* ClassName() const override { return "TENewsService"; }
};

// --- programs and documents -----------------------------------------------------------------------

class TExternalService : public TService {
public:
    // The program file must exist.
    TExternalService(std::string caption, std::string parameters, std::string programFile, int helpContext,
                     std::string description, int imageIndex);
    // Starts the program with "open", its parameters and its own folder as working folder.
    bool Provide(const TServiceItemRef& item) override;
    const char* ClassName() const override { return "TExternalService"; }
    const std::string& ProgramFile() const { return FProgramFile; }
    const std::string& Parameters() const { return FParameters; }

private:
    std::string FProgramFile, FParameters;
};

// What ends the program after it started an update of itself (tests watch it instead).
void SetEndProgramHandler(std::function<void()> handler);

class TLocalUpdateService : public TExternalService {
public:
    TLocalUpdateService(TServiceItem& item, const std::string& updateProgram);
    const char* ClassName() const override { return "TLocalUpdateService"; }
    // Says whether the setup is signed and by whom, warns when it is not (or not validly, or when
    // that cannot be checked) and starts it only when the user agrees; true also when the user
    // chose not to start it, since nothing failed. Starting an update of the program itself ends
    // the program so that the update can replace it.
    bool Provide(const TServiceItemRef& item) override;
    bool Delete(const TServiceItemRef& item) override;  // deletes the update program
    bool EndsProgram() const { return FEndsProgram; }

private:
    bool FEndsProgram;
};

class THelpfileService : public TExternalService {
public:
    explicit THelpfileService(TBranApplication& application);
    const char* ClassName() const override { return "THelpfileService"; }
};

class TReadmeService : public TExternalService {
public:
    explicit TReadmeService(TBranApplication& application);
    const char* ClassName() const override { return "TReadmeService"; }
};

class TUninstallService : public TExternalService {
public:
    explicit TUninstallService(TBranApplication& application);
    const char* ClassName() const override { return "TUninstallService"; }
};

// Splits an uninstall command into program and parameters. A program in double quotes ends at its
// closing quote; an unquoted command is split at the first blank (from the left) where the text
// before it names an existing file, as the system itself starts an unquoted command line. When no
// such blank exists, a command that names an existing file as a whole is the program; otherwise the
// split is at the last blank (a blank at the very end does not split).
void SplitUninstallString(const std::string& command, std::string& program, std::string& parameters);

// --- web pages ------------------------------------------------------------------------------------

class TBrowserService : public TService {
public:
    // A web browser must be present ("Geen Internetbrowser gevonden." otherwise).
    TBrowserService(std::string caption, int helpContext, std::string description, int imageIndex);
    bool Provide(const TServiceItemRef& item) override;
    const std::string& Address() const { return FAddress; }

protected:
    std::string FAddress;
};

class TBrantelOnlineService : public TBrowserService {
public:
    TBrantelOnlineService();
    const char* ClassName() const override { return "TBrantelOnlineService"; }
};

class TOnlineHelpdeskService : public TBrowserService {
public:
    explicit TOnlineHelpdeskService(TServiceItem& item);
    const char* ClassName() const override { return "TOnlineHelpdeskService"; }
};

class TOnlineShopService : public TBrowserService {
public:
    explicit TOnlineShopService(TServiceItem& generalItem);
    const char* ClassName() const override { return "TOnlineShopService"; }
};
