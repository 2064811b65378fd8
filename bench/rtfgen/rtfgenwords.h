#pragma once

#include <QStringList>

// The generator's vocabulary: common Spanish words (accents and ü included) and names.
namespace rtfgen {
const QStringList &words();
const QStringList &names();
} // namespace rtfgen
