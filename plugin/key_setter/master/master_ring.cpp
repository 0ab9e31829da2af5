#include "master_ring.h"

#include "../../common/globals/host_globals.h"
#include "../../host/lwcomring.h"

namespace lwp::cks {

namespace {

void sendToMaster(int eventCode, void *data) {
  if (LWComRing *ring = CHostGlobals::instance().comRing()) ring->ringMessage(kMasterTopic, eventCode, data);
}

}  // namespace

// The master does not read the data of a reset.
void sendMasterReset() { sendToMaster(kMasterResetEvent, nullptr); }

MarkReply askMasterMarks() {
  MarkReply reply;
  sendToMaster(kMarkQueryEvent, &reply);
  return reply;
}

}  // namespace lwp::cks
