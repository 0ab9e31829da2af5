// Numbers in the bytes of "%.10f" and "%d", without the per-call cost of the
// formatted-print family; clip files hold tens of thousands of them.
#pragma once

#include <string>

namespace lwp {

// Appends value as "%.10f" prints it in the "C" locale.
void appendFixed10(std::string &out, double value);

// Appends value as "%d" prints it.
void appendInteger(std::string &out, int value);

}  // namespace lwp
