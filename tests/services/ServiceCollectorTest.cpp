#include "ServiceTestSupport.h"
#include "Source/Common/Catalogue/ServiceCollector.h"
#include "Source/Common/Catalogue/Services.h"
#include "Source/Common/Helpdesk/ReportService.h"

namespace {
class ServiceCollector : public ServiceTest {
protected:
    std::vector<std::string> Captions(const TServiceItemRef& item) {
        TServiceList list;
        TServiceCollector().GetServices(item, list);
        std::vector<std::string> captions;
        for (const auto& s : list) captions.push_back(s->GetCaption());
        return captions;
    }
};
}  // namespace

TEST_F(ServiceCollector, GeneralItemOrderAndLocalUpdates) {
    TServiceItemRef general = SharedGeneralServiceItem();
    ASSERT_TRUE(GetGeneralServiceItem().Applications().empty());
    // Nothing installed, no browser: no problem solver and no web services.
    EXPECT_EQ(Captions(general), (std::vector<std::string>{"Online Update", "Adreswijziging", "Brantel E-Nieuws"}));

    RegisterBrowser("\"" + BrowserExe() + "\" %1");
    Folder.WriteFile("Updates\\(Algemeen)\\x.exe", "MZ");
    Folder.WriteFile("Updates\\(Algemeen)\\leesmij.txt", "x");
    TBranApplication installed;
    installed.Name().SetAsString("Kasboek");
    EXPECT_EQ(Captions(general),
              (std::vector<std::string>{"Probleemoplosser", "Online Helpdesk", "Online Update", "Brantel Online",
                                        "Online Shop", "Adreswijziging", "Brantel E-Nieuws", "Bran-Service update"}));
}

TEST_F(ServiceCollector, ApplicationOrderWithFilesUpdatesAndReports) {
    RegisterStoredReportServices();  // as the program does at start-up
    RegisterBrowser("\"" + BrowserExe() + "\" %1");
    auto appRef = std::make_shared<TBranApplication>();
    TBranApplication& app = *appRef;
    app.Name().SetAsString("Kasboek");
    app.HelpFile().SetAsString(Folder.WriteFile("Kasboek\\KASBOEK.HLP", "x"));
    app.ReadmeFile().SetAsString(Folder.WriteFile("Kasboek\\LEESMIJ.TXT", "x"));
    app.Uninstall().SetAsString(Folder.WriteFile("Kasboek\\Program Files\\unins000.exe", "MZ") + " /SILENT");
    Folder.WriteFile("Updates\\Kasboek\\setup.exe", "MZ");
    Folder.WriteFile("Reports\\Kasboek\\Report01\\CASE.RTF", "{\\rtf1 }\r\n");
    Folder.WriteFile("Reports\\Kasboek\\Report02\\CASE.INI", "[Case]\r\n");  // no text: no service
    Folder.WriteFile("Reports\\Kasboek\\Old\\CASE.RTF", "{\\rtf1 }\r\n");

    std::vector<std::string> captions = Captions(appRef);
    ASSERT_EQ(captions.size(), 8u);
    EXPECT_EQ(std::vector<std::string>(captions.begin(), captions.begin() + 7),
              (std::vector<std::string>{"Probleemoplosser", "Online Helpdesk Kasboek", "Online Update Kasboek",
                                        "Helpbestand Kasboek", "LeesMij Kasboek", "Kasboek de-installeren",
                                        "Kasboek update"}));
    EXPECT_EQ(captions[7].substr(0, 16), "Helpdeskrapport ");
}

TEST_F(ServiceCollector, EveryCallCreatesFreshServices) {
    auto appRef = std::make_shared<TBranApplication>();
    TBranApplication& app = *appRef;
    app.Name().SetAsString("Kasboek");
    TServiceList first, second;
    TServiceCollector collector;
    collector.GetServices(appRef, first);
    std::weak_ptr<IService> watch = first[0];
    collector.GetServices(appRef, second);
    EXPECT_NE(first[0].get(), second[0].get());
    first.clear();
    EXPECT_TRUE(watch.expired());
}
