#include "activedocument.h"

#include "frmdocument.h"
#include "richtextbox.h"
#include "runtimefailure.h"

RichTextBox &activeText(const ActiveDocument &active)
{
    frmDocument *doc = active();
    if (!doc || !doc->rtfText)
        throw RuntimeFailure(RuntimeFailure::NoObject,
                             QStringLiteral("No hay ningún documento abierto."));
    return *doc->rtfText;
}
