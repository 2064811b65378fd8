#pragma once

// This process's memory as the kernel counts it (/proc/self), for the benchmarks and the
// tests that bound what reading a file costs.

// This process's peak resident set, and its resident set now, in KiB.
long peakResidentKb();
long residentKb();
// Starts the peak resident set again from the resident set now; false where the kernel
// cannot, and the peak then counts what came before.
bool resetPeakResident();
