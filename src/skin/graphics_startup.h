// The graphics services started at launch, before any window exists: GDI+
// (which the drop shadow and the image buttons draw with), the frame-dimension
// identifier the image loader needs, and the loading dialog's window class.
#pragma once

#include <windows.h>

namespace setup {

// Starts GDI+ (version 1), prepares frame_dimension_time from its GUID text and
// registers the window class "EmberLoadDialog". No result is examined: a failed
// step is not reported and start-up goes on. Call once, first.
void StartLoadDialogModule();

// Starts GDI+ a second time, with its own token, unless that token is already
// set. GDI+ counts its start-ups; neither is ever shut down.
void StartImageButtonModule();

// The GDI+ frame dimension "time" as StartLoadDialogModule parsed it (16 bytes
// in GUID memory order), or null before the start-up and after the release.
const GUID* FrameDimensionTime();

// Frees frame_dimension_time; called by the exit routine. Safe to call twice.
void ReleaseFrameDimensionTime();

// Window procedure of "EmberLoadDialog". On WM_DESTROY it ends and closes the
// thread in "Ember_Thread", disposes of the GDI+ image in "Ember_Image" and
// frees the global memory in "Ember_Stream"; on a left button down it lets the
// user drag the window when "EmberHitMove" is 1.
LRESULT CALLBACK LoadDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The class name, for code that creates a loading dialog.
extern const char kLoadDialogClass[];

}  // namespace setup
