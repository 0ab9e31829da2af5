// The number at the start of a text as the C library's strtod and strtol
// read it in the "C" locale: leading white space skipped, the longest
// numeric prefix, 0 without one. Plain decimal texts, which are nearly all,
// are read by std::from_chars, which rounds alike and needs no locale; the
// rest (white space, '+', hexadecimal, out of range) by the C library.
#pragma once

namespace lwp {

double decimalPrefix(const char *text);
long integerPrefix(const char *text);

}  // namespace lwp
