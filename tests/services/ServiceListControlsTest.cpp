#include "ServiceTestSupport.h"
#include "Source/Common/ServiceListControls.h"
#include "Source/Common/Services.h"
#include "platform/gui/Form.h"

namespace {
// A service whose answers the test decides.
class TScriptedService : public TService {
public:
    TScriptedService(std::string caption, bool canDelete) : TService(std::move(caption), "omschrijving", 7, 1) {
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
