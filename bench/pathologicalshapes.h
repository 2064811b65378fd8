#pragma once

#include <QByteArray>

#include <vector>

// RTF files of shapes that make a reader or writer slow or big when one of its steps
// costs more than linear time or memory: each grows with n in one direction only.
namespace pathological {

struct Shape
{
    const char *name;
    QByteArray (*make)(int n);
    int n;        // the smallest size measured; also 2n and 4n
    bool save;    // whether saving the document read is measured too
    bool edit;    // whether Enter and a letter at the end of the document read are too
};

const std::vector<Shape> &shapes();

} // namespace pathological
