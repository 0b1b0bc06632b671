// The keyboard in a form's real modal loop, with keys typed as the user types them.
#include <gtest/gtest.h>

#include "RealKeys.h"
#include "platform/gui/Button.h"
#include "platform/gui/CheckBox.h"
#include "platform/gui/Edit.h"
#include "platform/gui/Form.h"
#include "platform/gui/Label.h"
#include "platform/gui/Memo.h"
#include "platform/gui/Panel.h"

namespace {
class TfrmKeys : public TForm {
public:
    TLabel lblName{this, "&Naam"};
    TEdit txtName{this};
    TPanel pnlRemarks{this};  // a container between the form and the memo, as a wizard's page is
    TLabel lblRemarks{&pnlRemarks, "&Opmerkingen"};
    TMemo memoRemarks{&pnlRemarks};
    TCheckBox chkNews{this, "&Nieuwsbrief"};  // shares its letter with the name
    TButton btnSave{this, "Op&slaan"};
    TButton btnCancel{this};
    int saved = 0;

    TfrmKeys() {
        SetCaption("Toetsen");
        SetBorderStyle(TBorderStyle::bsDialog);
        SetClientSize(320, 200);
        lblName.SetBounds(8, 11, 80, 16);
        lblName.FocusControl = &txtName;
        txtName.SetBounds(96, 8, 200, 21);
        pnlRemarks.SetBounds(0, 36, 320, 70);
        lblRemarks.SetBounds(8, 3, 80, 16);
        lblRemarks.FocusControl = &memoRemarks;
        memoRemarks.SetBounds(96, 0, 200, 60);
        chkNews.SetBounds(96, 112, 200, 20);
        btnSave.SetBounds(96, 160, 96, 26);
        btnCancel.SetKind(TBitBtnKind::bkCancel);
        btnCancel.SetBounds(200, 160, 96, 26);
        btnSave.OnClick = [this](TControl*) { ++saved; };
    }
};
}  // namespace

// A multi-line edit takes every key it is given and hands Tab to its parent, which is no dialog:
// the focus stayed in the box for good. Tab and Shift+Tab leave every control in order; Ctrl+Tab
// types a tab into the box.
TEST(Keyboard, TabAndShiftTabLeaveEveryControlAndCtrlTabTypesATabInAMemo) {
    TfrmKeys f;
    const std::vector<TControl*> forward = {&f.memoRemarks, &f.chkNews, &f.btnSave, &f.btnCancel, &f.txtName};
    std::vector<TControl*> reached, reachedBack;
    TKeyScript keys{[&] {
        f.txtName.SetFocus();
        TypeKey(VK_TAB);
    }};
    for (size_t i = 0; i < forward.size(); ++i)
        keys.Add([&, i] {
            reached.push_back(forward[i]->Focused() ? forward[i] : nullptr);
            TypeKey(VK_TAB, i + 1 < forward.size() ? 0u : ssShift);
        });
    for (size_t i = forward.size() - 1; i-- > 0;)
        keys.Add([&, i] {
            reachedBack.push_back(forward[i]->Focused() ? forward[i] : nullptr);
            if (i == 0) TypeKey(VK_TAB, ssCtrl);
            else TypeKey(VK_TAB, ssShift);
        });
    keys.Add([&] {
        EXPECT_TRUE(f.memoRemarks.Focused()) << "Ctrl+Tab keeps the focus in the memo";
        EXPECT_EQ(f.memoRemarks.Text(), "\t");
    });
    const size_t ran = keys.Run(f);
    EXPECT_EQ(ran, keys.Count());
    EXPECT_EQ(reached, forward);
    EXPECT_EQ(reachedBack, (std::vector<TControl*>{&f.btnCancel, &f.btnSave, &f.chkNews, &f.memoRemarks}));
}

// Alt with a letter that two controls share went to the first one only: the second could never be
// reached. Pressed again it goes on to the next one, which takes the focus without acting; a letter
// of one control alone acts at once, and on a button the letter works without Alt.
TEST(Keyboard, ALetterSharedByTwoControlsGoesToEachInTurnAndAUniqueOneActs) {
    TfrmKeys f;
    TKeyScript keys{
        [&] {
            f.memoRemarks.SetFocus();
            TypeKey('N', ssAlt);
        },
        [&] {
            EXPECT_TRUE(f.chkNews.Focused()) << "the next control with the letter after the focus";
            EXPECT_FALSE(f.chkNews.Checked()) << "a shared letter only moves the focus";
            TypeKey('N', ssAlt);
        },
        [&] {
            EXPECT_TRUE(f.txtName.Focused()) << "round again, by the label";
            TypeKey('N', ssAlt);
        },
        [&] {
            EXPECT_TRUE(f.chkNews.Focused());
            TypeKey('O', ssAlt);
        },
        [&] {
            EXPECT_TRUE(f.memoRemarks.Focused()) << "the label of a field in a container";
            TypeKey('S', ssAlt);
        },
        [&] {
            EXPECT_EQ(f.saved, 1);
            EXPECT_TRUE(f.btnSave.Focused());
            TypeText("n");  // on a button, which takes no typing: from there the name comes first
        },
        [&] {
            EXPECT_TRUE(f.txtName.Focused());
            TypeText("s");  // in an edit box, which does
        },
        [&] {
            EXPECT_EQ(f.saved, 1);
            EXPECT_EQ(f.txtName.Text(), "s");
        },
    };
    const size_t ran = keys.Run(f);
    EXPECT_EQ(ran, keys.Count());
}
