#pragma once

#include "activedocument.h"

class CommonDialog;

// Print and Page Setup: each step may fail on its own and the next one still runs.
namespace printcommands {
// Prints the active document, or its selection when one is chosen, unless the dialog is cancelled.
void print(const ActiveDocument &active, CommonDialog &dlg);
void pageSetup(CommonDialog &dlg);
} // namespace printcommands
