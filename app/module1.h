#pragma once

#include "mainform.h"

// Start-up: creates the main window, stores it in mainForm and shows it.
void Main();
