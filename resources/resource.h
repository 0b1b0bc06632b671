#pragma once
// Resource identifiers shared by the .rc script and the code.
#define IDI_BRANSERVICE 1

// Service icons (32 x 32 and 16 x 16), one per image index of the services: IDI_SERVICE_FIRST + index.
#define IDI_SERVICE_FIRST 100
#define IDI_SERVICE_PROBLEMSOLVER 100
#define IDI_SERVICE_HOMEPAGE 101
#define IDI_SERVICE_ONLINEHELPDESK 102
#define IDI_SERVICE_ONLINESHOP 103
#define IDI_SERVICE_UPDATE 104
#define IDI_SERVICE_ADDRESSCHANGE 105
#define IDI_SERVICE_ENEWS 106
#define IDI_SERVICE_HELPFILE 107
#define IDI_SERVICE_README 108
#define IDI_SERVICE_UNINSTALL 109
#define IDI_SERVICE_HELPDESKREPORT 110
#define IDI_SERVICE_COUNT 11

// Glyphs (16 x 16) of the three view buttons.
#define IDI_VIEW_LARGEICONS 120
#define IDI_VIEW_LIST 121
#define IDI_VIEW_DETAILS 122

// Pictures of the technical-information categories (16 x 16): IDI_TECHINFO_FIRST + image index.
#define IDI_TECHINFO_FIRST 130
#define IDI_TECHINFO_COUNT 13

// The About box picture, and the same at twice the size for screens of more than 96 pixels per inch.
#define IDB_ABOUT 200
#define IDB_ABOUT_2X 201
