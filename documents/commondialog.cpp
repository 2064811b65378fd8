#include "commondialog.h"

#include "runtimefailure.h"

#include <QHash>
#include <QPrinter>

CommonDialogBackend &realDialogBackend();   // qtdialogs.cpp

namespace {

CommonDialogBackend *installedBackend = nullptr;

// Handles stand for printers only while their dialog control lives and until its next
// confirmed printer dialog; a stale handle finds nothing rather than a dangling printer.
QHash<qint32, QPrinter *> &handles()
{
    static QHash<qint32, QPrinter *> table;
    return table;
}

qint32 nextHandle()
{
    static qint32 last = 0;
    do {
        last = last == 0x7fffffff ? 1 : last + 1;
    } while (handles().contains(last));
    return last;
}

CommonDialogBackend &current()
{
    return installedBackend ? *installedBackend : realDialogBackend();
}

} // namespace

CommonDialog::CommonDialog(QObject *parent)
    : QObject(parent), printer_(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
}

CommonDialog::~CommonDialog()
{
    handles().remove(hDC);
}

void CommonDialog::setBackend(CommonDialogBackend *backend)
{
    installedBackend = backend;
}

QPrinter *CommonDialog::printer() const
{
    return printer_.get();
}

static void cancelled(const CommonDialog &dlg)
{
    if (dlg.CancelError)
        throw RuntimeFailure(RuntimeFailure::CancelError, QStringLiteral("Se ha seleccionado Cancelar."));
}

void CommonDialog::ShowOpen()
{
    if (!current().showOpen(*this)) {
        FileName.clear();
        cancelled(*this);
    }
}

void CommonDialog::ShowSave()
{
    if (!current().showSave(*this)) {
        FileName.clear();
        cancelled(*this);
    }
}

void CommonDialog::ShowColor()
{
    if (!current().showColor(*this))
        cancelled(*this);
}

void CommonDialog::ShowFont()
{
    if (!current().showFont(*this))
        cancelled(*this);
}

void CommonDialog::ShowPrinter()
{
    if (!current().showPrinter(*this, *printer_)) {
        cancelled(*this);
        return;
    }
    handles().remove(hDC);
    hDC = nextHandle();
    handles().insert(hDC, printer_.get());
}

QPrinter *printerForHandle(qint32 hDC)
{
    return hDC == 0 ? nullptr : handles().value(hDC, nullptr);
}
