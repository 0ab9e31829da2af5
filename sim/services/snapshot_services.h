// "LW Interface Info 8", "LW Scene Info 12" and "LW Time Info": records made
// afresh at every lookup from the scene's state at that moment. Earlier
// snapshots stay readable for a while, as a module may still hold one.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "../../plugin/host/lwinterface.h"
#include "../../plugin/host/lwscene.h"
#include "../scene/scene.h"

namespace lwsim {

class SnapshotService {
 public:
  explicit SnapshotService(const Scene &scene) : scene_(scene) {}

  LWInterfaceInfo *interfaceInfo();
  LWSceneInfo *sceneInfo();
  LWTimeInfo *timeInfo();

  // Layout's Auto Key Create mode (an LWAKC_ value).
  void setAutoKeyCreate(int mode) { autoKeyCreate_ = mode; }
  int autoKeyCreate() const { return autoKeyCreate_; }

 private:
  struct InterfaceSnapshot {
    LWInterfaceInfo record{};
    std::vector<LWItemID> selection;
  };
  struct SceneSnapshot {
    LWSceneInfo record{};
    std::string name;
    std::string fileName;
  };

  // Snapshots older than this many lookups are released; a module looks the
  // record up again before each use.
  static constexpr std::size_t kKept = 1024;

  const Scene &scene_;
  int autoKeyCreate_ = LWAKC_OFF;
  std::deque<InterfaceSnapshot> interfaces_;
  std::deque<SceneSnapshot> scenes_;
  std::deque<LWTimeInfo> times_;
};

}  // namespace lwsim
