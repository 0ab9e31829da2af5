// Sets the behaviours of a channel's envelope before its first and after
// its last key.
#pragma once

#include <cstdint>

#include "cmd_hist_base.h"

namespace lwp::cks {

// A behaviour value that leaves the envelope's behaviour as it is.
inline constexpr std::uint32_t kBehaviorUnchanged = 0xFFFFFFFFu;

class CmdHistFcBehave final : public CmdHistBase {
 public:
  // Behaviour codes of the host, or kBehaviorUnchanged.
  CmdHistFcBehave(LWChannelID channel, std::uint32_t pre, std::uint32_t post);

  bool check() override;
  void doIt() override;
  void redoIt() override;
  void undoIt() override;

 private:
  // Sets each behaviour whose new value was given to pre or post.
  void setGiven(std::uint32_t pre, std::uint32_t post);

  std::uint32_t newPre_;
  std::uint32_t newPost_;
  std::uint32_t oldPre_ = kBehaviorUnchanged;
  std::uint32_t oldPost_ = kBehaviorUnchanged;
};

}  // namespace lwp::cks
