#include <gtest/gtest.h>

#include "GuiTestSupport.h"
#include "TestSupport.h"
#include "core/Exceptions.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Printer.h"
#include "platform/gui/RichEdit.h"

namespace {
struct TfrmReport : TForm {
    TRichEdit memoReportView{this};
    TfrmReport() {
        SetClientSize(400, 300);
        memoReportView.SetAlign(TAlign::alClient);
    }
};

std::string LongRtf(int paragraphs) {
    std::string rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 ";
    for (int i = 0; i < paragraphs; ++i) rtf += "Regel " + std::to_string(i) + " van het rapport\\par ";
    return rtf + "}";
}
}  // namespace

TEST(RichEdit, LoadsRtfFromFileAndFindsPlainText) {
    TScratchFolder folder;
    std::string path = folder.WriteFile("CASE.RTF", "{\\rtf1\\ansi {\\b Probleem:} de printer print niet\\par caf\\'e9\\par}");
    TfrmReport form;
    form.memoReportView.LoadFromFile(path);
    EXPECT_EQ(form.memoReportView.PlainText(), "Probleem: de printer print niet\r\ncafé");
    struct {
        const char* text;
        int start;
        unsigned options;
        int expected;
    } cases[] = {
        {"printer", 0, 0, 13},
        {"PRINT", 0, 0, 13},
        {"PRINT", 0, stMatchCase, -1},
        {"print", 0, stWholeWord, 21},
        {"print", 14, 0, 21},
        {"café", 0, 0, 32},
        {"ontbreekt", 0, 0, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(form.memoReportView.FindPlainText(c.text, c.start, -1, c.options), c.expected) << c.text;
    form.memoReportView.SetSelection(13, 7);
    form.memoReportView.ScrollCaret();
    EXPECT_EQ(form.memoReportView.SelText(), "printer");
}

TEST(RichEdit, UnreadableFileIsAnEBrantel) {
    TfrmReport form;
    EXPECT_THROW(form.memoReportView.LoadFromFile("Z:\\bestaat\\niet.rtf"), EBrantel);
}

TEST(RichEdit, FormatRangeSplitsLongTextIntoPages) {
    TfrmReport form;
    form.memoReportView.LoadFromStream(LongRtf(200));
    int length = form.memoReportView.TextLength();
    TOffscreenBitmap page(600, 800);
    RECT twips{0, 0, 600 * 15, 800 * 15};  // 96 dpi: 15 twips a pixel
    int pages = 0;
    for (int from = 0; from < length && pages < 100; ++pages) {
        int next = form.memoReportView.FormatPage(page.DC(), twips, from, true);
        ASSERT_GT(next, from);
        from = next;
    }
    form.memoReportView.EndFormat();
    EXPECT_GE(pages, 2);
    EXPECT_LT(pages, 100);
}

TEST(Dialogs, FileDialogsAskTheHook) {
    std::vector<TFileDialogRequest> asked;
    SetFileDialogHook([&](const TFileDialogRequest& r) -> std::optional<std::string> {
        asked.push_back(r);
        if (r.Kind == TFileDialogKind::Save) return std::nullopt;
        return std::string("C:\\gekozen.txt");
    });
    TOpenDialog open;
    open.Filter = "Tekst|*.txt";
    open.Title = "Bijlage kiezen";
    EXPECT_TRUE(open.Execute());
    EXPECT_EQ(open.FileName, "C:\\gekozen.txt");
    TSaveDialog save;
    save.FileName = "Case.zip";
    EXPECT_FALSE(save.Execute());
    EXPECT_EQ(save.FileName, "Case.zip");
    SetFileDialogHook({});
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].Title, "Bijlage kiezen");
    EXPECT_EQ(asked[1].FileName, "Case.zip");
}

TEST(Dialogs, PrintDialogsTakeTheHooksChoices) {
    SetPrintDialogHook([](TPrintDialogRequest& r) {
        if (r.Setup) {
            r.PrinterName = "Kantoorprinter";
            return true;
        }
        EXPECT_EQ(r.Copies, 1);
        r.Copies = 3;
        r.Collate = true;
        r.PrintToFile = true;
        r.PrintRange = TPrintRange::prPageNums;
        r.FromPage = 2;
        r.ToPage = 4;
        return true;
    });
    TPrinterSetupDialog setup;
    EXPECT_TRUE(setup.Execute());
    TPrintDialog print;
    print.Options = poPageNums | poPrintToFile;
    EXPECT_TRUE(print.Execute());
    SetPrintDialogHook([](TPrintDialogRequest&) { return false; });
    TPrintDialog cancelled;
    EXPECT_FALSE(cancelled.Execute());
    SetPrintDialogHook({});
    EXPECT_EQ(CurrentPrinterName(), "Kantoorprinter");
    SetCurrentPrinterName("");
    EXPECT_EQ(print.Copies, 3);
    EXPECT_TRUE(print.Collate);
    EXPECT_TRUE(print.PrintToFile);
    EXPECT_EQ(print.PrintRange, TPrintRange::prPageNums);
    EXPECT_EQ(print.FromPage, 2);
    EXPECT_EQ(print.ToPage, 4);
}
