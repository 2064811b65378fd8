#pragma once

#include "commondialog.h"

#include <QString>

// Shows one of the dialog control's dialogs with CancelError set; false when the user
// cancelled. Any other failure goes on to the caller.
bool confirmedShow(CommonDialog &dlg, const QString &title, void (CommonDialog::*show)());
