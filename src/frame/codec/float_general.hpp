// The general form: C's "%g" with '.' as the separator (float_general.cpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "frame/arena.hpp"
#include "frame/codec/textcodec.hpp"

namespace karpa {

// General form: "%g" ("%f", "%e"), or "%#.*g" and so on when a precision is
// given; every '.' and ',' in the output becomes `separator`. "%g" itself is
// printed without the C library, byte for byte as glibc prints it.
constexpr size_t kMaxGeneralText = 16;  // "-1.23457e+308"
// Writes x as "%g" at `out` (room for kMaxGeneralText bytes), returns the end.
char* writeFloatGeneral(char* out, double x);
enum class FloatMode { Default, Decimal, Scientific };
size_t formatFloat(char (&buffer)[2501], double x, FloatMode mode, int precision, char separator);
void addFloatGeneral(TextBuilder& out, double x);  // Default, -1, '.'
const char* printFloatGeneral(double x);
const char* printFloatGeneralList(const FloatList& list);

}  // namespace karpa
