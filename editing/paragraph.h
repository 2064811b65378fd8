#pragma once

#include <QtGlobal>

#include <optional>

class QString;

namespace paragraph {
// The indent the user typed, in the user's locale, rounded half to even; empty when
// the text is not a number or does not fit a 16-bit integer.
std::optional<qint16> parseIndent(const QString &text);
} // namespace paragraph
