#include "Source/Common/Shell/AboutForm.h"

#include "Source/Common/Catalogue/User.h"
#include "Source/Common/TechInfo/MemoryInfo.h"
#include "resources/resource.h"

TfrmAbout::TfrmAbout() {
    SetCaption("Info");
    SetBorderStyle(TBorderStyle::bsNone);
    Position = TPosition::poScreenCenter;
    KeyPreview = true;
    SetClientSize(400, 300);

    imgService.SetAlign(TAlign::alClient);
    imgService.Stretch = true;
    // Stretched up, the design-size picture blurs; on a denser screen the one drawn at twice the size
    // is scaled down instead.
    const int picture = ScreenPixelsPerInch() > 96 ? IDB_ABOUT_2X : IDB_ABOUT;
    imgService.SetBitmap(static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(picture), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    const int left = 24, data = 150;
    lblUsername.SetBounds(left, 196, 120, 16);
    lblUsernameData.SetBounds(data, 196, 230, 16);
    lblResources.SetBounds(left, 218, 120, 16);
    lblResourcesData.SetBounds(data, 218, 230, 16);
    lblVersion.SetBounds(left, 240, 120, 16);
    dvlVersion.SetVersionResource(VR_FILE_VERSION);
    dvlVersion.SetVersionResourceKey("FileVersion");
    dvlVersion.SetInfoPrefix("Versie:");
    dvlVersion.SetShowInfoPrefix(false);
    dvlVersion.SetLangCharset("-1");
    dvlVersion.SetAutoSize(false);
    dvlVersion.SetBounds(data, 240, 230, 16);
    for (TLabel* label : {&lblUsername, &lblResources, &lblVersion})
        label->SetFontWith([](TFont& f) { f.Bold = true; });
    // The labels sit on the picture's light lower part, in its colour; the picture stays beneath them.
    for (TLabel* label : {&lblUsername, &lblUsernameData, &lblResources, &lblResourcesData, &lblVersion,
                          static_cast<TLabel*>(&dvlVersion)}) {
        label->Transparent = false;
        label->SetParentColor(false);
        label->SetColor(RGB(0xF4, 0xF6, 0xF9));
    }
    SetWindowPos(imgService.Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    OnShow = [this](TControl* s) { FormShow(s); };
    OnKeyPress = [this](TControl* s, wchar_t& key) { FormKeyPress(s, key); };
    // The dialog manager turns Esc into a cancel command before it becomes a character, so the box
    // would never see it as one: the key itself is handed on.
    OnKeyDown = [this](TControl* s, WORD& key, TShiftState) {
        if (key != VK_ESCAPE) return;
        wchar_t esc = VK_ESCAPE;
        FormKeyPress(s, esc);
        key = 0;
    };
    for (TControl* c : std::initializer_list<TControl*>{this, &imgService, &lblUsername, &lblUsernameData, &lblResources,
                                                         &lblResourcesData, &lblVersion, &dvlVersion})
        c->OnClick = [this](TControl* s) { FormClick(s); };
}

void TfrmAbout::FormShow(TControl*) {
    {
        TUser user;
        user.LoadFromRegistry();
        lblUsernameData.SetCaption(user.LastName().AsString());
    }
    TMemoryInfo memory;
    memory.CollectInfo(nullptr);
    lblResourcesData.SetCaption(memory.FreeSystemResources);
}

void TfrmAbout::FormClick(TControl*) { SetModalResult(mrOk); }

void TfrmAbout::FormKeyPress(TControl*, wchar_t& key) {
    if (key == VK_ESCAPE) SetModalResult(mrCancel);
}

void ShowAbout() {
    auto about = CreateForm<TfrmAbout>();
    about->ShowModal();
}
