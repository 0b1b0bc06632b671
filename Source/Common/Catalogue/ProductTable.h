#pragma once
// The product table: every product identifier that older installations announce in BRANTEL.INI,
// each with the fill procedure that completes the application (display name, default version,
// helpdesk page, help file, technical-information categories).
//
// The five product-line modules register their rows at start-up (RegisterProductLines). A fill
// procedure has two layers: the product line's steps (TProductLineLayer, one per line module) and the
// version layer, which this module applies from the version's row (TProductVersion). Entries that
// share a TProductVersion share their fill procedure. An identifier may be registered more than once;
// the lookup then takes the first entry whose procedure completes.
#include <memory>
#include <span>
#include <string>
#include <vector>

class TIniReader;
class TBranApplication;

// What the version layer does with Build.
enum class TVersionRule {
    IfEmpty,  // the default version when the section gave none
    Always,   // the default version, whatever the section says
    None,     // leave Build as the section gave it
};

// How the helpdesk page of a product is addressed on the maker's web server.
enum class THelpdeskRule {
    ProductSet,  // the product login script with "set=<Text>&item=hlpdsk"
    SetOnly,     // the product login script with only "set=<Text>"
    StaticPage,  // the fixed page <Text> (a path starting with "/")
};

struct THelpdeskPage {
    THelpdeskRule Rule;
    const char* Text;
};
constexpr THelpdeskPage Set(const char* set) { return {THelpdeskRule::ProductSet, set}; }
constexpr THelpdeskPage SetOnly(const char* set) { return {THelpdeskRule::SetOnly, set}; }
constexpr THelpdeskPage Page(const char* path) { return {THelpdeskRule::StaticPage, path}; }

// One product version: the data of one fill procedure.
struct TProductVersion {
    const char* DisplayName;
    const char* DefaultVersion;  // "4.0.0"; foreign editions add a language code: "4.0.0 UK"
    TVersionRule VersionRule;
    THelpdeskPage Helpdesk;
    // Lines B and C: the product's name; the section key "<name> directory" names its help folder.
    const char* HelpFolder;
    // Prefixes of help-file names to look for, separated by blanks (line A: in "Systeem directory";
    // line B: in the HelpFolder, later finds replacing earlier ones).
    const char* HelpPrefixes;
    // A language code when the identifier is shared with another edition: the procedure refuses a
    // section whose key "Taal" names a different language.
    const char* Edition;
};

// A product line's own steps, run before the version layer.
using TProductLineLayer = void (*)(const TIniReader& ini, const std::string& section, TBranApplication& app,
                                   const TProductVersion& version);

// A fill procedure: the line layer, then the version layer of its version.
struct TLegacyFill {
    TProductLineLayer Line;
    const TProductVersion* Version;
    // Throws when this procedure cannot fill the application (the caller then tries the next entry).
    void operator()(const TIniReader& ini, const std::string& section, TBranApplication& app) const;
};

struct TLegacyProduct {
    std::string Identifier;
    TLegacyFill Fill;
};

// A row of a product line's registration table.
struct TProductEntry {
    const char* Identifier;
    const TProductVersion* Version;
};

void RegisterLegacyProduct(const std::string& identifier, TLegacyFill fill);
// Registers every entry of a line, in order, with the line's layer.
void RegisterProductLine(TProductLineLayer line, std::span<const TProductEntry> entries);
// The entries in registration order.
const std::vector<TLegacyProduct>& LegacyProducts();

// Fills the table with the five product lines; later calls do nothing.
void RegisterProductLines();

// The application for a product identifier (compared without regard to case): each matching entry
// in registration order gets a new application to fill; the first that completes is the result.
// Null when no entry matches or every matching procedure failed.
std::unique_ptr<TBranApplication> FillLegacyApplication(const std::string& identifier, const TIniReader& ini,
                                                        const std::string& section);

// The complete address of a product's helpdesk page on the maker's web server.
std::string HelpdeskAddress(const THelpdeskPage& page);

// The product-line modules.
void IniProductLineA();  // bookkeeping, invoicing, cash book and office titles
void IniProductLineB();  // address book titles
void IniProductLineC();  // typing and language courses
void IniProductLineD();  // music lessons
void IniProductLineE();  // multimedia course titles of the 97/98 series
