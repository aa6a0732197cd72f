// The binary64 text codec.
//
// Reading: `parseBiggestFloat` scans one float at the start of a byte range
// (sign, "nan"/"inf", digits with underscores, fraction, exponent) and never
// raises; `parseFloat` takes a whole text or raises ValueError; the list
// readers apply the number-list rule with `parseBiggestFloat` as the scanner.
//
// Printing: the round-trip form is the shortest decimal significand that
// reads back to the same value (nearest to the exact value among those),
// laid out in fixed or scientific style and always carrying a '.', an 'e',
// "nan" or "inf". The general form is C's "%g" with '.' as the separator.
//
// The stages live apart, each header beside its source: float_scan.hpp (text
// to a scanned decimal), float_convert.hpp/.cpp (scanned decimal to binary64),
// float_read.hpp/.cpp (the readers), float_shortest.hpp/.cpp (shortest digits
// and the round-trip form), float_general.hpp/.cpp (the general form).
#pragma once

#include "frame/codec/float_general.hpp"
#include "frame/codec/float_read.hpp"
#include "frame/codec/float_shortest.hpp"
