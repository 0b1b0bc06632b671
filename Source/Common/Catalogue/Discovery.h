#pragma once
// Finding the maker's installed applications. Every setup of the maker leaves a key
// HKEY_LOCAL_MACHINE\Software\Brantel\<App> (any name but "Shared"):
//
//   <App>                       AddedByService (DWORD, non-zero: added by this program)
//                               CurrentVersion -> <Ver>
//   <App>\<Ver>                 CurrentLanguage -> <Lang>
//   <App>\<Ver>\TechInfo        <category identifier> = "True": the category matters for the app
//   <App>\<Ver>\<Lang>          (default) Name, HelpFile, ReadMeFile, InstallLog, ProgramLog,
//                               ReleaseVersion, ReleaseDate ("yyyymmdd" or "yymmdd"), UninstallKey
//                               (an entry under Windows' Uninstall key), URLHelpdesk and the helpdesk's
//                               EmailAddress, PostAddress, FaxNumber, Zipcode and description
//   Shared                      CurrentLanguage -> <Lang>
//   Shared\<Lang>               URLHelpdesk, URLSHOP: the general item's addresses
//
// Nothing here shows a message: what cannot be read is left out.
#include <string>

#include "Source/Common/Catalogue/Service16bit.h"  // TServiceItemList
#include "core/DateTime.h"

class TBranApplication;

// Appends the registered applications (in the registry's order), then the legacy ones.
void DiscoverApplications(TServiceItemList& list);

// Fills the application from its key (Software\Brantel\<App>). A key that cannot be opened leaves
// the application without a name. Throws when CurrentVersion, CurrentLanguage or a TechInfo value is
// not a string; other values of the wrong type are skipped.
void ReadApplication(TBranApplication& app, const std::string& keyPath);

// The main window's item list: DiscoverApplications, then the general item with its helpdesk and
// shop addresses.
void CollectServiceItems(TServiceItemList& list);

// "yyyymmdd" or "yymmdd" (yy from 50 is 19yy, below 50 20yy). Throws EBrantel for another length or
// a date that does not exist.
TDateTime RegSateStrToDate(const std::string& text);
