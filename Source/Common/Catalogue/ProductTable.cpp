#include "Source/Common/Catalogue/ProductTable.h"

#include "Source/Common/Catalogue/Deployment.h"
#include "Source/Common/Catalogue/ServiceItems.h"
#include "core/Exceptions.h"
#include "core/Format.h"
#include "core/StrConv.h"
#include "platform/IniFile.h"

namespace {
std::vector<TLegacyProduct>& ProductTable() {
    static std::vector<TLegacyProduct> table;
    return table;
}

// A version shared by two editions under one identifier takes only the section of its own language.
void CheckEdition(const TIniReader& ini, const std::string& section, const TProductVersion& version) {
    if (!*version.Edition) return;
    const std::string language = Trim(ini.ReadString(section, "Taal", ""));
    if (!language.empty() && !SameText(language, version.Edition))
        throw EBrantel("TLegacyFill", "Fill",
                       Format("[%s] is een %s-installatie, geen %s-editie", {section, language, version.Edition}));
}

void ApplyVersionLayer(TBranApplication& app, const TProductVersion& version) {
    const bool hasDefault = *version.DefaultVersion != '\0';
    if (version.VersionRule == TVersionRule::Always ||
        (version.VersionRule == TVersionRule::IfEmpty && hasDefault && app.Build().AsString().empty()))
        app.Build().SetAsString(version.DefaultVersion);
    app.Name().SetAsString(version.DisplayName);
    app.HelpdeskURL().SetAsString(HelpdeskAddress(version.Helpdesk));
}
}  // namespace

std::string HelpdeskAddress(const THelpdeskPage& page) {
    const std::string site = "http://" + MakerWebHost();
    const std::string script = site + "/cgi-brantel/frames/produkt_inlog.cgi";
    switch (page.Rule) {
        case THelpdeskRule::ProductSet: return script + "?set=" + page.Text + "&item=hlpdsk";
        case THelpdeskRule::SetOnly: return script + "?set=" + page.Text;
        case THelpdeskRule::StaticPage: return site + page.Text;
    }
    return {};
}

void TLegacyFill::operator()(const TIniReader& ini, const std::string& section, TBranApplication& app) const {
    CheckEdition(ini, section, *Version);
    Line(ini, section, app, *Version);
    ApplyVersionLayer(app, *Version);
}

void RegisterLegacyProduct(const std::string& identifier, TLegacyFill fill) {
    ProductTable().push_back({identifier, fill});
}

void RegisterProductLine(TProductLineLayer line, std::span<const TProductEntry> entries) {
    for (const TProductEntry& entry : entries) RegisterLegacyProduct(entry.Identifier, {line, entry.Version});
}

const std::vector<TLegacyProduct>& LegacyProducts() { return ProductTable(); }

void RegisterProductLines() {
    static bool registered = false;
    if (registered) return;
    registered = true;
    IniProductLineA();
    IniProductLineB();
    IniProductLineC();
    IniProductLineD();
    IniProductLineE();
}

std::unique_ptr<TBranApplication> FillLegacyApplication(const std::string& identifier, const TIniReader& ini,
                                                        const std::string& section) {
    for (const TLegacyProduct& product : LegacyProducts()) {
        if (!SameText(product.Identifier, identifier)) continue;
        auto app = std::make_unique<TBranApplication>();
        // An edition that does not fit the installation fails; a later entry of the same identifier may fit.
        if (Attempt([&] { product.Fill(ini, section, *app); })) return app;
    }
    return nullptr;
}
