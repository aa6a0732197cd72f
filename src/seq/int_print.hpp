// Printing an integer list whose neighbours mostly share their sign and digit
// count, as a sorted list's do: eight items at a time, their digits made in
// vector lanes and written at a fixed stride. Items that break a run of the
// same width are written one at a time, so the text is the same for any
// list; only the speed depends on the order.
#pragma once

#include "frame/arena.hpp"

namespace karpa {

// The list joined with "," (as printIntList writes it).
const char* printIntListInRuns(const IntList& list);

namespace int_print {
const char* printAvx512(const IntList& list);
}

}  // namespace karpa
