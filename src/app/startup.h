// Start-up: the entry routine and the routine that decides whether the wizard opens.
#pragma once

namespace setup {

// Called once on the main thread; returns 0 when the message loop has ended.
int ProgramEntry();

// Reads the branding trailer, loads the application's description and, when
// all is well, opens the wizard.
void RunStartup();

// Fills the branding data of the state from the program's own file.
void ReadBrandingTrailer();

// True when the copy is branded and the vendor's API described the application;
// false after telling the user whatever is to be told.
bool LoadAppInfo();

}  // namespace setup
