#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "Source/Common/Catalogue/ServiceItems.h"
#include "Source/Common/Shell/BranModel.h"
#include "Source/Common/TechInfo/TechInfo.h"
#include "TestSupport.h"
#include "core/Exceptions.h"
#include "core/StrConv.h"
#include "platform/Registry.h"
#include "platform/SysInfo.h"

namespace {
// A collector that reports how often it gathered, and can be told to fail.
class TCountingCollector : public TTechInfo {
public:
    explicit TCountingCollector(std::string_view identifier) : TTechInfo(identifier) {}
    bool FailNextGather = false;
    int Gathered = 0;

protected:
    void GatherInfo() override {
        if (FailNextGather) throw std::runtime_error("device gone");
        ++Gathered;
    }
    const TStringList& BuildInfoText() override {
        Lines.clear();
        Lines.push_back(LabelledLine("%s Keer verzameld:%s %d", Gathered));
        return Lines;
    }
};

// The program's model, built once: service items need it.
void NeedModel() {
    static std::unique_ptr<TAppModel> model = BuildBranServiceModel();
}

TTechInfoList SomeCollectors() {
    TTechInfoList list;
    for (const char* id : {"SystemSummary", "Printer", "WindowsMemory", "LogFiles"})
        list.push_back(std::make_unique<TCountingCollector>(id));
    return list;
}

class TEnvironmentPath {
public:
    TEnvironmentPath() : FSaved(GetSearchPathUnlimited()) {}
    ~TEnvironmentPath() { SetEnvironmentVariableW(L"PATH", Widen(FSaved).c_str()); }

private:
    static std::string GetSearchPathUnlimited() {
        std::wstring value(GetEnvironmentVariableW(L"PATH", nullptr, 0), L'\0');
        value.resize(GetEnvironmentVariableW(L"PATH", value.data(), static_cast<DWORD>(value.size())));
        return Narrow(value);
    }
    std::string FSaved;
};
}  // namespace

TEST(TechInfo, CategoryTable) {
    const char* expected[][4] = {
        {"SystemSummary", "Systeem", "0", "TSystemInfo"},
        {"VideoSystem", "Beeldscherm", "9", "TVideoInfo"},
        {"WindowsMemory", "Windows geheugen", "2", "TMemoryInfo"},
        {"Drives", "Schijven", "5", "TDiskInfo"},
        {"Joystick", "Joystick", "4", "TJoystickInfo"},
        {"Soundcard", "Geluidskaart", "3", "TSoundCardInfo"},
        {"Printer", "Printer", "6", "TPrinterInfo"},
        {"MCIdevices", "MCI apparaten", "8", "TMCIInfo"},
        {"Windows", "Windows systeem", "1", "TWindowsInfo"},
        {"RegionalSettings", "Landinstellingen", "10", "TRegionalInfo"},
        {"DirectX", "DirectX", "7", "TDirectXInfo"},
        {"SystemFiles", "Systeem bestanden", "11", "TSystemFilesInfo"},
        {"LogFiles", "Log bestanden", "12", "TLogFilesInfo"},
    };
    ASSERT_EQ(TechInfoCategories.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        TCountingCollector collector(UpperCase(expected[i][0]));
        EXPECT_EQ(collector.Identifier(), expected[i][0]);
        EXPECT_EQ(collector.Caption(), expected[i][1]);
        EXPECT_EQ(IntToStr(collector.ImageIndex()), expected[i][2]);
        EXPECT_EQ(collector.ClassName(), expected[i][3]);
        EXPECT_STREQ(TechInfoCategories[i].Identifier, expected[i][0]);
    }
    EXPECT_EQ(FindTechInfoCategory("CPUandBIOS"), nullptr);
    EXPECT_THROW(TCountingCollector("InstallLog"), EBranAssertion);
}

TEST(TechInfo, AllCollectorsThatExistInCategoryOrder) {
    const TTechInfoList all = CreateAllCollectors();
    size_t next = 0;
    for (const TTechInfoCategory& category : TechInfoCategories) {
        if (!category.Create) continue;
        ASSERT_LT(next, all.size());
        EXPECT_EQ(all[next]->Identifier(), category.Identifier);
        EXPECT_EQ(all[next++]->ClassName(), category.ClassName);
    }
    EXPECT_EQ(next, all.size());
}

TEST(TechInfo, FindCollectorIgnoresCaseAndSkipsUnknownIdentifiers) {
    const TTechInfoList collectors = SomeCollectors();
    TTechInfoRefs found;
    for (const char* id : {"printer", "PRINTER", "Printer"}) FindCollector(collectors, id, found);
    ASSERT_EQ(found.size(), 3u);
    for (TTechInfo* collector : found) EXPECT_EQ(collector, collectors[1].get());

    for (const char* id : {"CPUandBIOS", "InstallLog", "", "Print"}) FindCollector(collectors, id, found);
    EXPECT_EQ(found.size(), 3u);
}

TEST(TechInfo, GetInfoTextOnlyAfterASuccessfulCollectInfo) {
    TCountingCollector collector("WindowsMemory");
    try {
        collector.GetInfoText();
        FAIL() << "no assertion";
    } catch (const EBranAssertion& e) {
        EXPECT_EQ(e.AssertMessage(), "TMemoryInfo.GetInfoText: CollectInfo is nog niet aangeroepen.");
        EXPECT_EQ(e.SourceUnit(), "Source\\Common\\TechInfo");
    }

    collector.CollectInfo(nullptr);
    collector.CollectInfo(nullptr);
    EXPECT_TRUE(collector.Collected());
    EXPECT_EQ(collector.GetInfoText(), TStringList{"\\par Keer verzameld:\\tab 2"});

    collector.FailNextGather = true;
    EXPECT_THROW(collector.CollectInfo(nullptr), std::runtime_error);
    EXPECT_FALSE(collector.Collected());
    EXPECT_THROW(collector.GetInfoText(), EBranAssertion);
}

TEST(TechInfo, CollectInfoTakesTheLogFilesOfTheItem) {
    NeedModel();
    TServiceItem item;
    item.InstallLog().SetAsString("C:\\Brantel\\Kasboek\\Install.log");
    item.ProgramLog().SetAsString("C:\\Brantel\\Kasboek\\Kasboek.log");
    TCountingCollector collector("LogFiles");
    collector.CollectInfo(&item);
    EXPECT_EQ(collector.LogFolder(), "C:\\Brantel\\Kasboek\\");
    EXPECT_EQ(collector.InstallLogFile(), "C:\\Brantel\\Kasboek\\Install.log");
    EXPECT_EQ(collector.ProgramLogFile(), "C:\\Brantel\\Kasboek\\Kasboek.log");

    item.InstallLog().ClearToEmpty();
    collector.CollectInfo(&item);
    EXPECT_EQ(collector.LogFolder(), "");
    EXPECT_EQ(collector.InstallLogFile(), "");
    EXPECT_EQ(collector.ProgramLogFile(), "C:\\Brantel\\Kasboek\\Kasboek.log");

    collector.CollectInfo(nullptr);
    EXPECT_EQ(collector.ProgramLogFile(), "");
    EXPECT_EQ(collector.Gathered, 3);
}

TEST(TechInfo, FindCollectorWalksTheGeneralItemsCollectors) {
    NeedModel();
    const TTechInfoList& all = GetGeneralServiceItem().Collectors();
    for (const TTechInfoCategory& category : TechInfoCategories) {
        TTechInfoRefs found;
        FindCollector(all, LowerCase(category.Identifier), found);
        if (!category.Create) {
            EXPECT_TRUE(found.empty()) << category.Identifier;
            continue;
        }
        ASSERT_EQ(found.size(), 1u) << category.Identifier;
        EXPECT_TRUE(std::any_of(all.begin(), all.end(), [&](const auto& c) { return c.get() == found[0]; }));
        EXPECT_EQ(found[0]->Identifier(), category.Identifier);
    }
}

TEST(TechInfo, LineMarkup) {
    struct {
        std::string line, expected;
    } cases[] = {
        {LabelledLine("%s Geheugen in gebruik:%s %d%%", 37), "\\par Geheugen in gebruik:\\tab 37%"},
        {LabelledLine("%s Vrij:%s %f %s", 1024.0, GetSpaceUnitString(TSpaceUnit::Kb)), "\\par Vrij:\\tab 1024,00  Kb"},
        // Every text value is escaped, whatever a PC holds: a network printer, a device alias that
        // would end the document, a format directive, control characters that readers stop at.
        {LabelledLine("%s Printer naam:%s %s", "\\\\server\\Laser {kantoor}"),
         "\\par Printer naam:\\tab \\\\\\\\server\\\\Laser \\{kantoor\\}"},
        {LabelledLine("%s Alias:%s %s (%d)", std::string("}{\\b x"), 3), "\\par Alias:\\tab \\}\\{\\\\b x (3)"},
        {LabelledLine("%s Naam:%s %s", "%s%n"), "\\par Naam:\\tab %s%n"},
        {LabelOnlyLine("%s Temp bestanden in %s:", "C:\\{t}"), "\\par Temp bestanden in C:\\\\\\{t\\}:"},
        {ContinuationLine("ISDN {intern}"), "\\par \\tab ISDN \\{intern\\}"},
        {TextLine("S3 {driver}"), "S3 \\{driver\\}"},
        {VerbatimLine(std::string("a\tb\0c\x1b\x7f", 7)), "\\par a\\tab b?c??"},
        {ContinuationLine("COM2"), "\\par \\tab COM2"},
        {LabelOnlyLine("%s Ondersteunde modes:"), "\\par Ondersteunde modes:"},
        {VerbatimLine("C:\\{a}"), "\\par C:\\\\\\{a\\}"},
        {VerbatimLine(""), "\\par "},
        {RtfEscape("C:\\{a}"), "C:\\\\\\{a\\}"},
        {RtfEscape("}{\\\\"), "\\}\\{\\\\\\\\"},
        {RtfEscape("geen tekens"), "geen tekens"},
        // Files are seven-bit: Windows-1252 characters as \'hh, others as \uN with a fallback.
        {RtfFileBytes({"\\par Café {x}", "Größe € 5 – Ω 😀", ""}),
         "\\par Caf\\'e9 {x}\r\nGr\\'f6\\'dfe \\'80 5 \\'96 \\u937? \\u-10179?\\u-8704?\r\n\r\n"},
        // A backslash at the end of a line is written by its code: next to the line break, "\\" reads
        // as a paragraph mark to some readers.
        {RtfFileBytes({VerbatimLine("C:\\map\\"), "\\\\\\"}), "\\par C:\\\\map\\'5c\r\n\\\\\\\r\n"},
        {YesNoText(true), "Ja"},
        {YesNoText(false), "Nee"},
        {GetSpaceUnitString(TSpaceUnit::Bytes), " Bytes"},
        {GetSpaceUnitString(TSpaceUnit::Mb), " Mb"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.line, c.expected);

    TStringList lines{"eerder"};
    AddSubHeading(lines, "Stuurprogramma's {x}");
    EXPECT_EQ(lines, (TStringList{"eerder", "\\par \\plain\\f3\\fs16\\b", "\\par Stuurprogramma's \\{x\\}",
                                  "\\par \\plain\\f3\\fs16"}));
}

TEST(TechInfo, SpaceUnits) {
    EXPECT_EQ(SpaceUnitDivisors, (std::array<double, 3>{1, 1024, 1048576}));
    try {
        GetSpaceUnitString(static_cast<TSpaceUnit>(3));
        FAIL() << "no assertion";
    } catch (const EBranAssertion& e) {
        EXPECT_EQ(e.AssertMessage(), "GetSpaceUnitString:Unhandled case");
        EXPECT_EQ(e.SourceUnit(), "Source\\Common\\TechInfo");
    }
}

TEST(TechInfo, ListFiles) {
    TScratchFolder folder;
    folder.WriteFile("a.txt", "abc");
    folder.WriteFile("b.log", "vijf!");
    folder.WriteFile("sub.txt\\c.txt", "in een map");
    const std::string elsewhere = GetCurrentDir();

    TStringList list;
    int64_t total = -1;
    ListFiles(folder.Path(), "*.*", true, list, total);
    std::sort(list.begin(), list.end());
    EXPECT_EQ(list, (TStringList{"a.txt  Size: 3 bytes", "b.log  Size: 5 bytes"}));
    EXPECT_EQ(total, 8);
    EXPECT_EQ(GetCurrentDir(), elsewhere);  // the folder is not left in use

    ListFiles(ExcludeTrailingBackslash(folder.Path()), "*.txt", false, list, total);
    EXPECT_EQ(list, TStringList{"a.txt"});
    EXPECT_EQ(total, 0);

    list = {"oud"};
    total = 42;
    ListFiles(folder / "bestaat niet", "*.*", true, list, total);
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(total, 0);
}

TEST(TechInfo, GetModems) {
    TRegistrySandbox registry;
    TStringList list{"oud"};
    GetModems(list);
    EXPECT_TRUE(list.empty());

    const std::string modems = "System\\CurrentControlSet\\Services\\Class\\Modem\\";
    TRegKey key;
    ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, modems + "0000", true));
    key.WriteString("Model", "Snelmodem 56K");
    key.WriteString("AttachedTo", "COM2");
    ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, modems + "0001", true));
    key.WriteString("Model", "Faxmodem");
    key.WriteInteger("AttachedTo", 3);
    ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, modems + "0002", true));
    key.Close();
    GetModems(list);
    std::sort(list.begin(), list.end());
    EXPECT_EQ(list, (TStringList{" ()", "Faxmodem ()", "Snelmodem 56K (COM2)"}));
}

TEST(TechInfo, GetModemsOfTheNTFamily) {
    TRegistrySandbox registry;
    const std::string modems = "System\\CurrentControlSet\\Control\\Class\\{4D36E96D-E325-11CE-BFC1-08002BE10318}\\";
    TRegKey key;
    ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, modems + "0000", true));
    key.WriteString("Model", "Standaard 56000 bps-modem");
    key.WriteString("AttachedTo", "COM3");
    ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, modems + "Properties", true));  // settings, no modem
    key.WriteString("Model", "geen");
    key.Close();
    TStringList list;
    GetModems(list);
    EXPECT_EQ(list, TStringList{"Standaard 56000 bps-modem (COM3)"});
    // Where the Windows 9x class is present, it alone counts.
    ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\Class\\Modem", true));
    key.Close();
    GetModems(list);
    EXPECT_TRUE(list.empty());
}

TEST(TechInfo, WindowsVersionTexts) {
    const std::string number = GetWindowsVersionNumber();
    // major.minor.build, the minor with two digits, then the service pack (possibly empty).
    ASSERT_GE(number.size(), 7u) << number;
    const size_t firstDot = number.find('.');
    ASSERT_NE(firstDot, std::string::npos);
    EXPECT_EQ(number.find('.', firstDot + 1), firstDot + 3) << number;
    EXPECT_NE(number.find(' '), std::string::npos) << number;

    struct TOverride {
        ~TOverride() { SetPlatformOverride(std::nullopt); }
    } restore;
    SetPlatformOverride(true);
    EXPECT_EQ(GetWindowsProductName(), "Windows NT");
    EXPECT_EQ(GetWindowsVersionText(), "Windows NT " + number);

    SetPlatformOverride(false);
    TRegistrySandbox registry;
    EXPECT_EQ(GetWindowsProductName(), "Error");
    TRegKey key;
    ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", true));
    EXPECT_EQ(GetWindowsProductName(), "");
    key.WriteString("ProductName", "Windows 98");
    EXPECT_EQ(GetWindowsProductName(), "Windows 98");
    EXPECT_EQ(GetWindowsVersionText(), "Windows 98 " + number);
}

TEST(TechInfo, SearchPathIsCutAt260Characters) {
    TEnvironmentPath restore;
    SetEnvironmentVariableW(L"PATH", L"C:\\windows;C:\\Brantel");
    EXPECT_EQ(GetSearchPath(), "C:\\windows;C:\\Brantel");
    const std::string longPath = std::string(250, 'a') + ";" + std::string(100, 'b');
    SetEnvironmentVariableW(L"PATH", Widen(longPath).c_str());
    EXPECT_EQ(GetSearchPath(), longPath.substr(0, 260));
    SetEnvironmentVariableW(L"PATH", nullptr);
    EXPECT_EQ(GetSearchPath(), "");
}
