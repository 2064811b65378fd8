#include "dialogchoice.h"

#include "runtimefailure.h"

bool confirmedShow(CommonDialog &dlg, const QString &title, void (CommonDialog::*show)())
{
    dlg.DialogTitle = title;
    dlg.CancelError = true;
    try {
        (dlg.*show)();
    } catch (const RuntimeFailure &failure) {
        if (failure.number() != RuntimeFailure::CancelError)
            throw;
        return false;
    }
    return true;
}
