#pragma once

#include "activedocument.h"

// Cut, Copy and Paste between the active document's selection and the system clipboard.
// Each ignores failures step by step: a failing step is skipped without a message.
namespace clipboard {
void cut(const ActiveDocument &active);
void copy(const ActiveDocument &active);
void paste(const ActiveDocument &active);
} // namespace clipboard
