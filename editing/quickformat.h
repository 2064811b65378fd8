#pragma once

#include <QVariant>

#include <array>

class frmMain;

// The twelve one-click colour and size buttons: one row per handler.
namespace quickformat {

using Handler = void (frmMain::*)();

struct Button
{
    Handler handler;
    const char *property;  // by-name property of the control
    QVariant value;        // colours 0x00BBGGRR as qint32, sizes in points as qint16
};

const std::array<Button, 12> &buttons();
// Writes the handler's row to the active document's control; nothing without a document.
void apply(frmMain &w, Handler handler);

} // namespace quickformat
