// What the key setter and the key deleter do once activated.
#pragma once

#include "../../host/lwgeneric.h"

namespace lwp::cks {

// Operation indices the two commands open the panel on.
inline constexpr int kCreateKeyOperation = 0;
inline constexpr int kDeleteKeyOperation = 5;

void runKeySetter(LWLayoutGeneric *generic);
void runKeyDeleter(LWLayoutGeneric *generic);

}  // namespace lwp::cks
