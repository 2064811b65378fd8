#pragma once

#include "activedocument.h"

class CommonDialog;
class QWidget;

// The colour dialog commands on the active document.
namespace colorcommands {
// The selection's text colour, chosen in the colour dialog.
void textColor(const ActiveDocument &active, CommonDialog &dlg);
// The control's background colour, after a warning (over parent) that it is not saved.
void backColor(const ActiveDocument &active, CommonDialog &dlg, QWidget *parent);
} // namespace colorcommands
