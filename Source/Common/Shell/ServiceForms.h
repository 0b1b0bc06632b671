#pragma once
// Makes the program's windows known to the services and menus that open them by class name.
void RegisterServiceForms();
