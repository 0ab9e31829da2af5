// The controls of the key-setter panel, made in their fixed order and
// placed, with the values they start with.
#pragma once

#include <array>

#include "../../common/panels/label_unit.h"
#include "../../host/lwpanel.h"
#include "../operations/run_settings.h"

namespace lwp::cks {

inline constexpr int kOperationCount = 7;
inline constexpr int kFoldCount = 2;
inline constexpr int kFoldedIndex = 0;
inline constexpr int kUnfoldedIndex = 1;

// Panel size: one width, and the height without or with the extra section.
inline constexpr int kPanelWidth = 518;
inline constexpr int kFoldedHeight = 122;
inline constexpr int kUnfoldedHeight = 274;

struct KeyPanelControls {
  // One button per operation and per fold state, all at one spot; only the
  // current one is drawn.
  std::array<LWControl *, kOperationCount> operations{};
  std::array<LWControl *, kFoldCount> folds{};
  LWControl *frame = nullptr;
  LWControl *from = nullptr;
  LWControl *to = nullptr;
  LWControl *offset = nullptr;
  LWControl *factor = nullptr;
  LWControl *destination = nullptr;
  LWControl *count = nullptr;
  LWControl *step = nullptr;
  LWControl *scope = nullptr;
  std::array<LWControl *, 5> kinds{};  // Null, Mesh, Bone, Light, Camera
  // The Position, Rotation and Scale buttons, each over three axis toggles.
  std::array<LWControl *, 3> groupButtons{};
  std::array<LWControl *, 9> axes{};  // by channel slot
  LWControl *misc = nullptr;
  LWControl *morph = nullptr;
  LWControl *dissolve = nullptr;
  LWControl *dissolveZero = nullptr;
  LWControl *dissolveHundred = nullptr;
  LWControl *keyShape = nullptr;
  LWControl *shape = nullptr;
  LWControl *tension = nullptr;
  LWControl *continuity = nullptr;
  LWControl *bias = nullptr;
  LWControl *ok = nullptr;
  LWControl *cancel = nullptr;
  LWControl *undo = nullptr;
  LWControl *redo = nullptr;
  LWControl *behavior = nullptr;
  LWControl *pre = nullptr;
  LWControl *post = nullptr;
  LWControl *copyValues = nullptr;
  LWControl *pasteValues = nullptr;
  LWControl *poseClip = nullptr;
  LWControl *character = nullptr;
  LWControl *clone = nullptr;
  LWControl *clipSet = nullptr;
};

// Adds every control to the panel in the labels' language and sets its
// starting value; a control the host cannot add raises lw::ex::CBaseEx.
KeyPanelControls addKeyPanelControls(LWPanelFuncs &panels, LWPanelID panel, const LabelUnit &labels);

// The parameter fields an operation shows, in its row.
struct ParameterFields {
  bool frame, from, to, offset, factor, destination, count, step;
};
ParameterFields parameterFieldsOf(int operation);

}  // namespace lwp::cks
