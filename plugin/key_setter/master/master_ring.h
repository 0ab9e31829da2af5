// The panel's side of the master topic: the reset and the mark query.
#pragma once

#include "ring_records.h"

namespace lwp::cks {

// Clears the master's marks and tells it that a reset has come.
void sendMasterReset();

// Asks the master for its marks. With no master listening, the reply stays
// as prepared: resetSeen 0 and no masks, so every item takes all nine
// channels from the viewport pose.
MarkReply askMasterMarks();

}  // namespace lwp::cks
