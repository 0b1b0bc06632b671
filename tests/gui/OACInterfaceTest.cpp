#include <gtest/gtest.h>

#include "GuiTestSupport.h"
#include "Source/Common/Catalogue/User.h"
#include "Source/Common/Shell/BranModel.h"
#include "TestSupport.h"
#include "lib/App.h"
#include "lib/OAControls.h"
#include "platform/gui/GroupBox.h"
#include "platform/gui/Panel.h"

namespace {
// A record with a read-only property, which no control may write.
class TOACRecord : public TAppObj {
public:
    enum { fCode, fName };
    TOACRecord() : TAppObj("TOACRecord") {}
};

class TOACRecordDesc : public TAppObjDesc {
public:
    explicit TOACRecordDesc(TAppModel& model)
        : TAppObjDesc(model, "TOACRecordDesc", "TOACRecord", 1, 0, "OACRecord", "Records", "Record") {}
    void DefineSortOrders() override { AddSortOrder("Code", {"Code"}); }

protected:
    std::unique_ptr<TAppObj> CreatePrototype() const override { return std::make_unique<TOACRecord>(); }
    void DescribeProps(TAppObj& p) override {
        DescribeString(*this, p, TOACRecord::fCode, 10, "K-001", apfPrimaryKey | apfReadOnly, "De code.", "&Code", "Code");
        DescribeString(*this, p, TOACRecord::fName, 10, TVariant(), 0, "De naam.", "&Naam", "Name");
    }
};

TAppModel& Models() {
    static auto bran = BuildBranServiceModel();
    static auto test = BuildModel("OACTest", {DescClass<TOACRecordDesc>()});
    return *bran;
}

// The personal-data part of a form: the last name inside a group box on a panel.
struct TfrmPersonal : TForm {
    TPanel pnlPersonal{this};
    TGroupBox grpName{&pnlPersonal, "Naam"};
    TOAEdit txtUserInitials{&grpName};
    TOAEdit txtUserLastName{&grpName};
    TOAEdit txtUserCity{&pnlPersonal};
    TOATimeSpinEdit speUserReachableFrom{&pnlPersonal};
    TOACheckBox chkUserInternet{&pnlPersonal, "&Internet"};
    TOAComboBox cboUserCountry{&pnlPersonal};
    TOAMemo memoUserStreet{&pnlPersonal};
    TOALabel lblUserLastName{&pnlPersonal};
    TEdit txtUnbound{this};
    TUser user;

    TfrmPersonal() {
        SetClientSize(400, 300);
        pnlPersonal.SetBounds(0, 0, 400, 250);
        grpName.SetBounds(8, 8, 300, 80);
        txtUserInitials.SetBounds(8, 20, 80, 21);
        txtUserLastName.SetBounds(100, 20, 150, 21);
        txtUserCity.SetBounds(8, 100, 150, 21);
        speUserReachableFrom.SetBounds(170, 100, 70, 21);
        chkUserInternet.SetBounds(8, 130, 100, 20);
        cboUserCountry.SetBounds(120, 130, 150, 21);
        cboUserCountry.SetItems({"Nederland", "België"});
        memoUserStreet.SetBounds(8, 160, 200, 40);
        lblUserLastName.SetBounds(220, 160, 100, 16);
        txtUnbound.SetBounds(8, 260, 100, 21);
        txtUserInitials.SetAppProp(&user.Initials());
        txtUserLastName.SetAppProp(&user.LastName());
        txtUserCity.SetAppProp(&user.City());
        speUserReachableFrom.SetAppProp(&user.ReachableFrom());
        chkUserInternet.SetAppProp(&user.Internet());
        cboUserCountry.SetAppProp(&user.Country());
        memoUserStreet.SetAppProp(&user.Street());
        lblUserLastName.SetAppProp(&user.LastName());
    }
    ~TfrmPersonal() override { OAC_DisconnectControls(this); }
};

// Runs the checks while the form is shown modally (focus needs a visible form).
void WithForm(TfrmPersonal& form, const std::function<void(TfrmPersonal&)>& checks) {
    TModalScript script([&](TForm& shown) { checks(static_cast<TfrmPersonal&>(shown)); });
    form.ShowModal();
}
}  // namespace

class OACInterface : public testing::Test {
protected:
    void SetUp() override { Models(); }
    TMessageRecorder recorder;
};

TEST_F(OACInterface, ControlsShowTheirPropertyAndFollowItsChanges) {
    TfrmPersonal form;
    form.user.LastName().SetAsString("Jansen");
    form.user.Internet().SetAsVariant(TVariant(true));
    form.user.Country().SetAsString("België");
    EXPECT_EQ(form.txtUserLastName.Text(), "Jansen");
    EXPECT_EQ(form.lblUserLastName.Caption(), "Jansen");
    EXPECT_EQ(form.speUserReachableFrom.Text(), "08:00");
    EXPECT_TRUE(form.chkUserInternet.Checked());
    EXPECT_EQ(form.cboUserCountry.Text(), "België");
    form.lblUserLastName.ShowCaption = true;
    form.lblUserLastName.OACInterface().CopyPropToControl();
    EXPECT_EQ(form.lblUserLastName.Caption(), "Achter&naam");
}

TEST_F(OACInterface, LeavingAControlWritesItsValue) {
    TfrmPersonal form;
    WithForm(form, [](TfrmPersonal& f) {
        f.txtUserCity.SetFocus();
        f.txtUserCity.SetText("Utrecht");
        EXPECT_TRUE(f.user.City().IsNull());  // not before leaving
        f.speUserReachableFrom.SetFocus();
        EXPECT_EQ(f.user.City().AsString(), "Utrecht");
        f.speUserReachableFrom.SetText("9.5");
        f.chkUserInternet.SetFocus();
        EXPECT_EQ(f.user.ReachableFrom().AsString(), "09:05");
        EXPECT_TRUE(f.chkUserInternet.Checked());  // the property's default
        SendMessageW(f.chkUserInternet.Handle(), BM_CLICK, 0, 0);
        f.memoUserStreet.SetFocus();
        EXPECT_FALSE(f.chkUserInternet.Checked());
        EXPECT_FALSE(f.user.Internet().AsBoolean());
        f.memoUserStreet.SetText("Dorpsstraat");
        f.txtUserCity.SetFocus();
        EXPECT_EQ(f.user.Street().AsString(), "Dorpsstraat");
    });
    EXPECT_TRUE(recorder.Texts().empty());
}

TEST_F(OACInterface, RequiredEmptyFieldStopsValidationThereAndIsFocused) {
    TfrmPersonal form;
    WithForm(form, [](TfrmPersonal& f) {
        f.txtUserInitials.SetText("J.");
        f.txtUserCity.SetText(std::string(81, 'x'));  // too long, but after the empty field
        EXPECT_FALSE(OAC_ValidateControls(&f, &f.user));
        EXPECT_TRUE(f.txtUserLastName.Focused());
        EXPECT_EQ(f.user.Initials().AsString(), "J.");  // pass 1 copied every field
    });
    EXPECT_EQ(recorder.Texts(), (std::vector<std::string>{"Het veld 'Achternaam' is leeg.\r\nGeef het veld 'Achternaam' een waarde."}));
    EXPECT_EQ(recorder.Messages()[0].Kind, TMsgKind::Warning);
}

TEST_F(OACInterface, TheActiveControlsUnleftValueCounts) {
    TfrmPersonal form;
    WithForm(form, [](TfrmPersonal& f) {
        f.txtUserLastName.SetFocus();
        f.txtUserLastName.SetText("de Vries");
        EXPECT_TRUE(OAC_ValidateControls(&f, &f.user));
        EXPECT_EQ(f.user.LastName().AsString(), "de Vries");
        f.txtUserCity.SetFocus();  // leaving is quiet: the city is empty but allowed
        f.txtUserCity.SetText(std::string(81, 'x'));
        EXPECT_FALSE(OAC_ValidateControls(&f, &f.user));
        EXPECT_TRUE(f.txtUserCity.Focused());
        EXPECT_TRUE(f.user.City().IsNull());  // restored: the property keeps its valid value
    });
    EXPECT_EQ(recorder.Texts(),
              (std::vector<std::string>{"Het veld 'plaats' mag uit maximaal 80 tekens bestaan.\r\nVoer een kortere tekst in."}));
}

TEST_F(OACInterface, ReadOnlyPropertyIsNeverWritten) {
    TForm form;
    TOAEdit txtCode(&form), txtName(&form);
    TOACRecord record;
    txtCode.SetAppProp(&record.Prop("Code"));
    txtName.SetAppProp(&record.Prop("Name"));
    EXPECT_EQ(txtCode.Text(), "K-001");
    txtCode.SetText("ANDERS");
    txtCode.OACInterface().CopyOnChange = true;
    txtCode.SetText("NOG ANDERS");
    CopyValueToAppProp(&txtCode);
    txtName.SetText("Piet");
    EXPECT_TRUE(OAC_ValidateControls(&form, &record));
    EXPECT_EQ(record.Prop("Code").AsString(), "K-001");
    EXPECT_EQ(record.Prop("Name").AsString(), "Piet");
    OAC_DisconnectControls(&form);
}

TEST_F(OACInterface, BehaviourAfterAFailedValidation) {
    struct {
        int behavior;
        bool expectNull;
        const char* expected;
    } cases[] = {{obRestore, false, "Oud"}, {obKeepInput, false, "Nieuw"}, {obSetNull, true, ""}, {obSetEmpty, true, ""}};
    for (const auto& c : cases) {
        TForm form;
        TOAEdit edit(&form);
        TUser user;
        edit.SetAppProp(&user.City());
        user.City().SetAsString("Oud");
        user.City().SetAsString("Nieuw");
        edit.OACInterface().SetPropValueAccording(c.behavior);
        EXPECT_EQ(user.City().IsNull(), c.expectNull) << c.behavior;
        EXPECT_EQ(user.City().AsString(), c.expected) << c.behavior;
        EXPECT_EQ(edit.Text(), c.expected) << c.behavior;
        if (c.behavior == obSetEmpty) {
            EXPECT_TRUE(user.City().AsVariant().IsUnassigned());
        }
        edit.SetAppProp(nullptr);
    }
    TForm form;
    TOAEdit edit(&form);
    TUser user;
    edit.SetAppProp(&user.City());
    try {
        edit.OACInterface().SetPropValueAccording(7);
        FAIL() << "behaviour 7 accepted";
    } catch (const EBrantel& e) {
        EXPECT_EQ(e.Message(), "TOAEditInterface.SetPropValueAccording: invalid behavior");
        EXPECT_EQ(e.UserMessage(), "xxxBehavior property has a value that is not allowed");
    }
    edit.SetAppProp(nullptr);
}

TEST_F(OACInterface, EventsAndErrorHandlerReplaceTheBuiltInSteps) {
    TfrmPersonal form;
    std::vector<std::string> events;
    auto& binding = form.txtUserCity.OACInterface();
    binding.OnEnter = [&](TControl*, TAppProp* p) { events.push_back("enter " + p->Name()); };
    binding.OnBeforeExit = [&](TControl*, TAppProp*) { events.push_back("before exit"); };
    binding.OnAfterExit = [&](TControl*, TAppProp*) { events.push_back("after exit"); };
    binding.OnValidateError = [&](const EBranValidate& e, TControl*, bool& handled, int situation, TAppProp*) {
        events.push_back("error " + std::to_string(situation) + ": " + e.UserMessage().substr(0, 14));
        handled = true;
    };
    auto& initials = form.txtUserInitials.OACInterface();
    initials.CopyOnChange = true;
    WithForm(form, [&](TfrmPersonal& f) {
        f.txtUserInitials.SetText("P.");
        EXPECT_EQ(f.user.Initials().AsString(), "P.");  // copied while typing
        f.txtUserCity.SetFocus();
        f.txtUserCity.SetText(std::string(90, 'y'));
        f.txtUserInitials.SetFocus();
    });
    EXPECT_EQ(events, (std::vector<std::string>{"enter City", "before exit", "error 1: Het veld 'plaa", "after exit"}));
    EXPECT_TRUE(recorder.Texts().empty());  // the handler took it
}

TEST_F(OACInterface, DisconnectedControlsNoLongerFollow) {
    TfrmPersonal form;
    OAC_DisconnectControls(&form);
    form.user.LastName().SetAsString("Bakker");
    EXPECT_EQ(form.txtUserLastName.Text(), "");
    EXPECT_EQ(form.txtUserLastName.OACInterface().AppProp(), nullptr);
    EXPECT_EQ(FindOACInterface(&form.txtUnbound), nullptr);
    EXPECT_EQ(FindOACInterface(&form.txtUserCity, IID_IInlineOAC), nullptr);
}

TEST_F(OACInterface, MissingParametersAreProgrammingErrors) {
    TUser user;
    TForm form;
    struct {
        std::function<void()> call;
        const char* message;
    } cases[] = {
        {[&] { OAC_ValidateControls(nullptr, &user); }, "OAC_ValidateControls:  Parameter kan niet nil zijn"},
        {[&] { OAC_ValidateControls(&form, nullptr); }, "OAC_ValidateControls:  Parameter kan niet nil zijn"},
        {[] { CopyValueToAppProp(nullptr); }, "CopyValueToAppProp:  Parameter kan niet nil zijn"},
        {[] { OAC_DisconnectControls(nullptr); }, "OAC_DisconnectControls:  Parameter kan niet nil zijn"},
    };
    for (const auto& c : cases) {
        try {
            c.call();
            ADD_FAILURE() << c.message;
        } catch (const EBranAssertion& e) {
            EXPECT_EQ(e.AssertMessage(), c.message);
        }
    }
}

TEST(OACTime, ParseAndStep) {
    struct {
        const char* text;
        int minutes;
    } cases[] = {{"08:00", 480}, {"8.5", 485}, {"23:59", 1439}, {"17", 1020}, {"24:00", -1}, {"8:60", -1}, {"acht", -1}, {"", -1}};
    for (const auto& c : cases) EXPECT_EQ(ParseTimeOfDay(c.text), c.minutes) << c.text;
    TForm form;
    TOATimeSpinEdit edit(&form);
    edit.SetText("08:05");
    edit.StepBy(1);
    EXPECT_EQ(edit.Text(), "08:15");
    edit.StepBy(-1);
    EXPECT_EQ(edit.Text(), "08:00");
    edit.SetText("00:00");
    edit.StepBy(-1);
    EXPECT_EQ(edit.Text(), "23:45");
}
