#pragma once

#include "activedocument.h"

#include <QtGlobal>

#include <optional>

class QString;
class QWidget;

namespace paragraph {
// The indent the user typed, in the user's locale, rounded half to even; empty when
// the text is not a number or does not fit a 16-bit integer.
std::optional<qint16> parseIndent(const QString &text);

// Writes the typed indent (twips) to the active document's property ("SelIndent" or
// "SelRightIndent") and keeps it in lastIndent. Text that is no indent leaves the document
// and lastIndent as they are, and a warning over parent tells the user why.
void applyIndent(const ActiveDocument &active, const QString &typed, const char *property,
                 qint16 &lastIndent, QWidget *parent);
// Bullets the selected paragraphs, or removes them when all of them are bulleted.
void toggleBullet(const ActiveDocument &active);
} // namespace paragraph
