#include "Source/Common/Catalogue/Services.h"

#include <windows.h>

#include <map>

#include "Source/Common/Catalogue/Browser.h"
#include "Source/Common/Catalogue/Deployment.h"
#include "Source/Common/Catalogue/ServiceItems.h"
#include "core/DateTime.h"
#include "core/Exceptions.h"
#include "core/Format.h"
#include "core/StrConv.h"
#include "platform/FileSignature.h"
#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/gui/Application.h"
#include "platform/gui/Hourglass.h"
#include "platform/gui/Messages.h"

namespace {
const char* const kSource = "Source\\Common\\Services";

std::map<std::string, TFormFactory>& FormClasses() {
    static std::map<std::string, TFormFactory> classes;
    return classes;
}

std::function<void()>& EndProgramHandler() {
    static std::function<void()> handler = [] { Application().Terminate(); };
    return handler;
}

std::string RequireFile(const std::string& path) {
    if (path.empty() || !FileExists(path)) throw EBrantel("TExternalService", "Create", "Bestand niet gevonden: " + path);
    return path;
}

struct TCommandSplit {
    std::string Program, Parameters;
};

TCommandSplit UninstallSplit(const TBranApplication& app) {
    TCommandSplit split;
    SplitUninstallString(app.Uninstall().AsString(), split.Program, split.Parameters);
    return split;
}
}  // namespace

// --- base ----------------------------------------------------------------------------------------

TService::TService(std::string caption, std::string description, int helpContext, int imageIndex)
    : FCaption(std::move(caption)), FDescription(std::move(description)), FHelpContext(helpContext),
      FImageIndex(imageIndex) {}

bool TService::Delete(const TServiceItemRef&) {
    if (!FCanDelete) throw EBranAssertion(std::string(ClassName()) + ".Delete: Service kan niet worden verwijderd.", kSource);
    return true;
}

bool TService::Print(const TServiceItemRef&, int) {
    if (!FCanPrint) throw EBranAssertion(std::string(ClassName()) + ".Print: Service kan niet worden afgedrukt.", kSource);
    return true;
}

// --- windows ---------------------------------------------------------------------------------------

void RegisterServiceForm(const std::string& formClass, TFormFactory factory) {
    FormClasses()[formClass] = std::move(factory);
}

bool ServiceFormRegistered(const std::string& formClass) { return FormClasses().count(formClass) != 0; }

TFormService::TFormService(std::string formClass, std::string caption, std::string description, int helpContext,
                           int imageIndex)
    : TService(std::move(caption), std::move(description), helpContext, imageIndex), FFormClass(std::move(formClass)) {}

bool ShowServiceForm(const std::string& formClass, const std::function<void(TForm&)>& prepare) {
    auto factory = FormClasses().find(formClass);
    if (factory == FormClasses().end()) return false;
    TFormPtr<TForm> form = factory->second();
    if (prepare) prepare(*form);
    form->ShowModal();
    return true;
}

bool TFormService::Provide(const TServiceItemRef&) {
    return ShowServiceForm(FFormClass, [this](TForm& form) { PrepareForm(form); });
}

void TFormService::PrepareForm(TForm&) {}

TProblemSolverService::TProblemSolverService()
    : TFormService("TfrmProblemSolver", "Probleemoplosser",
                   "De probleemoplosser loodst u langs de meest efficiënte manier om problemen op te lossen.", 1003, 0) {}

namespace {
std::string UpdateCaption(TServiceItem& item) {
    return dynamic_cast<TBranApplication*>(&item) ? Format("Online Update %s", {item.Name().AsString()}) : "Online Update";
}
std::string UpdateDescription(TServiceItem& item) {
    return dynamic_cast<TBranApplication*>(&item)
               ? Format("Download de meest recente versie van %s.", {item.Name().AsString()})
               : "Download de meest recente versie van uw programma's van het Internet.";
}
}  // namespace

TOnlineUpdateService::TOnlineUpdateService(TServiceItem& item)
    : TFormService("TfrmOnlineUpdate", UpdateCaption(item), UpdateDescription(item), 1004, 4) {}

TAddressChangeService::TAddressChangeService()
    : TFormService("TfrmAddressChange", "Adreswijziging",
                   "Verstuur uw adreswijziging per e-mail naar de klantenservice van Brantel.", 1009, 5) {}

TENewsService::TENewsService()
    : TFormService("TfrmENews", "Brantel E-Nieuws", "Abonneer u op de e-mail nieuwsservice van Brantel.", 1010, 6) {}

// --- programs and documents -----------------------------------------------------------------------

TExternalService::TExternalService(std::string caption, std::string parameters, std::string programFile,
                                   int helpContext, std::string description, int imageIndex)
    : TService(std::move(caption), std::move(description), helpContext, imageIndex),
      FProgramFile(RequireFile(programFile)),
      FParameters(std::move(parameters)) {}

bool TExternalService::Provide(const TServiceItemRef&) {
    if (FProgramFile.empty()) return false;
    TShellStart start{"open", FProgramFile, FParameters, ExtractFilePath(FProgramFile), SW_SHOWNORMAL};
    return ShellStartSucceeded(ShellStart(start));
}

void SetEndProgramHandler(std::function<void()> handler) { EndProgramHandler() = std::move(handler); }

namespace {
std::string UpdateTitle(TServiceItem& item) {
    return dynamic_cast<TGeneralServiceItem*>(&item) ? ApplicationTitle() : item.Name().AsString();
}
}  // namespace

TLocalUpdateService::TLocalUpdateService(TServiceItem& item, const std::string& updateProgram)
    : TExternalService(Format("%s update", {UpdateTitle(item)}), "", updateProgram, 1016,
                       Format("Update installeren voor %s", {UpdateTitle(item)}), 4),
      FEndsProgram(dynamic_cast<TGeneralServiceItem*>(&item) != nullptr) {
    FCanDelete = true;
}

namespace {
// What the user is told of a setup's signature before starting it, and whether it is a warning.
std::pair<std::string, bool> SignatureText(const TFileSignature& signature) {
    const std::string signer = signature.Signer.empty() ? "een onbekende uitgever" : signature.Signer;
    switch (signature.Verdict) {
        case TSignatureVerdict::Signed:
            // "Brantel B.V." ends the sentence itself.
            return {Format(signer.back() == '.' ? "De update is ondertekend door %s" : "De update is ondertekend door %s.",
                           {signer}),
                    false};
        case TSignatureVerdict::Unsigned:
            return {"De update is niet ondertekend: er valt niet na te gaan wie hem heeft gemaakt en of hij onderweg is "
                    "veranderd.",
                    true};
        case TSignatureVerdict::Altered:
            return {"De handtekening van de update klopt niet: het bestand is veranderd nadat het werd ondertekend.",
                    true};
        case TSignatureVerdict::Untrusted:
            return {Format("De update is ondertekend door %s, maar die handtekening wordt door Windows niet vertrouwd.",
                           {signer}),
                    true};
        case TSignatureVerdict::Expired:
            return {Format("De update is ondertekend door %s met een certificaat dat niet (meer) geldig is.", {signer}),
                    true};
        case TSignatureVerdict::Revoked:
            return {Format("De update is ondertekend door %s met een certificaat dat is ingetrokken of geblokkeerd.",
                           {signer}),
                    true};
        case TSignatureVerdict::NotForCode:
            return {Format("De update is ondertekend door %s met een certificaat dat niet bedoeld is voor programma's.",
                           {signer}),
                    true};
        case TSignatureVerdict::Unverifiable:
            break;
    }
    return {"De handtekening van de update kon op deze computer niet worden gecontroleerd.", true};
}
}  // namespace

bool TLocalUpdateService::Provide(const TServiceItemRef& item) {
    TFileSignature signature;
    {
        const THourglass hourglass;
        signature = CheckFileSignature(ProgramFile());
    }
    const auto [text, warning] = SignatureText(signature);
    const std::string question = warning ? "Wilt u de installatie toch starten?" : "Wilt u de installatie starten?";
    if (ShowMessageBox(text + "\n\n" + question, warning ? TMsgKind::Warning : TMsgKind::Question, TMsgButtons::YesNo) !=
        IDYES)
        return true;
    bool started = TExternalService::Provide(item);
    if (started && FEndsProgram && EndProgramHandler()) EndProgramHandler()();
    return started;
}

bool TLocalUpdateService::Delete(const TServiceItemRef& item) {
    TService::Delete(item);
    return FileDelete(ProgramFile());
}

THelpfileService::THelpfileService(TBranApplication& app)
    : TExternalService(Format("Helpbestand %s", {app.Name().AsString()}), "", app.HelpFile().AsString(), 2,
                       "Raadpleeg het helpbestand voor uitleg over alle functies van het programma.", 7) {}

TReadmeService::TReadmeService(TBranApplication& app)
    : TExternalService(Format("LeesMij %s", {app.Name().AsString()}), "", app.ReadmeFile().AsString(), 4,
                       "Raadpleeg het 'leesmij'-bestand voor de laatste informatie over het programma.", 8) {}

TUninstallService::TUninstallService(TBranApplication& app)
    : TExternalService(Format("%s de-installeren", {app.Name().AsString()}), UninstallSplit(app).Parameters,
                       UninstallSplit(app).Program, 1012, "Het programma verwijderen van uw computer.", 9) {}

void SplitUninstallString(const std::string& command, std::string& program, std::string& parameters) {
    program.clear();
    parameters.clear();
    // A quoted program path: the usual form today.
    if (command.size() > 1 && command[0] == '"') {
        size_t close = command.find('"', 1);
        if (close != std::string::npos) {
            program = command.substr(1, close - 1);
            parameters = Trim(command.substr(close + 1));
            return;
        }
    }
    // Unquoted: the first split from the left whose program exists, as the system starts it.
    for (size_t blank = command.find(' '); blank != std::string::npos; blank = command.find(' ', blank + 1)) {
        if (blank > 0 && FileExists(command.substr(0, blank))) {
            program = command.substr(0, blank);
            parameters = command.substr(blank + 1);
            return;
        }
    }
    // The whole command is the last thing the system tries: one unquoted path with blanks.
    if (FileExists(command)) {
        program = command;
        return;
    }
    // Otherwise the last blank before the final character splits.
    size_t last = command.size() >= 2 ? command.rfind(' ', command.size() - 2) : std::string::npos;
    if (last != std::string::npos) {
        program = command.substr(0, last);
        parameters = command.substr(last + 1);
    } else {
        program = command;
    }
}

// --- web pages ------------------------------------------------------------------------------------

TBrowserService::TBrowserService(std::string caption, int helpContext, std::string description, int imageIndex)
    : TService(std::move(caption), std::move(description), helpContext, imageIndex) {
    if (!BrowserPresent()) throw EBrantel("TBrowserService", "Create", "Geen Internetbrowser gevonden.");
}

bool TBrowserService::Provide(const TServiceItemRef&) { return OpenInBrowser(FAddress); }

TBrantelOnlineService::TBrantelOnlineService()
    : TBrowserService("Brantel Online", 504, "Informatie op het Internet over Brantel programma's.", 1) {
    try {
        TRegKey key = TRegKey::OpenReadOnly(HKEY_LOCAL_MACHINE, "Software\\Brantel\\Shared\\NL");
        if (key.IsOpen()) FAddress = key.ReadString("URL");
    } catch (const ERegistry&) {
        FAddress.clear();
    }
    if (FAddress.empty()) FAddress = MakerHomePage();
}

namespace {
bool IsGeneral(const TServiceItem& item) { return dynamic_cast<const TGeneralServiceItem*>(&item) != nullptr; }
}  // namespace

TOnlineHelpdeskService::TOnlineHelpdeskService(TServiceItem& item)
    : TBrowserService(IsGeneral(item) ? "Online Helpdesk" : Format("Online Helpdesk %s", {item.Name().AsString()}), 5,
                      IsGeneral(item)
                          ? "Een overzicht op Internet van veelgestelde vragen over Brantel-producten."
                          : Format("Een overzicht op Internet van veelgestelde vragen over %s.", {item.Name().AsString()}),
                      2) {
    FAddress = item.HelpdeskURL().AsString();
}

TOnlineShopService::TOnlineShopService(TServiceItem& generalItem)
    : TBrowserService("Online Shop", 1002, "De Brantel-winkel op het Internet.", 3) {
    FAddress = generalItem.ShopURL().AsString();
}
