#include "key_time.h"

#include <cmath>
#include <stdexcept>

#include "../../common/globals/host_globals.h"

namespace lwp::cks {

double secondsPerFrame() {
  const LWSceneInfo *scene = CHostGlobals::instance().refetchSceneInfo();
  if (scene == nullptr) throw std::runtime_error("The host gave no scene information.");
  // Also refuses a rate that is not a number.
  if (!(scene->framesPerSecond > 0.0)) throw std::runtime_error("The scene has no valid frame rate.");
  return 1.0 / scene->framesPerSecond;
}

double currentTime() {
  const LWTimeInfo *time = CHostGlobals::instance().refetchTimeInfo();
  if (time == nullptr) throw std::runtime_error("The host gave no current time.");
  return time->time;
}

TimeRange keyWindow(double frame, double spf) {
  const double rounded = std::floor(frame * 100.0 + 0.5) * 0.01;
  return {(rounded - kKeyWindowHalfFrames) * spf, (rounded + kKeyWindowHalfFrames) * spf};
}

// In doubles, so that extreme whole frames cannot overflow.
TimeRange frameRange(int from, int to, double spf) {
  return {static_cast<double>(from) * spf, (static_cast<double>(to) + 1.0) * spf};
}

}  // namespace lwp::cks
