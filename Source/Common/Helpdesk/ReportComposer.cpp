#include "Source/Common/Helpdesk/ReportComposer.h"

#include <new>

#include "Source/Common/Catalogue/Deployment.h"
#include "Source/Common/Catalogue/ServiceItems.h"
#include "Source/Common/Catalogue/User.h"
#include "Source/Common/Helpdesk/HelpdeskReport.h"
#include "Source/Common/TechInfo/TechInfo.h"
#include "core/DateTime.h"
#include "core/Exceptions.h"
#include "core/Format.h"

namespace {
using TLines = std::vector<std::string>;

const std::string kRule(116, '-');

// The value of a property as text for the report, escaped for RTF; empty without a value.
std::string Value(const TAppProp& prop) { return RtfEscape(prop.AsString()); }

std::string ValueOr(const TAppProp& prop, const char* fallback) {
    std::string v = Value(prop);
    return v.empty() ? RtfEscape(fallback) : v;
}

void AppendHeader(TLines& l, const THelpdeskReport& report) {
    const TServiceItem* item = report.ServiceItem.get();
    const std::string d = item ? ValueOr(item->HelpDeskDescription(), DefaultHelpdeskDescription)
                               : RtfEscape(DefaultHelpdeskDescription);
    const std::string a = item ? ValueOr(item->HelpDeskPostAddress(), DefaultHelpdeskPostAddress)
                               : RtfEscape(DefaultHelpdeskPostAddress);
    const std::string z = item ? ValueOr(item->HelpDeskZipcode(), DefaultHelpdeskZipcode)
                               : RtfEscape(DefaultHelpdeskZipcode);
    const std::string f = item ? ValueOr(item->HelpDeskFaxNumber(), DefaultHelpdeskFaxLine)
                               : RtfEscape(DefaultHelpdeskFaxLine);
    const std::string p = item ? RtfEscape(item->DisplayText()) : std::string();
    const int n = static_cast<int>(report.TechInfos.size());
    const std::string box = R"(\plain\lang1033\f4\fs24\cf0 o\plain\lang1033\f3\fs24\cf0 )";

    l.push_back(R"({\rtf1\ansi\deff0\deftab720{\fonttbl{\f0\fswiss MS Sans Serif;}{\f1\froman\fcharset2{\*\fname Symbol;}MT Symbol;}{\f2\fswiss\fcharset1 MS Sans Serif;}{\f3\fswiss\fprq2 Arial;}{\f4\fnil\fprq2\fcharset2 Wingdings;}{\f5\fswiss Tahoma;}})");
    l.push_back(R"({\colortbl\red0\green0\blue0;})");
    l.push_back(Format(R"(\deflang1033\pard\plain\f3\fs32\cf0\b %s\plain\f3\fs20\cf0 )", {"Helpdeskrapport"}));
    l.push_back(R"(\par)");
    l.push_back(Format(R"(\par \pard\tx4828\tx6816\plain\f3\fs24\cf0 %s\tab \plain\f3\fs24\cf0\i %s)",
                       {"Stuur of fax dit formulier naar:", "Onderstaande ruimte niet beschrijven"}));
    l.push_back(Format(R"(\par \tab %s )", {"deze is bestemd voor de Helpdesk"}));
    l.push_back(Format(R"(\par \plain\f3\fs24\cf0\b %s )", {d}));
    l.push_back(Format(R"(\par \pard\tx4828\tx6816\tx6930\plain\lang1043\f3\fs24\cf0\b %s\plain\f3\fs24\cf0\b \tab \plain\f3\fs24\cf0 %s\tab :\plain\lang1043\f3\fs24\cf0\b )",
                       {a, "Ontvangen dd"}));
    l.push_back(Format(R"(\par %s )", {z}));
    l.push_back(Format(R"(\par \tab \plain\lang1033\f3\fs24\cf0 %s\tab :\tab )", {"Beantwoord"}) + box);
    l.push_back(Format(R"(\par \plain\f3\fs24\cf0\b \tab \plain\lang1033\f3\fs24\cf0 %s\tab :\tab )", {"Archief"}) + box);
    l.push_back(Format(R"(\par \plain\f3\fs24\cf0\b %s\plain\lang1033\f3\fs24\cf0 \tab %s\tab :\tab )", {f, "CD"}) + box);
    l.push_back(Format(R"(\par \tab %s\tab :\tab \plain\lang1033\f4\fs24\cf0 o\plain\f3\fs24\cf0\b )", {"Disk"}));
    l.push_back(R"(\par)");
    l.push_back(Format(R"(\par \plain\f3\fs24\cf0 \tab %s\tab :)", {"Medewerker"}));
    l.push_back(Format(R"(\par \tab %s\tab :)", {"Klantnummer"}));
    l.push_back(Format(R"(\par \tab %s\tab :)", {"Casenummer"}));
    l.push_back(Format(R"(\par \tab %s\tab :\tab )", {"Categorie"}) + box + Format(" %s", {"Business"}));
    for (const char* category : {"Games", "Hobby", "Kids", "Personal", "Training"})
        l.push_back(R"(\par \tab \tab \tab )" + box + Format(" %s", {category}));
    l.push_back(Format(R"(\par \tab \plain\f3\fs24\cf0 %s\tab :\tab )", {"Taal"}) +
                box + R"( \plain\lang1033\f3\fs20\cf0 NL )" +
                box + R"( \plain\lang1033\f3\fs20\cf0 EN )" +
                box + R"( \plain\lang1033\f3\fs20\cf0 DU)");
    l.push_back(Format(R"(\par \pard\li6958\fi-2130\tx4828\tx6816\tx6930\plain\f3\fs24 %s\tab :\tab\b %s\plain\lang1033\f3\fs24\cf0 )",
                       {"Product", p}));
    l.push_back(Format(R"(\par \pard\tx4828\tx6816\tx6930\plain\lang1033\f3\fs24\cf0 %s: %d\tab %s\tab :\tab %s)",
                       {"Aantal technische onderdelen verzameld", n, "Aangemaakt dd", RtfEscape(report.CreationDate)}));
    l.push_back(R"(\par \pard\tx2556\plain\lang1033\f3\fs24\cf0 )" + kRule);
}

void AppendProblem(TLines& l, const THelpdeskReport& report) {
    l.push_back(Format(R"(\par \pard\tx1846\plain\f3\fs24\cf0\b %s\plain\f3\fs24\cf0 )", {"Probleemomschrijving"}));
    l.push_back(R"(\par \pard\plain\lang1043\f3\fs24 )");
    for (const std::string& line : report.ProblemLines) l.push_back(R"(\par )" + RtfEscape(line));
    l.push_back(R"(\plain\lang1043\f3\fs24\b )");
    l.push_back(R"(\par)");
    l.push_back(Format(R"(\par %s)", {"Stappenplan"}));
    l.push_back(R"(\par \plain\lang1043\f3\fs24 )");
    l.push_back(R"(\par )" + RtfEscape(report.Goal));
    for (const std::string& line : report.ActionLines) l.push_back(R"(\par )" + RtfEscape(line));
    l.push_back(R"(\par)");
    l.push_back(Format(R"(\par \plain\lang1043\f3\fs24\b %s\plain\lang1043\f3\fs24 )", {"Foutmelding"}));
    l.push_back(Format(R"(\par %s\plain\lang1043\f5\fs24 )", {RtfEscape(report.ErrorMessage)}));
    l.push_back(R"(\par \pard\tx1846\plain\f3\fs24\cf0 )");
    l.push_back(R"(\par \pard\plain\f3\fs20\cf0 )");
    l.push_back(R"(\par \pard\tx2560)");
    l.push_back(R"(\par \page)");
}

// The chapter with one numbered section per collector of the report; the lines of the i-th come
// from section(i).
template <class TSection>
void AppendTechnicalInformation(TLines& l, const THelpdeskReport& report, TSection&& section) {
    l.push_back(R"(\par \plain\f3\fs16\b)");
    l.push_back("Technische Informatie");
    l.push_back(R"(\par \plain\f3\fs16)");
    for (size_t i = 0; i < report.TechInfos.size(); ++i) {
        l.push_back(R"(\par)");
        l.push_back(R"(\par \plain\f3\fs16\b)");
        l.push_back(Format("%d. %s", {static_cast<int>(i + 1), report.TechInfos[i]->Caption()}));
        l.push_back(R"(\par \plain\f3\fs16)");
        const TLines& lines = section(i);
        l.insert(l.end(), lines.begin(), lines.end());
    }
}

template <class TSection>
void ComposeText(THelpdeskReport& report, const TUser& user, TSection&& section) {
    struct TMarkFresh {
        THelpdeskReport& Report;
        ~TMarkFresh() { Report.IsFresh = true; }
    } markFresh{report};

    report.CreationDate = DateToStr(Today());
    report.Customer().Assign(user);
    TLines lines;
    AppendHeader(lines, report);
    AppendCustomerBlock(lines, user);
    AppendProblem(lines, report);
    AppendTechnicalInformation(lines, report, section);
    lines.push_back(R"(\par })");
    report.ReportText().Lines() = std::move(lines);
}
}  // namespace

void AppendCustomerBlock(TLines& l, const TUser& user) {
    l.push_back(Format(R"(\par \pard\tx2272\plain\f3\fs32\cf0\b %s:\tab %s\plain\f3\fs32\cf0 )",
                       {"Klantnummer", RtfEscape(user.CustomerNumber())}));
    l.push_back(R"(\par \plain\f3\fs24\cf0 )");
    l.push_back(Format(R"(\par \plain\f3\fs24\cf0\b %s\plain\f3\fs24\cf0 )", {"Klantgegevens"}));
    l.push_back(Format(R"(\par   %s:\tab %s)", {"Bedrijfsnaam", Value(user.Organization())}));
    l.push_back(R"(\par)");
    l.push_back(Format(R"(\par   %s:\tab %s)", {"Voorletters", Value(user.Initials())}));
    l.push_back(Format(R"(\par   %s:\tab %s)", {"Tussenvoegsel", Value(user.Prefix())}));
    l.push_back(Format(R"(\par   %s:\tab %s)", {"Achternaam", Value(user.LastName())}));
    l.push_back(R"(\par)");
    l.push_back(Format(R"(\par \plain\f3\fs24\cf0\b %s\plain\f3\fs24\cf0 )", {"Adresgegevens"}));
    l.push_back(Format(R"(\par   %s\tab %s %s)", {"Straat+Nr", Value(user.Street()), Value(user.HouseNumber())}));
    l.push_back(Format(R"(\par   %s\tab %s  %s)", {"PC+Plaats", Value(user.ZipCode()), Value(user.City())}));
    l.push_back(Format(R"(\par   %s\tab %s)", {"Land", Value(user.Country())}));
    l.push_back(R"(\par)");
    l.push_back(Format(R"(\par \plain\f3\fs24\cf0\b %s\plain\f3\fs24\cf0 )", {"Communicatie"}));
    const std::string tel = Value(user.Tel());
    if (tel.empty())
        l.push_back(Format(R"(\par   %s\tab %s\tab )", {"", ""}));
    else if (!user.ReachableFrom().IsNull() && !user.ReachableUntil().IsNull())
        l.push_back(Format(R"(\par   %s\tab %s\tab )", {"Telefoon", tel}) +
                    Format("Bereikbaar van %s tot en met %s uur",
                           {Value(user.ReachableFrom()), Value(user.ReachableUntil())}));
    const bool callFirst = !user.CallBeforeFax().IsNull() && user.CallBeforeFax().AsBoolean();
    l.push_back(Format(R"(\par   %s\tab %s\tab %s)",
                       {"Fax", Value(user.Fax()), callFirst ? "Bellen alvorens naar dit nummer te faxen" : ""}));
    l.push_back(Format(R"(\par   %s\tab %s)", {"E-mail", Value(user.Email())}));
    l.push_back(R"(\par \pard\tx2556\plain\f3\fs24\cf0 )" + kRule);
}

TLines CollectTechInfoLines(TTechInfo& collector, const ILogFileSource* item) {
    // Whatever one collector meets on this PC (a locked file, a value of an unexpected kind, memory
    // running out) costs that collector's lines only: the helpdesk still gets the rest.
    try {
        collector.CollectInfo(item);
        return collector.GetInfoText();
    } catch (const std::bad_alloc&) {
        return TechInfoNotice("er was niet genoeg geheugen vrij");
    } catch (const EBrantel& e) {
        return TechInfoNotice(e.what());
    } catch (const std::exception& e) {
        // The library's own words only as a clue for the helpdesk, after a sentence it can read.
        return TechInfoNotice(Format("onverwachte fout in het programma (%s)", {e.what()}));
    }
}

TLines TechInfoNotice(const std::string& reason) {
    return {VerbatimLine(Format("Deze gegevens konden niet worden verzameld: %s", {reason})), RtfPar};
}

void ComposeReportText(THelpdeskReport& report, const TUser& user) {
    TLines section;
    ComposeText(report, user, [&](size_t i) -> const TLines& {
        section = CollectTechInfoLines(*report.TechInfos[i], report.ServiceItem.get());
        return section;
    });
}

void ComposeReportText(THelpdeskReport& report, const TUser& user, const std::vector<TLines>& sections) {
    BranAssert(sections.size() == report.TechInfos.size(), "ComposeReportText: one section per collector",
               "Source\\Common\\Helpdesk");
    ComposeText(report, user, [&](size_t i) -> const TLines& { return sections[i]; });
}

void ComposeReport(THelpdeskReport& report, const TUser& user) {
    ComposeReportText(report, user);
    report.SaveReportText();
}

void StoreReportText(THelpdeskReport& report, const TLines& lines) {
    TLines text = lines;
    text.push_back(R"(\par })");
    report.ReportText().Lines() = std::move(text);
    report.SaveReportText();
}

TViewText ViewText(const THelpdeskReport& report) {
    TViewText view;
    view.Preamble = {
        R"({\rtf1\ansi\deff0\deftab720{\fonttbl{\f0\fswiss MS Sans Serif;}{\f1\froman\fcharset2{\*\fname Symbol;}MT Symbol;}{\f2\fswiss\fcharset1 MS Sans Serif;}{\f3\fswiss\fprq2 MS Sans Serif;}})",
        R"({\colortbl\red0\green0\blue0;})",
        R"(\deflang1033\pard\tx2880\plain\f3\fs16\b)",
    };
    const TLines& stored = report.ReportText().Lines();
    if (stored.size() > ReportHeaderLineCount + 1) view.Body = std::span(stored).subspan(ReportHeaderLineCount);
    return view;
}

void ComposeViewText(const THelpdeskReport& report, TLines& lines) {
    const TViewText view = ViewText(report);
    lines = view.Preamble;
    lines.insert(lines.end(), view.Body.begin(), view.Body.end());
}
