#pragma once

#include "activedocument.h"

#include <QVariant>

#include <array>

// The twelve one-click colour and size buttons: one row per button.
namespace quickformat {

struct Button
{
    const char *name;      // the button's object name, "Command2" to "Command13"
    const char *property;  // by-name property of the control
    QVariant value;        // colours 0x00BBGGRR as qint32, sizes in points as qint16
};

const std::array<Button, 12> &buttons();
// Writes the named button's row to the active document's control; nothing without a document.
void apply(const ActiveDocument &active, const char *button);

} // namespace quickformat
