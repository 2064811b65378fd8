#include "module1.h"

#include "frmmain.h"

frmMain *mainForm = nullptr;

void Main()
{
    // The reference is set before show() so the first document's load already finds it.
    mainForm = new frmMain;
    mainForm->show();
}
