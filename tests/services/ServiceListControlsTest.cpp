#include "ServiceTestSupport.h"
#include "Source/Common/Catalogue/ServiceListControls.h"
#include "Source/Common/Catalogue/Services.h"
#include "platform/gui/Form.h"

#include <commctrl.h>

namespace {
// A service whose answers the test decides.
class TScriptedService : public TService {
public:
    TScriptedService(std::string caption, bool canDelete, std::string description = "omschrijving", int image = 1)
        : TService(std::move(caption), std::move(description), 7, image) {
        FCanDelete = canDelete;
    }
    const char* ClassName() const override { return "TScriptedService"; }
    bool Provide(const TServiceItemRef&) override { return ++Opened, Answer; }
    bool Delete(const TServiceItemRef& item) override { return TService::Delete(item) && Answer; }
    bool Answer = true;
    int Opened = 0;
};

// Hands out the same services each time and counts the calls.
class TScriptedCollector : public IServiceCollector {
public:
    void GetServices(const TServiceItemRef&, TServiceList& list) override {
        ++Calls;
        list.assign(Services.begin(), Services.end());
    }
    std::vector<std::shared_ptr<TScriptedService>> Services;
    int Calls = 0;
};

struct TfrmServices : TForm {
    TServiceItemComboBox cboServiceItems{this};
    TServiceItemListView lstServices{this};
    TfrmServices() {
        SetClientSize(500, 300);
        cboServiceItems.SetBounds(0, 0, 185, 200);
        lstServices.SetBounds(0, 30, 500, 270);
        lstServices.AddColumn({"Naam", 135});
        lstServices.AddColumn({"Omschrijving", 365});
    }
};

class ServiceListControls : public ServiceTest {
protected:
    ServiceListControls() {
        for (int i = 0; i < 4; ++i)
            Collector->Services.push_back(std::make_shared<TScriptedService>("Dienst " + std::to_string(i), true));
        Form.lstServices.SetServiceProvider(Collector);
        App->Name().SetAsString("Kasboek");
        App->Build().SetAsString("3.1");
    }
    std::shared_ptr<TScriptedCollector> Collector = std::make_shared<TScriptedCollector>();
    TfrmServices Form;
    std::shared_ptr<TBranApplication> App = std::make_shared<TBranApplication>();
    std::shared_ptr<TServiceItem> General = SharedGeneralServiceItem();
};
}  // namespace

TEST_F(ServiceListControls, SelectorAddsEachApplicationOnceAndRefusesOtherItems) {
    auto& cbo = Form.cboServiceItems;
    auto twin = std::make_shared<TBranApplication>();
    twin->Name().SetAsString("Kasboek");
    twin->Build().SetAsString("3.1");
    auto nameless = std::make_shared<TBranApplication>();
    cbo.AddServiceItem(App);
    cbo.AddServiceItem(twin);
    cbo.AddServiceItem(nameless);
    cbo.AddServiceItem(General);
    ASSERT_EQ(cbo.Count(), 2);
    EXPECT_EQ(cbo.Item(0), "Kasboek (3.1)");
    EXPECT_EQ(cbo.Item(1), "(Algemeen)");
    try {
        cbo.AddServiceItem(std::make_shared<TServiceItem>());
        FAIL();
    } catch (const EBrantel& e) {
        EXPECT_STREQ(e.what(), "TServiceItemComboBox.AddServiceItem: Ongeldig type service item: \"TServiceItem\"");
    }
    auto stranger = std::make_shared<TBranApplication>();
    stranger->Name().SetAsString("Adresboek");
    EXPECT_THROW(cbo.SetCurrentServiceItem(stranger.get()), EBrantel);
}

TEST_F(ServiceListControls, SelectingShowsTheServicesOnceAndDetachedItemsStayAlive) {
    auto& cbo = Form.cboServiceItems;
    cbo.AddServiceItem(App);
    cbo.AddServiceItem(General);
    cbo.SetListView(&Form.lstServices);
    cbo.SetCurrentServiceItem(App.get());
    EXPECT_EQ(Collector->Calls, 1);
    EXPECT_EQ(Form.lstServices.Count(), 4);
    EXPECT_EQ(Form.lstServices.SubItem(0, 0), "omschrijving");
    cbo.SetCurrentServiceItem(App.get());  // already selected: no rebuild
    EXPECT_EQ(Collector->Calls, 1);
    cbo.SetCurrentServiceItem(General.get());
    EXPECT_EQ(Collector->Calls, 2);

    std::weak_ptr<TBranApplication> watch = App;
    cbo.SetCurrentServiceItem(App.get());
    cbo.ClearItems();
    App.reset();
    EXPECT_FALSE(watch.expired());  // the list view still shows its services
}

// A refresh mostly finds what the controls show: such entries stay (the same list view item, the
// same combo box entry), yet they take the new services and items, and the selection goes.
TEST_F(ServiceListControls, ARefreshKeepsEntriesThatReadAlikeButTakesTheNewObjects) {
    auto& list = Form.lstServices;
    list.SetServiceItem(App);
    auto firstKey = [&list] {
        LVITEMW item{};
        item.mask = LVIF_PARAM;
        ListView_GetItem(list.Handle(), &item);
        return item.lParam;
    };
    auto serve = [this](const char* caption, const char* description, int image, int count) {
        Collector->Services = {std::make_shared<TScriptedService>(caption, true, description, image)};
        for (int i = 1; i < count; ++i)
            Collector->Services.push_back(std::make_shared<TScriptedService>("Dienst " + std::to_string(i), true));
    };
    struct TCase {
        const char *Caption, *Description;
        int Image, Count;
        bool Kept;
    } cases[] = {{"Dienst 0", "omschrijving", 1, 4, true},  {"Dienst X", "omschrijving", 1, 4, false},
                 {"Dienst 0", "anders", 1, 4, false},       {"Dienst 0", "omschrijving", 3, 4, false},
                 {"Dienst 0", "omschrijving", 1, 3, false}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Caption + std::string("/") + c.Description + "/" + std::to_string(c.Image * 10 + c.Count));
        list.SetSelected(1);
        const LPARAM before = firstKey();
        serve(c.Caption, c.Description, c.Image, c.Count);
        list.Rebuild();
        EXPECT_EQ(firstKey() == before, c.Kept);
        ASSERT_EQ(list.Count(), c.Count);
        for (int i = 0; i < c.Count; ++i) EXPECT_EQ(list.ItemData<IService>(i), Collector->Services[i]);
        EXPECT_EQ(list.Selected(), -1);
        serve("Dienst 0", "omschrijving", 1, 4);  // what the next case compares with
        list.Rebuild();
    }

    auto& cbo = Form.cboServiceItems;
    auto kasboek = [](const char* build) {
        auto app = std::make_shared<TBranApplication>();
        app->Name().SetAsString("Kasboek");
        app->Build().SetAsString(build);
        return app;
    };
    cbo.SetServiceItems({App, General});
    cbo.SetItemIndex(0);
    SendMessageW(cbo.Handle(), CB_SETITEMDATA, 0, 77);  // survives only where the entry stays
    const auto again = kasboek("3.1");
    cbo.SetServiceItems({again, General});
    EXPECT_EQ(cbo.ItemData(0), 77);
    EXPECT_EQ(cbo.Items()[0], again);
    EXPECT_EQ(cbo.ItemIndex(), -1);
    cbo.SetServiceItems({kasboek("3.2"), General});
    EXPECT_EQ(cbo.Item(0), "Kasboek (3.2)");
    EXPECT_EQ(cbo.ItemData(0), 0);
}

TEST_F(ServiceListControls, OpenReportsFailureAndRebuildsOnlyAfterSuccess) {
    Form.lstServices.RebuildOnProvided = true;
    Form.lstServices.SetServiceItem(App);
    Form.lstServices.SetSelected(1);
    Form.lstServices.Open();
    EXPECT_EQ(Collector->Services[1]->Opened, 1);
    EXPECT_EQ(Collector->Calls, 2);

    Collector->Services[2]->Answer = false;
    Form.lstServices.SetSelected(2);
    TMessageRecorder boxes;
    Form.lstServices.Open();
    EXPECT_EQ(Collector->Calls, 2);
    ASSERT_EQ(boxes.Texts(), (std::vector<std::string>{"De service 'Dienst 2' kon niet gestart worden."}));
    EXPECT_EQ(boxes.Messages()[0].Title, "Error");
    EXPECT_EQ(boxes.Messages()[0].Kind, TMsgKind::Error);
}

TEST_F(ServiceListControls, DeleteAsksFirstAndReportsFailure) {
    auto& list = Form.lstServices;
    list.SetServiceItem(App);
    TMessageRecorder boxes;
    list.SetSelected(1);
    boxes.Answer(IDNO);
    list.DeleteService();
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(boxes.Messages()[0].Text, "Wilt u service 'Dienst 1' verwijderen?");
    EXPECT_EQ(boxes.Messages()[0].Title, "Confirm");

    list.DeleteService();  // default answer: yes
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.ItemCaption(1), "Dienst 2");
    EXPECT_EQ(list.Selected(), -1);

    Collector->Services[3]->Answer = false;
    list.SetSelected(2);
    boxes.Clear();
    list.DeleteService();
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(boxes.Texts().back(), "De service 'Dienst 3' kon niet verwijderd worden.");

    // A service that cannot be deleted is left alone without asking.
    Collector->Services[0] = std::make_shared<TScriptedService>("Vast", false);
    list.Rebuild();
    list.SetSelected(0);
    boxes.Clear();
    list.DeleteService();
    EXPECT_TRUE(boxes.Messages().empty());
    EXPECT_EQ(list.Count(), 4);
}
