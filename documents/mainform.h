#pragma once

class RichTextBox;

// The main window as the document windows reach it. This is the program's one reference
// from a lower layer up to the shell: a document window pushes its selection's state to
// the main toolbar through mainForm. frmMain implements it.
class MainForm
{
public:
    // Shows the selection state of rtfText on the main toolbar's buttons.
    virtual void showSelectionState(const RichTextBox &rtfText) = 0;

protected:
    ~MainForm() = default;
};

// The one main window, set by Main before the window is shown and never cleared. A
// document window can exist before it is set (or, in tests and benchmarks, without a
// main window at all); then there is no toolbar to update.
extern MainForm *mainForm;
