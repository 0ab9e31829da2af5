// The clip side's host globals: acquired again at every clip activation and
// before every save and load run; the first missing global fails the set.
#pragma once

#include <array>
#include <cstdint>

#include "../../host/lwhost.h"
#include "global_ids.h"

namespace lwp {

class CClipGlobals {
 public:
  static constexpr std::array<const char *, 35> kIds = {
      "LW Bone Info 7",       "LW Fog Info",           "LW Camera Info 10",     "LW Interface Info 8",
      "LW Item Info 9",       "LW Object Info 14",     "LW Scene Info 12",      "LW Time Info",
      "Dopetrack Proxy 2",    "LW Command Interface",  "Animation Envelopes 4", "Channel Info 3",
      "Color Picker",         "ContextMenuServices 2", "Directory Info 2",      "File Request",
      "File Request 3",       "Image Utility 6",       "LW Image List 9",       "Info Messages 4",
      "Instance Update",      "Locale Info",           "LWPanelServices 3",     "RasterServices 4",
      "Scene Objects 9",      "LWShelfFuncs 3",        "Surface Functions 6",   "LWXPanel 3",
      "LSUniversalRequester", "LW Communication Ring", "NodeInputFuncs 5",      "NodeOutputFuncs 4",
      "NodeFuncs 3",          "LW Light Info 6",       "AOV Functions"};

  static CClipGlobals &instance();

  // Looks every id up in order; false at the first missing one, leaving the
  // entries after it as they were.
  bool acquire(GlobalFunc *lookupFunction);

  GlobalFunc *lookup() const { return lookup_; }

  LWBoneInfo *boneInfo() const { return entry<LWBoneInfo, kBoneInfo>(); }
  LWCameraInfo *cameraInfo() const { return entry<LWCameraInfo, kCameraInfo>(); }
  LWInterfaceInfo *interfaceInfo() const { return entry<LWInterfaceInfo, kInterfaceInfo>(); }
  LWItemInfo *itemInfo() const { return entry<LWItemInfo, kItemInfo>(); }
  LWObjectInfo *objectInfo() const { return entry<LWObjectInfo, kObjectInfo>(); }
  LWSceneInfo *sceneInfo() const { return entry<LWSceneInfo, kSceneInfo>(); }
  LWTimeInfo *timeInfo() const { return entry<LWTimeInfo, kTimeInfo>(); }
  LWCommandFunc *command() const { return entry<LWCommandFunc, kCommand>(); }
  LWEnvelopeFuncs *envelopes() const { return entry<LWEnvelopeFuncs, kEnvelopes>(); }
  LWChannelInfo *channelInfo() const { return entry<LWChannelInfo, kChannelInfo>(); }
  LWFileActivateFunc *fileRequester() const { return entry<LWFileActivateFunc, kFileRequest>(); }
  LWMessageFuncs *messages() const { return entry<LWMessageFuncs, kMessages>(); }
  LWPanelFuncs *panels() const { return entry<LWPanelFuncs, kPanels>(); }
  LWObjectFuncs *sceneObjects() const { return entry<LWObjectFuncs, kSceneObjects>(); }

  // Snapshots of the host's state, looked up again right before use; the
  // answer (null included) replaces the stored entry.
  LWInterfaceInfo *refetchInterfaceInfo() { return refetch<LWInterfaceInfo, kInterfaceInfo>(); }
  LWTimeInfo *refetchTimeInfo() { return refetch<LWTimeInfo, kTimeInfo>(); }
  LWSceneInfo *refetchSceneInfo() { return refetch<LWSceneInfo, kSceneInfo>(); }

 private:
  static constexpr std::size_t kBoneInfo = globalSlot(kIds, LWBONEINFO_GLOBAL);
  static constexpr std::size_t kCameraInfo = globalSlot(kIds, LWCAMERAINFO_GLOBAL);
  static constexpr std::size_t kInterfaceInfo = globalSlot(kIds, LWINTERFACEINFO_GLOBAL);
  static constexpr std::size_t kItemInfo = globalSlot(kIds, LWITEMINFO_GLOBAL);
  static constexpr std::size_t kObjectInfo = globalSlot(kIds, LWOBJECTINFO_GLOBAL);
  static constexpr std::size_t kSceneInfo = globalSlot(kIds, LWSCENEINFO_GLOBAL);
  static constexpr std::size_t kTimeInfo = globalSlot(kIds, LWTIMEINFO_GLOBAL);
  static constexpr std::size_t kCommand = globalSlot(kIds, LWCOMMANDFUNC_GLOBAL);
  static constexpr std::size_t kEnvelopes = globalSlot(kIds, LWENVELOPEFUNCS_GLOBAL);
  static constexpr std::size_t kChannelInfo = globalSlot(kIds, LWCHANNELINFO_GLOBAL);
  static constexpr std::size_t kFileRequest = globalSlot(kIds, LWFILEACTIVATEFUNC_GLOBAL);
  static constexpr std::size_t kMessages = globalSlot(kIds, LWMESSAGEFUNCS_GLOBAL);
  static constexpr std::size_t kLocale = globalSlot(kIds, LWLOCALEINFO_GLOBAL);
  static constexpr std::size_t kPanels = globalSlot(kIds, LWPANELFUNCS_GLOBAL);
  static constexpr std::size_t kSceneObjects = globalSlot(kIds, LWOBJECTFUNCS_GLOBAL);

  CClipGlobals() = default;

  template <class T, std::size_t Slot>
  T *entry() const {
    return reinterpret_cast<T *>(entries_[Slot]);
  }
  template <class T, std::size_t Slot>
  T *refetch() {
    entries_[Slot] = lookup_ != nullptr ? lookup_(kIds[Slot], GFUSE_TRANSIENT) : nullptr;
    return reinterpret_cast<T *>(entries_[Slot]);
  }

  GlobalFunc *lookup_ = nullptr;
  std::array<void *, kIds.size()> entries_{};
};

// The clip activations' and drivers' entry to the set.
bool acquireClipGlobals(GlobalFunc *lookup);

}  // namespace lwp
