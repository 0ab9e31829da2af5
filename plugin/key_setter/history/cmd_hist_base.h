// The key setter's undo entries: each one change of one channel's envelope
// that knows how to apply, re-apply and reverse itself.
#pragma once

#include "../../host/lwtypes.h"

namespace lwp::cks {

class CmdHistBase {
 public:
  CmdHistBase(const CmdHistBase &) = delete;
  CmdHistBase &operator=(const CmdHistBase &) = delete;
  virtual ~CmdHistBase() = default;

  // True while the entry can still be applied; asked before each of the
  // three operations below.
  virtual bool check() = 0;
  virtual void doIt() = 0;
  virtual void redoIt() = 0;
  virtual void undoIt() = 0;

  LWChannelID channel() const { return channel_; }

 protected:
  explicit CmdHistBase(LWChannelID channel) : channel_(channel) {}

  // The channel is still in the scene and has an envelope.
  bool channelHasEnvelope() const;
  // Looked up from the channel at each call: the host may have replaced it.
  LWEnvelopeID envelope() const;

 private:
  LWChannelID channel_;
};

}  // namespace lwp::cks
