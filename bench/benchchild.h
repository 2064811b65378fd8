#pragma once

#include "procmemory.h"

#include <QString>

#include <string>
#include <vector>

// Benchmarks that measure a whole process run this program again as a child.
struct ChildRun { double seconds = -1; long peakKb = 0; };

// Runs a program with its output thrown away and returns its wall time. A child of this
// program writes its own peak resident set into peakFile: the kernel's figure for a
// spawned child also counts what the parent had before the exec.
ChildRun runChild(const std::vector<std::string> &args, const QString &peakFile = QString());

// The path of this program, for running it again.
std::string selfPath();
