// Item gathering, kinds, names, paths and reselection of both sides of the
// tool layer, run against the simulated host's scene and command interface.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "common/commands/exceptions.h"
#include "common/globals/clip_globals.h"
#include "common/globals/host_globals.h"
#include "common/items/clip_items.h"
#include "common/items/key_items.h"
#include "sim/host.h"

#ifndef _WIN32
#include <pthread.h>
#endif

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Property;
using ::testing::Throws;
using Names = std::vector<std::string>;

const char *const kRefetchFailure = "g_global( LWINTERFACEINFO_GLOBAL, GFUSE_TRANSIENT )";

LWItemID idOf(const lwsim::SceneItem &item) { return reinterpret_cast<LWItemID>(item.id); }

// "N" and the number, appended: GCC 12 at -O3 reports a false overlap
// (-Wrestrict) in operator+ of a literal and a temporary string.
std::string numbered(int number) {
  std::string name = "N";
  name += std::to_string(number);
  return name;
}

// Runs the work on a thread with a 64 KiB stack, far too small for a walk
// that recurses once per level of a deep hierarchy.
template <class Work>
void runOnSmallStack(Work &work) {
#ifdef _WIN32
  work();
#else
  pthread_attr_t attributes;
  ASSERT_EQ(pthread_attr_init(&attributes), 0);
  ASSERT_EQ(pthread_attr_setstacksize(&attributes, 64 * 1024), 0);
  pthread_t thread;
  const auto entry = [](void *argument) -> void * {
    (*static_cast<Work *>(argument))();
    return nullptr;
  };
  ASSERT_EQ(pthread_create(&thread, &attributes, entry, &work), 0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attributes);
#endif
}

class Items : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(lwp::acquireClipGlobals(lwsim::GlobalRegistry::function()));
    lwp::CHostGlobals::instance().acquire(lwsim::GlobalRegistry::function());
  }

  lwsim::Scene &scene() { return host_.scene(); }
  lwsim::SceneItem &item(const std::string &name) { return *scene().findByName(name); }
  LWItemID id(const std::string &name) { return idOf(item(name)); }

  Names names(const lwp::ItemList &items) const {
    Names result;
    for (LWItemID listed : items) {
      const lwsim::SceneItem *found = host_.scene().find(listed);
      result.push_back(found != nullptr ? found->name : "?");
    }
    return result;
  }
  Names selectionNames() const {
    Names result;
    for (const lwsim::SceneItem *selected : host_.scene().selection()) result.push_back(selected->name);
    return result;
  }
  void selectInOrder(const Names &selection) {
    scene().clearSelection();
    for (const std::string &name : selection) scene().addToSelection(item(name));
  }

  std::vector<std::string> commandLines() const {
    std::vector<std::string> lines;
    for (const auto &record : host_.commands().log()) lines.push_back(record.line);
    return lines;
  }

  // Root has children A and B, A has A1 and A2, A1 has A1a, B has B1; Loose
  // stands alone. Created in an order that is neither depth- nor
  // breadth-first, so that only the walk decides the order of a list.
  void buildHierarchy() {
    for (const char *name : {"B1", "A1a", "Root", "A", "B", "A1", "A2", "Loose"}) scene().addObject(name);
    const std::pair<const char *, const char *> links[] = {{"A", "Root"}, {"B", "Root"}, {"A1", "A"},
                                                           {"A2", "A"},   {"A1a", "A1"}, {"B1", "B"}};
    for (const auto &[child, parent] : links) ASSERT_TRUE(scene().setParent(item(child), &item(parent)));
  }

  lwsim::Host host_;
};

// ---- gathering ----

TEST_F(Items, NothingSelectedGivesEmptyListsOnBothSides) {
  buildHierarchy();
  scene().clearSelection();
  EXPECT_THAT(lwp::selectedItems(0), IsEmpty());
  EXPECT_THAT(lwp::selectedItems(1), IsEmpty());
  EXPECT_THAT(lwp::targetItemsKS(0), IsEmpty());
  EXPECT_THAT(lwp::targetItemsKS(1), IsEmpty());
}

TEST_F(Items, SelectionModeListsTheSelectionInItsOrderWithoutChildren) {
  buildHierarchy();
  selectInOrder({"B", "Loose", "Root", "A1a"});
  const Names selection{"B", "Loose", "Root", "A1a"};
  EXPECT_EQ(names(lwp::selectedItems(0)), selection);
  EXPECT_EQ(names(lwp::selectedItems(2)), selection);  // on the clip side every other mode is the selection too
  EXPECT_EQ(names(lwp::targetItemsKS(0)), selection);
}

TEST_F(Items, DescendantsAreDepthFirstOnTheClipSideAndBreadthFirstOnTheKeySetterSide) {
  buildHierarchy();
  EXPECT_EQ(names(lwp::childItems(id("Root"), 0)), (Names{"A", "B"}));
  EXPECT_EQ(names(lwp::childItems(id("Root"), 2)), (Names{"A", "B"}));
  EXPECT_EQ(names(lwp::childItems(id("Root"), 1)), (Names{"A", "A1", "A1a", "A2", "B", "B1"}));
  EXPECT_EQ(names(lwp::childItems(id("A"), 1)), (Names{"A1", "A1a", "A2"}));
  EXPECT_THAT(lwp::childItems(id("A1a"), 1), IsEmpty());

  scene().select(item("Root"));
  EXPECT_EQ(names(lwp::selectedItems(1)), (Names{"Root", "A", "A1", "A1a", "A2", "B", "B1"}));
  EXPECT_EQ(names(lwp::targetItemsKS(1)), (Names{"Root", "A", "B", "A1", "A2", "B1", "A1a"}));
}

TEST_F(Items, ParentAndChildBothSelectedGiveEachItemOnce) {
  buildHierarchy();
  // The clip side follows each selected item by its subtree not yet listed;
  // the key setter lists the whole selection first, then the descendants.
  selectInOrder({"Root", "A"});
  EXPECT_EQ(names(lwp::selectedItems(1)), (Names{"Root", "A", "A1", "A1a", "A2", "B", "B1"}));
  EXPECT_EQ(names(lwp::targetItemsKS(1)), (Names{"Root", "A", "B", "A1", "A2", "B1", "A1a"}));

  selectInOrder({"A1", "Loose", "Root"});
  EXPECT_EQ(names(lwp::selectedItems(1)), (Names{"A1", "A1a", "Loose", "Root", "A", "A2", "B", "B1"}));
  EXPECT_EQ(names(lwp::targetItemsKS(1)), (Names{"A1", "Loose", "Root", "A1a", "A", "B", "A2", "B1"}));
}

TEST_F(Items, FiveThousandNestedNullsAreWalkedWithoutExhaustingTheStack) {
  lwp::ItemList chain;
  lwsim::SceneItem *parent = nullptr;
  for (int depth = 0; depth < 5000; ++depth) {
    lwsim::SceneItem &null = scene().addObject(numbered(depth));
    scene().setParent(null, parent);
    chain.push_back(idOf(null));
    parent = &null;
  }
  scene().select(*scene().find(chain.front()));
  lwp::ItemList children, clipTargets, keySetterTargets;
  auto walk = [&] {
    children = lwp::childItems(chain.front(), 1);
    clipTargets = lwp::selectedItems(1);
    keySetterTargets = lwp::targetItemsKS(1);
  };
  runOnSmallStack(walk);
  EXPECT_EQ(children, lwp::ItemList(chain.begin() + 1, chain.end()));
  EXPECT_EQ(clipTargets, chain);
  EXPECT_EQ(keySetterTargets, chain);
}

TEST_F(Items, WholeSceneListsObjectsEachWithItsBonesThenLightsThenCameras) {
  lwsim::SceneItem &body = scene().addObject("Body", "Body.lwo");
  scene().addLight("Sun");
  lwsim::SceneItem &rig = scene().addObject("Rig");
  scene().addBone(body, "Hip");
  scene().addCamera("Cam");
  scene().addBone(rig, "Root bone");
  scene().addBone(body, "Knee");
  scene().addLight("Fill");
  scene().select(item("Sun"));

  const Names whole{"Body", "Hip", "Knee", "Rig", "Root bone", "Sun", "Fill", "Cam"};
  EXPECT_EQ(names(lwp::allItems()), whole);
  EXPECT_EQ(names(lwp::targetItemsKS(2)), whole);
  EXPECT_EQ(names(lwp::targetItemsKS(7)), whole);
  EXPECT_EQ(names(lwp::bonesOf(idOf(body))), (Names{"Hip", "Knee"}));
  EXPECT_THAT(lwp::bonesOf(id("Sun")), IsEmpty());
}

// ---- kinds, names, paths ----

TEST_F(Items, KindsFollowEachSidesMeshTest) {
  struct Case {
    const char *fileName;
    lwp::ItemKind clip;
    lwp::ItemKind keySetter;
  };
  const Case cases[] = {
      {"", lwp::kKindNull, lwp::kKindNull},  // no file name: a null object
      {"Arm.lwo", lwp::kKindMesh, lwp::kKindMesh},
      {"/objects/Arm.lwo", lwp::kKindMesh, lwp::kKindMesh},
      {"Arm.Lwo", lwp::kKindNull, lwp::kKindMesh},
      {"ARM.LWO", lwp::kKindNull, lwp::kKindMesh},
      {"Arm.lwo.bak", lwp::kKindNull, lwp::kKindNull},  // the whole name must match
      {"Arm.lws", lwp::kKindNull, lwp::kKindNull},
      {"Armlwo", lwp::kKindNull, lwp::kKindNull},  // the dot is a literal dot
  };
  for (const Case &c : cases) {
    const LWItemID object = idOf(scene().addObject("Object", c.fileName));
    EXPECT_EQ(lwp::itemKind(object), c.clip) << c.fileName;
    EXPECT_EQ(lwp::itemKindKS(object), c.keySetter) << c.fileName;
  }
  lwsim::SceneItem &mesh = scene().addObject("Mesh", "Mesh.lwo");
  const LWItemID others[] = {idOf(scene().addBone(mesh, "Bone")), idOf(scene().addLight("Light")),
                             idOf(scene().addCamera("Camera")), reinterpret_cast<LWItemID>(0x50000001)};
  const lwp::ItemKind expected[] = {lwp::kKindBone, lwp::kKindLight, lwp::kKindCamera, lwp::kKindOther};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(lwp::itemKind(others[i]), expected[i]) << i;
    EXPECT_EQ(lwp::itemKindKS(others[i]), expected[i]) << i;
  }
}

TEST_F(Items, NamesAndPathsFromTheRootDown) {
  lwsim::SceneItem &null = scene().addObject("Null");
  lwsim::SceneItem &object = scene().addObject("Object", "Object.lwo");
  scene().setParent(object, &null);
  lwsim::SceneItem &bone = scene().addBone(object, "Bone");
  lwsim::SceneItem &light = scene().addLight("Key Light");
  EXPECT_EQ(lwp::itemPath(idOf(bone)), "/Null/Object/Bone");
  EXPECT_EQ(lwp::itemPath(idOf(object)), "/Null/Object");
  EXPECT_EQ(lwp::itemPath(idOf(null)), "/Null");
  EXPECT_EQ(lwp::itemPath(idOf(light)), "/Key Light");

  EXPECT_EQ(lwp::getItemName(idOf(light)), "Key Light");
  EXPECT_EQ(lwp::getItemName(nullptr), "");
  EXPECT_EQ(lwp::getItemName(reinterpret_cast<LWItemID>(0x50000001)), "");  // the host gives no name
  scene().rename(null, "");
  EXPECT_EQ(lwp::getItemName(idOf(null)), "");
}

// ---- reselection, clip side ----

TEST_F(Items, SelectItemIssuesItsIdInLowerCaseHexThenRefetchesTheInterfaceInfo) {
  for (int i = 1; i <= 12; ++i) scene().addObject(numbered(i));
  host_.globals().clearLookupLog();
  lwp::selectItem(id("N11"));
  EXPECT_EQ(commandLines(), std::vector<std::string>{"SelectItem 0x1000000a"});
  EXPECT_EQ(host_.globals().lookupLog(), std::vector<std::string>{"LW Interface Info 8"});
  EXPECT_EQ(selectionNames(), Names{"N11"});

  // [first, second, third] is selected from the third back to the first.
  lwp::selectItems({id("N1"), id("N10"), id("N12")});
  EXPECT_EQ(selectionNames(), (Names{"N12", "N10", "N1"}));
  // The empty list takes each selected item out of the selection.
  lwp::selectItems({});
  EXPECT_THAT(selectionNames(), IsEmpty());
  EXPECT_THAT(commandLines(), ElementsAre("SelectItem 0x1000000a", "SelectItem 0x1000000b", "AddToSelection 0x10000009",
                                          "AddToSelection 0x10000000", "RemoveFromSelection 0x1000000b",
                                          "RemoveFromSelection 0x10000009", "RemoveFromSelection 0x10000000"));

  // Only the low 32 bits of an id are written; the host knows no such item.
  lwp::selectItem(reinterpret_cast<LWItemID>(static_cast<std::uintptr_t>(0x123456789ABCDEF0ull)));
  EXPECT_EQ(commandLines().back(), "StatusMsg *** ERROR: eval( \"SelectItem 0x9abcdef0\" ) !(0) ***");
}

TEST_F(Items, RefusedSelectionCommandShowsAnErrorLineAndTheRestIsSelected) {
  for (const char *name : {"First", "Second", "Third"}) scene().addObject(name);
  scene().clearSelection();
  host_.commands().refuse("SelectItem");
  lwp::selectItems({id("First"), id("Second"), id("Third")});
  EXPECT_EQ(commandLines(), (std::vector<std::string>{
                                "SelectItem 0x10000002",
                                "StatusMsg *** ERROR: eval( \"SelectItem 0x10000002\" ) !(0) ***",
                                "AddToSelection 0x10000001",
                                "AddToSelection 0x10000000",
                            }));
  EXPECT_EQ(host_.transcript().formatted(),
            (std::vector<std::string>{"refused: SelectItem 0x10000002",
                                      "status: *** ERROR: eval( \"SelectItem 0x10000002\" ) !(0) ***"}));
  EXPECT_EQ(selectionNames(), (Names{"Second", "First"}));
}

TEST_F(Items, MissingInterfaceInfoIsAnErrorOnTheClipSideOnly) {
  lwsim::SceneItem &null = scene().addObject("Null");
  scene().select(null);
  host_.globals().withhold("LW Interface Info 8");
  const auto failsToRefetch = Throws<lw::ex::CBaseEx>(Property(&lw::ex::CBaseEx::message, kRefetchFailure));
  EXPECT_THAT([] { lwp::selectedItems(0); }, failsToRefetch);
  EXPECT_THAT([] { lwp::selectedItems(1); }, failsToRefetch);
  EXPECT_THAT([&] { lwp::selectItem(idOf(null)); }, failsToRefetch);
  EXPECT_THAT([] { lwp::selectItems({}); }, failsToRefetch);
  const std::string errorLine = std::string("StatusMsg *** ERROR: ") + kRefetchFailure + " ***";
  EXPECT_EQ(commandLines(),
            (std::vector<std::string>{errorLine, errorLine, "SelectItem 0x10000000", errorLine, errorLine}));

  // The key setter reports nothing and finds no selection.
  EXPECT_THAT(lwp::targetItemsKS(0), IsEmpty());
  EXPECT_THAT(lwp::targetItemsKS(1), IsEmpty());
  EXPECT_EQ(commandLines().size(), 5u);
}

// ---- reselection, key-setter side ----

TEST_F(Items, KeySetterSelectsOneItemAndNothingForNoItem) {
  lwsim::SceneItem &first = scene().addObject("First");
  scene().select(scene().addObject("Second"));
  host_.globals().clearLookupLog();
  lwp::selectItemKS(nullptr);
  EXPECT_THAT(commandLines(), IsEmpty());
  EXPECT_THAT(host_.globals().lookupLog(), IsEmpty());
  EXPECT_EQ(selectionNames(), Names{"Second"});

  lwp::selectItemKS(idOf(first));
  EXPECT_EQ(commandLines(), std::vector<std::string>{"SelectItem 0x10000000"});
  EXPECT_EQ(host_.globals().lookupLog(), std::vector<std::string>{"LW Interface Info 8"});
  EXPECT_EQ(selectionNames(), Names{"First"});
}

TEST_F(Items, KeySetterSelectsOnlyItemsOfTheLastNonZeroItemsType) {
  lwsim::SceneItem &object1 = scene().addObject("Object1");
  lwsim::SceneItem &object2 = scene().addObject("Object2");
  lwsim::SceneItem &camera = scene().addCamera("Camera");
  lwsim::SceneItem &light = scene().addLight("Light");

  lwp::selectItemsKS({idOf(camera), idOf(object1), idOf(object2)});
  EXPECT_EQ(commandLines(), (std::vector<std::string>{"SelectItem 0x10000001", "AddToSelection 0x10000000"}));
  EXPECT_EQ(selectionNames(), (Names{"Object2", "Object1"}));

  // Zeros are skipped, repeated items go in once, the reference here is Object1.
  host_.commands().clearLog();
  lwp::selectItemsKS({nullptr, idOf(object1), idOf(light), idOf(object2), nullptr, idOf(object1), nullptr});
  EXPECT_EQ(commandLines(), (std::vector<std::string>{"SelectItem 0x10000000", "AddToSelection 0x10000001"}));
  EXPECT_EQ(selectionNames(), (Names{"Object1", "Object2"}));

  host_.commands().clearLog();
  lwp::selectItemsKS({idOf(object1), idOf(light), idOf(camera)});
  EXPECT_EQ(commandLines(), std::vector<std::string>{"SelectItem 0x30000000"});
  EXPECT_EQ(selectionNames(), Names{"Camera"});

  host_.commands().clearLog();
  lwp::selectItemsKS({});
  lwp::selectItemsKS({nullptr, nullptr});
  EXPECT_THAT(commandLines(), IsEmpty());
  EXPECT_EQ(selectionNames(), Names{"Camera"});
}

}  // namespace
