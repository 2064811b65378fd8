#include "module1.h"

#include "frmmain.h"

void Main()
{
    // The reference is set before show() so the first document's load already finds it.
    auto *window = new frmMain;
    mainForm = window;
    window->show();
}
