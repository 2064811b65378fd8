#pragma once

#include "activedocument.h"

class CommonDialog;

namespace fontcommand {
// Shows the font dialog and writes all seven of its values to the active document's
// selection, so the choice replaces the selection's character format as a whole.
void chooseFont(const ActiveDocument &active, CommonDialog &dlg);
} // namespace fontcommand
