// The test process's peak resident memory, to show that what a peer sends cannot make
// the program grow without bound.
#pragma once

#include <QtGlobal>

// The peak resident set size so far (VmHWM), in bytes; -1 when the system does not say.
qint64 peakResidentBytes();

// What the peak grew by, in MB, between `before` and now.
inline double peakGrowthMb(qint64 before) { return double(peakResidentBytes() - before) / (1 << 20); }
