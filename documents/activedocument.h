#pragma once

#include <functional>

class RichTextBox;
class frmDocument;

// The active document window, looked up afresh at each call; nullptr when none is open.
// The shell hands one to the commands of the lower layers.
using ActiveDocument = std::function<frmDocument *()>;

// The active document's control; RuntimeFailure NoObject when no document is open, so
// that a step calling it fails like any other step.
RichTextBox &activeText(const ActiveDocument &active);
