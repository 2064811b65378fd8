#pragma once

#include "activedocument.h"

class CommonDialog;

// The File menu's commands on the active document, through the shared dialog control.
namespace filecommands {
// Asks for a file and loads it into the active document; the shell has made sure one exists.
void open(const ActiveDocument &active, CommonDialog &dlg);
// Empties the active document; the window stays open.
void close(const ActiveDocument &active);
// Saves under the caption, asking for a name while the document has none.
void save(const ActiveDocument &active, CommonDialog &dlg);
void saveAs(const ActiveDocument &active, CommonDialog &dlg);
} // namespace filecommands
