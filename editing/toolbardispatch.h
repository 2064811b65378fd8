#pragma once

#include "activedocument.h"

#include <functional>

class ToolbarButton;

namespace toolbardispatch {

// The main window's handlers that the file and clipboard buttons run, the very ones of
// the corresponding menu items.
struct MenuHandlers
{
    std::function<void()> newDocument, open, save, print, cut, copy, paste;
};

// Runs the clicked button's command by its key. Failures are ignored step by step.
void buttonClick(ToolbarButton *button, const ActiveDocument &active, const MenuHandlers &menu);

} // namespace toolbardispatch
