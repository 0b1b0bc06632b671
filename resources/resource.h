#pragma once
// Resource identifiers shared by the .rc script and the code.
#define IDI_BRANSERVICE 1
