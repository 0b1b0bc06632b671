#include <gtest/gtest.h>

#include <algorithm>

#include "TestSupport.h"
#include "platform/Files.h"
#include "platform/IniFile.h"

namespace {
std::vector<std::string> NonBlankLines(const std::string& path) {
    std::vector<std::string> lines = ReadTextLines(path);
    lines.erase(std::remove(lines.begin(), lines.end(), std::string()), lines.end());
    return lines;
}
}  // namespace

TEST(IniFile, WritesKeepTheLayoutRulesOfTheProfileFunctions) {
    TScratchFolder folder;
    std::string path = folder.WriteFile("CASE.INI", "[Algemeen]\r\nNaam=Oud\r\nVersie=1\r\n\r\n[Klant]\r\nAchternaam=Jansen\r\n");
    TIniFile ini(path);

    ini.WriteString("ALGEMEEN", "naam", "Nieuw");      // existing key, other case: replaced in place
    ini.WriteString("Algemeen", "Datum", "1-2-2026");  // new key: appended to its section
    ini.WriteString("Bijlagen", "File0", "a.txt");     // new section: appended to the file
    ini.UpdateFile();

    EXPECT_EQ(NonBlankLines(path),
              (std::vector<std::string>{"[Algemeen]", "Naam=Nieuw", "Versie=1", "Datum=1-2-2026", "[Klant]",
                                        "Achternaam=Jansen", "[Bijlagen]", "File0=a.txt"}));

    EXPECT_EQ(ini.ReadString("algemeen", "NAAM", "?"), "Nieuw");
    EXPECT_EQ(ini.ReadString("Algemeen", "Ontbreekt", "standaard"), "standaard");
    EXPECT_EQ(ini.ReadInteger("Algemeen", "Versie", 0), 1);
    EXPECT_EQ(ini.ReadInteger("Algemeen", "Naam", 42), 42);
    EXPECT_EQ(ini.ReadSection("Algemeen"), (std::vector<std::string>{"Naam", "Versie", "Datum"}));
    EXPECT_EQ(ini.ReadSectionValues("Klant"), (std::vector<std::string>{"Achternaam=Jansen"}));
    EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"Algemeen", "Klant", "Bijlagen"}));
}

TEST(IniFile, EraseSectionAndLongValues) {
    TScratchFolder folder;
    TIniFile ini(folder / "Lijst.ini");
    for (int i = 0; i < 3; ++i) ini.WriteString("Actions", "Line" + std::to_string(i), "regel " + std::to_string(i));
    ini.EraseSection("actions");
    ini.WriteString("Actions", "Line0", "a=b blijft heel");
    std::string longValue(5000, 'x');
    ini.WriteString("Lang", "Tekst", longValue);
    ini.UpdateFile();
    EXPECT_EQ(ini.ReadSectionValues("Actions"), (std::vector<std::string>{"Line0=a=b blijft heel"}));
    EXPECT_EQ(ini.ReadString("Lang", "Tekst", ""), longValue);
    EXPECT_FALSE(ini.SectionExists("Leeg"));
    EXPECT_TRUE(ini.ReadSection("Leeg").empty());
}

TEST(IniFile, AccentedTextsAreStoredAsWindows1252) {
    TScratchFolder folder;
    TIniFile ini(folder / "Tekst.ini");
    ini.WriteString("Klant", "Plaats", "Ĳsselstein één");
    ini.UpdateFile();
    // "één" is three bytes of code page 1252 on disk; the Dutch ij ligature has no such byte.
    std::string bytes = ReadFileBytes(folder / "Tekst.ini");
    EXPECT_NE(bytes.find("\xE9\xE9n"), std::string::npos);
    EXPECT_EQ(ini.ReadString("Klant", "Plaats", ""), "?sselstein één");
}

TEST(IniFile, SectionLinesKeepDuplicateKeysAndLinesWithoutEqualsSign) {
    TScratchFolder folder;
    std::string path = folder.WriteFile(
        "LINES.INI", "[ProgInfo]\r\n;Prog=Commentaar,X\r\nProg=Eerste,A\r\nProg=Tweede,B\r\nlos zonder teken\r\n\r\nAnder = C , D\r\n[Volgende]\r\nX=1\r\n");
    TIniFile ini(path);
    std::vector<std::string> lines = ini.ReadSectionLines("PROGINFO");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "Prog=Eerste,A");
    EXPECT_EQ(lines[1], "Prog=Tweede,B");
    EXPECT_EQ(lines[2], "los zonder teken");
    EXPECT_EQ(lines[3].substr(0, 5), "Ander");  // blanks around "=" are the platform's business
    EXPECT_TRUE(ini.ReadSectionLines("Ontbreekt").empty());
}

// A pass answers every key exactly as the profile function does, for the lines setups wrote.
TEST(IniFile, PassReadsKeysAsTheProfileFunctions) {
    TScratchFolder folder;
    const std::string path = folder.WriteFile(
        "PASS.INI",
        "[App]\r\n"
        ";Naam=commentaar\r\n"
        "Naam=Kasboek\r\n"
        "naam=tweede van dezelfde sleutel\r\n"
        "  Spaties   =   waarde met spaties   \r\n"
        "Tab\t=\twaarde\t\r\n"
        "Dubbel=\"tussen aanhalingstekens\"\r\n"
        "Enkel='enkel'\r\n"
        "Half=\"open\r\n"
        "Gemengd=\"gemengd'\r\n"
        "Kort=\"\r\n"
        "Leeg=\r\n"
        "LeegQuote=\"\"\r\n"
        "Is=a=b=c\r\n"
        "los zonder teken\r\n"
        "Zonder\r\n"
        "Zonder=later\r\n"
        "Accent=één\r\n"
        "[app]\r\n"
        "Tweede=sectie met dezelfde naam\r\n"
        "[Leeg]\r\n"
        "[ Blank ]\r\n"
        "Sleutel=blank\r\n");
    const TIniFile file(path);
    const TIniFilePass pass(path);
    const struct {
        const char* Section;
        const char* Key;
        const char* Default;
    } cases[] = {
        {"App", "Naam", "?"},        {"APP", "NAAM", "?"},       {"App", "Spaties", "?"},
        {"App", " Spaties ", "?"},   {"App", "Tab", "?"},        {"App", "Dubbel", "?"},     {"App", "Enkel", "?"},
        {"App", "Half", "?"},        {"App", "Gemengd", "?"},    {"App", "Kort", "?"},       {"App", "Leeg", "?"},
        {"App", "LeegQuote", "?"},   {"App", "Is", "?"},         {"App", "los zonder teken", "def"},
        {"App", "Zonder", "def  "},  {"App", "Accent", ""},      {"App", "Tweede", "niet"},  {"App", "Ontbreekt", ""},
        {"App", "Ontbreekt", "   "}, {"App", "Ontbreekt", "a b "}, {"Leeg", "X", "leeg"},    {"Geen", "Naam", "geen"},
        {"Blank", "Sleutel", "?"},   {" App ", "Naam", "?"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("[") + c.Section + "] " + c.Key + " default '" + c.Default + "'");
        EXPECT_EQ(pass.ReadString(c.Section, c.Key, c.Default), file.ReadString(c.Section, c.Key, c.Default));
    }
}

// What a pass read stays as it was for that pass; the next pass reads the file afresh.
TEST(IniFile, EachPassReadsTheFileAfresh) {
    TScratchFolder folder;
    const std::string path = folder.WriteFile("PASS.INI", "[A]\r\nX=oud\r\n[B]\r\nY=oud\r\n");
    const TIniFilePass first(path);
    EXPECT_EQ(first.ReadString("A", "X", ""), "oud");
    folder.WriteFile("PASS.INI", "[A]\r\nX=nieuw\r\n[B]\r\nY=nieuw\r\n");
    EXPECT_EQ(first.ReadString("a", "X", ""), "oud");    // section A was read before the change
    EXPECT_EQ(first.ReadString("B", "Y", ""), "nieuw");  // section B was not
    EXPECT_EQ(TIniFilePass(path).ReadString("A", "X", ""), "nieuw");
}
