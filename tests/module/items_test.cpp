// Item gathering, kinds, names, paths and reselection of both sides of the
// tool layer, run against the simulated host's scene and command interface.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>
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

LWItemID idOf(const lwsim::SceneItem &item) { return reinterpret_cast<LWItemID>(item.id); }

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

  lwsim::Host host_;
};

// Root has children A and B, A has A1 and A2, A1 has A1a, B has B1; Loose
// stands alone. Created in an order that is neither depth- nor breadth-first,
// so that only the walk decides the order of a list. The clip side lists
// descendants depth-first, each selected item followed by its subtree not yet
// listed; the key setter breadth-first, the whole selection first.
TEST_F(Items, TheSidesWalkTheSelectionAndItsDescendantsInTheirOwnOrders) {
  for (const char *name : {"B1", "A1a", "Root", "A", "B", "A1", "A2", "Loose"}) scene().addObject(name);
  for (const auto &[child, parent] :
       {std::pair{"A", "Root"}, {"B", "Root"}, {"A1", "A"}, {"A2", "A"}, {"A1a", "A1"}, {"B1", "B"}})
    ASSERT_TRUE(scene().setParent(item(child), &item(parent)));
  scene().clearSelection();
  for (const int mode : {0, 1}) {
    EXPECT_THAT(lwp::selectedItems(mode), IsEmpty());
    EXPECT_THAT(lwp::targetItemsKS(mode), IsEmpty());
  }
  selectInOrder({"B", "Loose", "Root", "A1a"});
  const Names selection{"B", "Loose", "Root", "A1a"};
  EXPECT_EQ(names(lwp::selectedItems(0)), selection);
  EXPECT_EQ(names(lwp::selectedItems(2)), selection);  // on the clip side every other mode is the selection too
  EXPECT_EQ(names(lwp::targetItemsKS(0)), selection);

  EXPECT_EQ(names(lwp::childItems(id("Root"), 0)), (Names{"A", "B"}));
  EXPECT_EQ(names(lwp::childItems(id("Root"), 2)), (Names{"A", "B"}));
  EXPECT_EQ(names(lwp::childItems(id("Root"), 1)), (Names{"A", "A1", "A1a", "A2", "B", "B1"}));
  EXPECT_EQ(names(lwp::childItems(id("A"), 1)), (Names{"A1", "A1a", "A2"}));
  EXPECT_THAT(lwp::childItems(id("A1a"), 1), IsEmpty());
  for (const Names &selected : {Names{"Root"}, Names{"Root", "A"}}) {
    selectInOrder(selected);
    EXPECT_EQ(names(lwp::selectedItems(1)), (Names{"Root", "A", "A1", "A1a", "A2", "B", "B1"}));
    EXPECT_EQ(names(lwp::targetItemsKS(1)), (Names{"Root", "A", "B", "A1", "A2", "B1", "A1a"}));
  }
  selectInOrder({"A1", "Loose", "Root"});
  EXPECT_EQ(names(lwp::selectedItems(1)), (Names{"A1", "A1a", "Loose", "Root", "A", "A2", "B", "B1"}));
  EXPECT_EQ(names(lwp::targetItemsKS(1)), (Names{"A1", "Loose", "Root", "A1a", "A", "B", "A2", "B1"}));
}

TEST_F(Items, FiveThousandNestedNullsAreWalkedWithoutExhaustingTheStack) {
  lwp::ItemList chain;
  lwsim::SceneItem *parent = nullptr;
  for (int depth = 0; depth < 5000; ++depth) {
    lwsim::SceneItem &null = scene().addObject(std::to_string(depth).insert(0, "N"));
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

// The whole scene lists objects each with its bones, then lights, then
// cameras; kinds follow each side's mesh test (the clip side's is case
// sensitive); paths and names run from the root down.
TEST_F(Items, WholeSceneKindsNamesAndPaths) {
  lwsim::SceneItem &body = scene().addObject("Body", "Body.lwo");
  scene().addLight("Sun");
  lwsim::SceneItem &rig = scene().addObject("Rig");
  scene().setParent(body, &rig);
  scene().addBone(body, "Hip");
  scene().addCamera("Cam");
  scene().addBone(rig, "Root bone");
  scene().addBone(body, "Knee");
  scene().addLight("Key Light");
  scene().select(item("Sun"));
  const Names whole{"Body", "Hip", "Knee", "Rig", "Root bone", "Sun", "Key Light", "Cam"};
  EXPECT_EQ(names(lwp::allItems()), whole);
  EXPECT_EQ(names(lwp::targetItemsKS(2)), whole);
  EXPECT_EQ(names(lwp::targetItemsKS(7)), whole);
  EXPECT_EQ(names(lwp::bonesOf(idOf(body))), (Names{"Hip", "Knee"}));
  EXPECT_THAT(lwp::bonesOf(id("Sun")), IsEmpty());
  EXPECT_EQ(lwp::itemPath(id("Knee")), "/Rig/Body/Knee");
  EXPECT_EQ(lwp::itemPath(id("Rig")), "/Rig");
  EXPECT_EQ(lwp::itemPath(id("Key Light")), "/Key Light");
  EXPECT_EQ(lwp::getItemName(id("Key Light")), "Key Light");
  EXPECT_EQ(lwp::getItemName(nullptr), "");
  EXPECT_EQ(lwp::getItemName(reinterpret_cast<LWItemID>(0x50000001)), "");  // the host gives no name
  scene().rename(rig, "");
  EXPECT_EQ(lwp::getItemName(idOf(rig)), "");

  const LWItemID others[] = {id("Hip"), id("Sun"), id("Cam"), reinterpret_cast<LWItemID>(0x50000001), id("Body")};
  const lwp::ItemKind expected[] = {lwp::kKindBone, lwp::kKindLight, lwp::kKindCamera, lwp::kKindOther, lwp::kKindMesh};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(lwp::itemKind(others[i]), expected[i]) << i;
    EXPECT_EQ(lwp::itemKindKS(others[i]), expected[i]) << i;
  }
  // File name: the clip side's kind, the key setter's ("" is a null object;
  // the whole name must match; the dot is a literal dot).
  for (const auto &[fileName, clip, keySetter] : {std::tuple{"", lwp::kKindNull, lwp::kKindNull},
                                                  {"/objects/Arm.lwo", lwp::kKindMesh, lwp::kKindMesh},
                                                  {"Arm.Lwo", lwp::kKindNull, lwp::kKindMesh},
                                                  {"ARM.LWO", lwp::kKindNull, lwp::kKindMesh},
                                                  {"Arm.lwo.bak", lwp::kKindNull, lwp::kKindNull},
                                                  {"Arm.lws", lwp::kKindNull, lwp::kKindNull},
                                                  {"Armlwo", lwp::kKindNull, lwp::kKindNull}}) {
    const LWItemID object = idOf(scene().addObject("Object", fileName));
    EXPECT_EQ(lwp::itemKind(object), clip) << fileName;
    EXPECT_EQ(lwp::itemKindKS(object), keySetter) << fileName;
  }
}

// The clip side selects by lower-case hexadecimal ids (only the low 32 bits
// written), [first, second, third] from the third back, refetching the
// interface info after; a refused command shows an error line and the rest
// is selected; without the interface info it fails, the key setter finds
// no selection.
TEST_F(Items, ClipSideReselectsByIdAndReportsWhatFails) {
  for (int i = 1; i <= 12; ++i) scene().addObject(std::to_string(i).insert(0, "N"));
  host_.globals().clearLookupLog();
  lwp::selectItem(id("N11"));
  EXPECT_EQ(host_.globals().lookupLog(), std::vector<std::string>{"LW Interface Info 8"});
  EXPECT_EQ(selectionNames(), Names{"N11"});
  lwp::selectItems({id("N1"), id("N10"), id("N12")});
  EXPECT_EQ(selectionNames(), (Names{"N12", "N10", "N1"}));
  lwp::selectItems({});
  EXPECT_THAT(selectionNames(), IsEmpty());
  lwp::selectItem(reinterpret_cast<LWItemID>(static_cast<std::uintptr_t>(0x123456789ABCDEF0ull)));
  host_.commands().refuse("SelectItem");
  lwp::selectItems({id("N1"), id("N2"), id("N3")});
  EXPECT_EQ(selectionNames(), (Names{"N2", "N1"}));
  const char *const refused = "StatusMsg *** ERROR: eval( \"SelectItem 0x10000002\" ) !(0) ***";
  EXPECT_THAT(commandLines(),
              ElementsAre("SelectItem 0x1000000a", "SelectItem 0x1000000b", "AddToSelection 0x10000009",
                          "AddToSelection 0x10000000", "RemoveFromSelection 0x1000000b",
                          "RemoveFromSelection 0x10000009", "RemoveFromSelection 0x10000000", "SelectItem 0x9abcdef0",
                          "StatusMsg *** ERROR: eval( \"SelectItem 0x9abcdef0\" ) !(0) ***", "SelectItem 0x10000002",
                          refused, "AddToSelection 0x10000001", "AddToSelection 0x10000000"));
  EXPECT_THAT(
      host_.transcript().formatted(),
      ElementsAre("refused: SelectItem 0x9abcdef0", "status: *** ERROR: eval( \"SelectItem 0x9abcdef0\" ) !(0) ***",
                  "refused: SelectItem 0x10000002", std::string("status: ") + (refused + 10)));

  host_.commands().clearLog();
  host_.commands().allow("SelectItem");
  host_.globals().withhold("LW Interface Info 8");
  const char *const failure = "g_global( LWINTERFACEINFO_GLOBAL, GFUSE_TRANSIENT )";
  const auto failsToRefetch = Throws<lw::ex::CBaseEx>(Property(&lw::ex::CBaseEx::message, failure));
  EXPECT_THAT([] { lwp::selectedItems(0); }, failsToRefetch);
  EXPECT_THAT([] { lwp::selectedItems(1); }, failsToRefetch);
  EXPECT_THAT([&] { lwp::selectItem(id("N1")); }, failsToRefetch);
  EXPECT_THAT([] { lwp::selectItems({}); }, failsToRefetch);
  EXPECT_THAT(lwp::targetItemsKS(0), IsEmpty());
  EXPECT_THAT(lwp::targetItemsKS(1), IsEmpty());
  const std::string errorLine = std::string("StatusMsg *** ERROR: ") + failure + " ***";
  EXPECT_THAT(commandLines(), ElementsAre(errorLine, errorLine, "SelectItem 0x10000000", errorLine, errorLine));
}

// The key setter selects one item (nothing for no item), or only the items
// of the last non-zero item's type, each once.
TEST_F(Items, KeySetterSelectsOnlyItemsOfTheLastNonZeroItemsType) {
  for (const char *name : {"Object1", "Object2"}) scene().addObject(name);
  scene().addCamera("Camera");
  scene().select(scene().addLight("Light"));
  host_.globals().clearLookupLog();
  lwp::selectItemKS(nullptr);
  EXPECT_THAT(host_.globals().lookupLog(), IsEmpty());
  EXPECT_EQ(selectionNames(), Names{"Light"});
  lwp::selectItemKS(id("Object1"));
  EXPECT_EQ(host_.globals().lookupLog(), std::vector<std::string>{"LW Interface Info 8"});
  EXPECT_EQ(selectionNames(), Names{"Object1"});
  lwp::selectItemsKS({id("Camera"), id("Object1"), id("Object2")});
  EXPECT_EQ(selectionNames(), (Names{"Object2", "Object1"}));
  lwp::selectItemsKS({nullptr, id("Object1"), id("Light"), id("Object2"), nullptr, id("Object1"), nullptr});
  EXPECT_EQ(selectionNames(), (Names{"Object1", "Object2"}));
  lwp::selectItemsKS({id("Object1"), id("Light"), id("Camera")});
  EXPECT_EQ(selectionNames(), Names{"Camera"});
  lwp::selectItemsKS({});
  lwp::selectItemsKS({nullptr, nullptr});
  EXPECT_EQ(selectionNames(), Names{"Camera"});
  EXPECT_THAT(commandLines(),
              ElementsAre("SelectItem 0x10000000", "SelectItem 0x10000001", "AddToSelection 0x10000000",
                          "SelectItem 0x10000000", "AddToSelection 0x10000001", "SelectItem 0x30000000"));
}

}  // namespace
