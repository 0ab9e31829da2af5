// Every entry from the host runs inside a guard: no exception may cross the
// C interface into the host.
#pragma once

#include <exception>
#include <string>
#include <utility>

#include "exceptions.h"

namespace lwp {

// Runs body; an exception that escapes it is described to report and the
// guard returns fallback.
template <class Result, class Body, class Report>
Result guardEntry(Result fallback, Body &&body, Report &&report) noexcept {
  try {
    return std::forward<Body>(body)();
  } catch (const lw::ex::CBaseEx &error) {
    try {
      report(error.message());
    } catch (...) {
    }
  } catch (const std::exception &error) {
    try {
      report(std::string(error.what()));
    } catch (...) {
    }
  } catch (...) {
    try {
      report(std::string("unknown error"));
    } catch (...) {
    }
  }
  return fallback;
}

}  // namespace lwp
