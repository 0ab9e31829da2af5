#include "cmd_hist_fc_behave.h"

#include "../../common/globals/host_globals.h"

namespace lwp::cks {

namespace {

// The envelope's own behaviours, read and set without a channel group.
std::uint32_t behavior(LWEnvelopeID envelope, int tag) {
  int code = 0;
  if (const LWEnvelopeFuncs *funcs = CHostGlobals::instance().envelopes()) funcs->egGet(envelope, nullptr, tag, &code);
  return static_cast<std::uint32_t>(code);
}

void setBehavior(LWEnvelopeID envelope, int tag, std::uint32_t value) {
  int code = static_cast<int>(value);
  if (const LWEnvelopeFuncs *funcs = CHostGlobals::instance().envelopes()) funcs->egSet(envelope, nullptr, tag, &code);
}

}  // namespace

CmdHistFcBehave::CmdHistFcBehave(LWChannelID channel, std::uint32_t pre, std::uint32_t post)
    : CmdHistBase(channel), newPre_(pre), newPost_(post) {}

bool CmdHistFcBehave::check() { return channelHasEnvelope(); }

void CmdHistFcBehave::doIt() {
  const LWEnvelopeID target = envelope();
  oldPre_ = behavior(target, LWENVTAG_PREBEHAVE);
  oldPost_ = behavior(target, LWENVTAG_POSTBEHAVE);
  redoIt();
}

void CmdHistFcBehave::redoIt() { setGiven(newPre_, newPost_); }

void CmdHistFcBehave::undoIt() { setGiven(oldPre_, oldPost_); }

// An old value is unknown while the entry has not been done; it is not
// written then.
void CmdHistFcBehave::setGiven(std::uint32_t pre, std::uint32_t post) {
  const LWEnvelopeID target = envelope();
  if (newPre_ != kBehaviorUnchanged && pre != kBehaviorUnchanged) setBehavior(target, LWENVTAG_PREBEHAVE, pre);
  if (newPost_ != kBehaviorUnchanged && post != kBehaviorUnchanged) setBehavior(target, LWENVTAG_POSTBEHAVE, post);
}

}  // namespace lwp::cks
