#pragma once

class frmMain;

// The one main window, set by Main before the window is shown and never cleared.
extern frmMain *mainForm;

// Start-up: creates the main window, stores it in mainForm and shows it.
void Main();
