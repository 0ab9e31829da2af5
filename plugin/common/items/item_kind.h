// The kinds of item the tools filter by. An object is a Mesh when its file
// name passes the mesh test, else a Null; the two tools test differently.
#pragma once

#include "../../host/lwitem.h"
#include "../../host/lwobjects.h"

namespace lwp {

enum ItemKind : int {
  kKindNull = 0,
  kKindMesh = 1,
  kKindBone = 2,
  kKindLight = 3,
  kKindCamera = 4,
  kKindOther = 5,
};

enum class MeshTest {
  kClip,       // the whole name matches "^.*\.lwo$", case-sensitively
  kKeySetter,  // the whole name matches ".*\.lwo", case ignored
};

// A missing file name fails either test.
bool passesMeshTest(const char *fileName, MeshTest test);

ItemKind itemKindWith(const LWItemInfo &info, const LWObjectInfo &objects, LWItemID item, MeshTest test);

}  // namespace lwp
