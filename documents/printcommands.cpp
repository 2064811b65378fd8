#include "printcommands.h"

#include "commondialog.h"
#include "failures.h"
#include "frmdocument.h"
#include "richtextbox.h"

namespace printcommands {

void print(const ActiveDocument &active, CommonDialog &dlg)
{
    if (!active())
        return;
    int lastFailure = 0;
    // Every step may fail on its own; only the dialog's cancel stops the print.
    auto step = [&lastFailure](auto &&body) {
        ignoreFailure([&] {
            try {
                body();
            } catch (const RuntimeFailure &failure) {
                lastFailure = failure.number();
                throw;
            }
        });
    };
    step([&] { dlg.DialogTitle = QStringLiteral("Imprimir"); });
    step([&] { dlg.CancelError = true; });
    step([&] { dlg.Flags = CommonDialog::pdReturnDC | CommonDialog::pdNoPageNums; });
    step([&] {
        frmDocument *doc = active();
        if (doc && doc->rtfText->SelLength() != 0)
            dlg.Flags = dlg.Flags + CommonDialog::pdSelection;
    });
    step([&] { dlg.ShowPrinter(); });
    if (lastFailure == RuntimeFailure::CancelError)
        return;
    step([&] {
        if (frmDocument *doc = active())
            doc->rtfText->SelPrint(dlg.hDC);
    });
}

void pageSetup(CommonDialog &dlg)
{
    ignoreFailure([&] { dlg.DialogTitle = QStringLiteral("Configurar página"); });
    ignoreFailure([&] { dlg.CancelError = true; });
    ignoreFailure([&] { dlg.ShowPrinter(); });
}

} // namespace printcommands
