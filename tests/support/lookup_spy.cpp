#include "lookup_spy.h"

#include "sim/host.h"

namespace lwtest {

namespace {

LookupSpy *gSpy = nullptr;

}  // namespace

LookupSpy::LookupSpy() { gSpy = this; }
LookupSpy::~LookupSpy() { gSpy = nullptr; }

GlobalFunc *LookupSpy::function() const { return lookup; }

void *LookupSpy::lookup(const char *id, int useMode) {
  if (gSpy != nullptr) gSpy->asked_.emplace_back(id);
  return lwsim::GlobalRegistry::function()(id, useMode);
}

}  // namespace lwtest
