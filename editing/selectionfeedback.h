#pragma once

class RichTextBox;
class Toolbar;

namespace selectionfeedback {
// Sets the toolbar's bold, italic, underline and three alignment buttons to the state of
// the control's selection, each property read afresh from that control.
void show(const RichTextBox &rtfText, Toolbar &toolbar);
} // namespace selectionfeedback
