// The key-setter side's host globals: acquired with the lookup function of
// the first activation; one the host did not give is looked up again at
// each later activation, so that a service that came late is found.
#pragma once

#include <array>
#include <cstdint>

#include "../../host/lwhost.h"
#include "global_ids.h"

namespace lwp {

class CHostGlobals {
 public:
  static constexpr std::array<const char *, 56> kIds = {"LW Command Interface",
                                                        "Surface Functions 6",
                                                        "Texture Functions 6",
                                                        "LWVParmFuncs 4",
                                                        "Animation Envelopes 4",
                                                        "LW Item Info 9",
                                                        "LW Object Info 14",
                                                        "Scene Objects 9",
                                                        "LW Scene Info 12",
                                                        "NodeInputFuncs 5",
                                                        "NodeOutputFuncs 4",
                                                        "NodeFuncs 3",
                                                        "NodeEditorFuncs 7",
                                                        "Instance Update",
                                                        "LW Light Info 6",
                                                        "File Type Pattern",
                                                        "Directory Info 2",
                                                        "LWXPanel 3",
                                                        "LWPanelServices 3",
                                                        "Image Utility 6",
                                                        "LW Image List 9",
                                                        "LW Communication Ring",
                                                        "System ID",
                                                        "File Request 3",
                                                        "LW Interface Info 8",
                                                        "LW Camera Info 10",
                                                        "LW Viewport Info 9",
                                                        "Channel Info 3",
                                                        "LW Time Info",
                                                        "Info Messages 4",
                                                        "RasterServices 4",
                                                        "ContextMenuServices 2",
                                                        "LWColorSpace",
                                                        "AOV Functions",
                                                        "LW Backdrop Info 3",
                                                        "LW Bone Info 7",
                                                        "Buffer List Global 2",
                                                        "BSDF Functions 2",
                                                        "LW Camera Evaluation Funcs 4",
                                                        "LW Compositing Info",
                                                        "Dopetrack Proxy 2",
                                                        "Fiber Info 2",
                                                        "LW Fog Info",
                                                        "ItemInstancerFuncs 2",
                                                        "ItemInstanceInfo",
                                                        "LWM: Dynamic Monitor",
                                                        "LW List Info",
                                                        "Particle Services 3",
                                                        "LW Timer",
                                                        "LW Base Funcs 2",
                                                        "Color Picker",
                                                        "File IO 5",
                                                        "Mesh Functions 2",
                                                        "LWShelfFuncs 3",
                                                        "SurfaceEditor Functions 2",
                                                        "Texture Editor 3"};

  static CHostGlobals &instance();

  // Looks up every global at the first call, and those still missing at
  // each later one (with the lookup function of the first).
  void acquire(GlobalFunc *lookupFunction);

  // The name of the first service the key tools cannot work without that
  // the host has not given; null when all are there.
  const char *missingToolService() const;

  bool initialised() const { return initialised_; }
  GlobalFunc *lookup() const { return lookup_; }

  LWCommandFunc *command() const { return entry<LWCommandFunc, kCommand>(); }
  LWEnvelopeFuncs *envelopes() const { return entry<LWEnvelopeFuncs, kEnvelopes>(); }
  LWItemInfo *itemInfo() const { return entry<LWItemInfo, kItemInfo>(); }
  LWObjectInfo *objectInfo() const { return entry<LWObjectInfo, kObjectInfo>(); }
  LWObjectFuncs *sceneObjects() const { return entry<LWObjectFuncs, kSceneObjects>(); }
  LWPanelFuncs *panels() const { return entry<LWPanelFuncs, kPanels>(); }
  LWComRing *comRing() const { return entry<LWComRing, kComRing>(); }
  LWChannelInfo *channelInfo() const { return entry<LWChannelInfo, kChannelInfo>(); }
  LWInterfaceInfo *interfaceInfo() const { return entry<LWInterfaceInfo, kInterfaceInfo>(); }
  LWTimeInfo *timeInfo() const { return entry<LWTimeInfo, kTimeInfo>(); }
  LWSceneInfo *sceneInfo() const { return entry<LWSceneInfo, kSceneInfo>(); }
  // "System ID" answers an integer in place of a pointer.
  std::uint32_t systemId() const {
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(entries_[kSystemId]));
  }

  // Snapshots of the host's state, looked up again and stored unchecked.
  LWInterfaceInfo *refetchInterfaceInfo() { return refetch<LWInterfaceInfo, kInterfaceInfo>(); }
  LWTimeInfo *refetchTimeInfo() { return refetch<LWTimeInfo, kTimeInfo>(); }
  LWSceneInfo *refetchSceneInfo() { return refetch<LWSceneInfo, kSceneInfo>(); }

 private:
  static constexpr std::size_t kCommand = globalSlot(kIds, LWCOMMANDFUNC_GLOBAL);
  static constexpr std::size_t kEnvelopes = globalSlot(kIds, LWENVELOPEFUNCS_GLOBAL);
  static constexpr std::size_t kItemInfo = globalSlot(kIds, LWITEMINFO_GLOBAL);
  static constexpr std::size_t kObjectInfo = globalSlot(kIds, LWOBJECTINFO_GLOBAL);
  static constexpr std::size_t kSceneObjects = globalSlot(kIds, LWOBJECTFUNCS_GLOBAL);
  static constexpr std::size_t kPanels = globalSlot(kIds, LWPANELFUNCS_GLOBAL);
  static constexpr std::size_t kComRing = globalSlot(kIds, LWCOMRING_GLOBAL);
  static constexpr std::size_t kChannelInfo = globalSlot(kIds, LWCHANNELINFO_GLOBAL);
  static constexpr std::size_t kInterfaceInfo = globalSlot(kIds, LWINTERFACEINFO_GLOBAL);
  static constexpr std::size_t kTimeInfo = globalSlot(kIds, LWTIMEINFO_GLOBAL);
  static constexpr std::size_t kSceneInfo = globalSlot(kIds, LWSCENEINFO_GLOBAL);
  static constexpr std::size_t kSystemId = globalSlot(kIds, LWSYSTEMID_GLOBAL);

  CHostGlobals() = default;

  template <class T, std::size_t Slot>
  T *entry() const {
    return reinterpret_cast<T *>(entries_[Slot]);
  }
  template <class T, std::size_t Slot>
  T *refetch() {
    entries_[Slot] = lookup_ != nullptr ? lookup_(kIds[Slot], GFUSE_TRANSIENT) : nullptr;
    return reinterpret_cast<T *>(entries_[Slot]);
  }

  bool initialised_ = false;
  GlobalFunc *lookup_ = nullptr;
  std::array<void *, kIds.size()> entries_{};
};

}  // namespace lwp
