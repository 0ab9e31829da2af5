// The tool layer of both sides against the simulated host: channel naming,
// grouping and walking; item gathering, kinds, names, paths and reselection;
// the command and status layer and the text formatting beneath it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#endif

#include <clocale>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "common/channels/clip_channels.h"
#include "common/channels/key_channels.h"
#include "common/commands/clip_commands.h"
#include "common/commands/entry_guard.h"
#include "common/commands/exceptions.h"
#include "common/commands/key_commands.h"
#include "common/globals/clip_globals.h"
#include "common/globals/host_globals.h"
#include "common/globals/interface_refetch.h"
#include "common/items/clip_items.h"
#include "common/items/key_items.h"
#include "common/text/text_format.h"
#include "key_setter/panel/frame_field_text.h"
#include "sim/host.h"
#include "support/decimal_comma_locale.h"

#ifndef _WIN32
#include <pthread.h>
#endif

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Property;
using ::testing::Throws;
using Lines = std::vector<std::string>;
using Names = std::vector<std::string>;
using Paths = std::vector<std::string>;

LWItemID idOf(const lwsim::SceneItem &item) { return reinterpret_cast<LWItemID>(item.id); }

// Both sides' globals acquired from the host.
class ToolLayer : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(lwp::acquireClipGlobals(lwsim::GlobalRegistry::function()));
    lwp::CHostGlobals::instance().acquire(lwsim::GlobalRegistry::function());
  }
  lwsim::Scene &scene() { return host_.scene(); }
  lwsim::SceneItem &item(const std::string &name) { return *scene().findByName(name); }
  LWItemID id(const std::string &name) { return idOf(item(name)); }
  Lines commandLines() const {
    Lines lines;
    for (const auto &record : host_.commands().log()) lines.push_back(record.line);
    return lines;
  }

  lwsim::Host host_;
};

const Paths kMotion = {"Position.X", "Position.Y", "Position.Z", "Rotation.H", "Rotation.P",
                       "Rotation.B", "Scale.X",    "Scale.Y",    "Scale.Z"};

Paths motionThen(const Paths &rest) {
  Paths paths = kMotion;
  paths.insert(paths.end(), rest.begin(), rest.end());
  return paths;
}

// An object with a bone, morph channels, a subgroup named like the bone and
// a nested tree whose depth-first and breadth-first orders differ; a light
// with channels of its own.
class Channels : public ToolLayer {
 protected:
  void SetUp() override {
    ToolLayer::SetUp();
    scene().addBone(body, "Arm");
    scene().ensureChannel(body, "Dissolve");
    scene().addMorphMap(body, "Face.Smile");
    scene().addMorphMap(body, "Blink");
    for (const char *path :
         {"Arm.Twist", "Extra.Top", "Extra.Deep.Knob", "Extra.Deep.Deeper.Bottom", "Extra.Side.Wing"})
      scene().ensureChannel(body, path);
    for (const char *path : {"Color.R", "Color.Tint.Amount", "Intensity"}) scene().ensureChannel(sun, path);
  }

  LWChannelID channel(lwsim::SceneItem &item, const std::string &path) {
    return reinterpret_cast<LWChannelID>(&scene().ensureChannel(item, path));
  }
  // Paths of a channel list relative to the item, for readable comparisons.
  Paths pathsOf(const lwp::ChannelList &channels, LWItemID item) {
    Paths paths;
    for (LWChannelID c : channels) paths.push_back(lwp::channelPath(c, item));
    return paths;
  }

  lwsim::SceneItem &body = host_.scene().addObject("Body", "body.lwo");
  lwsim::SceneItem &sun = host_.scene().addLight("Sun");
};

// Paths name the groups between the item and the channel (a bone's channels
// sit below the object's group; another item's channel gets every group up
// to the root). The clip side walks depth-first and leaves out groups named
// like bones; the key setter walks breadth-first and leaves out only the
// bones' own groups; the scene's channels cover every item's tree.
TEST_F(Channels, PathsAndWalksOfEachSide) {
  lwsim::SceneItem &arm = *scene().findByName("Arm");
  EXPECT_EQ(lwp::channelPath(channel(body, "Extra.Deep.Knob"), idOf(body)), "Extra.Deep.Knob");
  EXPECT_EQ(lwp::channelPath(channel(arm, "Rotation.P"), idOf(body)), "Arm.Rotation.P");
  EXPECT_EQ(lwp::channelPath(channel(sun, "Scale.Y"), idOf(body)), "Sun.Scale.Y");
  EXPECT_EQ(pathsOf(lwp::itemChannels(idOf(body)), idOf(body)),
            motionThen({"Dissolve", "Face.Smile", "MorphGroup.Blink", "Extra.Top", "Extra.Deep.Knob",
                        "Extra.Deep.Deeper.Bottom", "Extra.Side.Wing"}));
  EXPECT_EQ(lwp::findChannel(idOf(body), "Extra.Side.Wing"), channel(body, "Extra.Side.Wing"));
  for (const char *path : {"Arm.Twist", "extra.top"}) EXPECT_EQ(lwp::findChannel(idOf(body), path), nullptr) << path;
  EXPECT_EQ(pathsOf(lwp::itemChannelsKS(idOf(body)), idOf(body)),
            motionThen({"Dissolve", "Face.Smile", "MorphGroup.Blink", "Arm.Twist", "Extra.Top", "Extra.Deep.Knob",
                        "Extra.Side.Wing", "Extra.Deep.Deeper.Bottom"}));
  EXPECT_TRUE(lwp::channelExists(channel(arm, "Scale.Z")));
  EXPECT_FALSE(lwp::channelExists(reinterpret_cast<LWChannelID>(&host_)));
}

// Groups and axes follow the path patterns (a lower-case motion name is a
// morph channel only when a map has it); slots are by name in the item's own
// group only; only objects have morph channels, directly below their group.
TEST_F(Channels, GroupsAxesSlotsAndMorphChannels) {
  scene().addMorphMap(body, "Arm.Bend.Left");
  scene().addMorphMap(body, "Deep.Knob");  // names a group that is not directly below the object's
  const std::tuple<const char *, int, int> cases[] = {
      // clang-format off
      {"Position.Z", lwp::kGroupPosition, 2}, {"Rotation.B", lwp::kGroupRotation, 2}, {"Scale.Y", lwp::kGroupScale, 1},
      {"position.x", lwp::kGroupMisc, 0}, {"Position.XY", lwp::kGroupMisc, 0}, {"MorphGroup.Smile", lwp::kGroupMorph, 0},
      {"Face.Smile", lwp::kGroupMorph, 0}, {"Face.Frown", lwp::kGroupMisc, 0}, {"Arm.Bend.Left", lwp::kGroupMisc, 0},
      // clang-format on
  };
  for (const auto &[path, group, axis] : cases) {
    const lwp::GroupAxis found = lwp::channelGroupAxis(path);
    EXPECT_EQ(std::make_tuple(found.group, found.axis, lwp::channelGroupOf(path)), std::make_tuple(group, axis, group))
        << path;
  }
  scene().addMorphMap(body, "position.x");
  EXPECT_EQ(lwp::channelGroupOf("position.x"), lwp::kGroupMorph);

  // Slots by name in the item's own group: the clip-set channels the key
  // setter records prove them; here the bone's below the object's.
  lwsim::SceneItem &arm = *scene().findByName("Arm");
  EXPECT_EQ(lwp::channelSlot(channel(body, "Extra.Deep.Knob"), idOf(body)), lwp::kSlotOther);
  EXPECT_EQ(lwp::channelSlot(channel(arm, "Position.X"), idOf(body)), lwp::kSlotOther);
  EXPECT_EQ(lwp::channelSlot(channel(arm, "Position.X"), idOf(arm)), 0);
  EXPECT_EQ(lwp::channelName(channel(body, "Face.Smile")), "Smile");
  EXPECT_FALSE(lwp::isMorphChannel(channel(sun, "MorphGroup.Glow"), idOf(sun)));
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

class Items : public ToolLayer {
 protected:
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
  EXPECT_THAT(lwp::selectedItems(1), IsEmpty());
  EXPECT_THAT(lwp::targetItemsKS(1), IsEmpty());
  selectInOrder({"B", "Loose", "Root", "A1a"});
  const Names selection{"B", "Loose", "Root", "A1a"};
  EXPECT_EQ(names(lwp::selectedItems(0)), selection);
  EXPECT_EQ(names(lwp::selectedItems(2)), selection);  // on the clip side every other mode is the selection too
  EXPECT_EQ(names(lwp::targetItemsKS(0)), selection);

  EXPECT_EQ(names(lwp::childItems(id("Root"), 0)), (Names{"A", "B"}));
  EXPECT_EQ(names(lwp::childItems(id("Root"), 1)), (Names{"A", "A1", "A1a", "A2", "B", "B1"}));
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
  EXPECT_EQ(names(lwp::bonesOf(idOf(body))), (Names{"Hip", "Knee"}));
  for (const auto &[name, path] : {std::pair{"Knee", "/Rig/Body/Knee"}, {"Rig", "/Rig"}, {"Key Light", "/Key Light"}})
    EXPECT_EQ(lwp::itemPath(id(name)) + "|" + lwp::getItemName(id(name)), path + std::string("|") + name);
  EXPECT_EQ(lwp::getItemName(reinterpret_cast<LWItemID>(0x50000001)), "");  // the host gives no name

  // Kinds on each side: an object is a mesh by its file name ("" is a null
  // object; the whole name must match; the dot is a literal dot).
  const auto object = [&](const char *file) { return idOf(scene().addObject("Object", file)); };
  const lwp::ItemKind mesh = lwp::kKindMesh, null = lwp::kKindNull;
  const std::tuple<LWItemID, lwp::ItemKind, lwp::ItemKind> kinds[] = {
      // clang-format off
      {id("Hip"), lwp::kKindBone, lwp::kKindBone}, {id("Sun"), lwp::kKindLight, lwp::kKindLight},
      {id("Cam"), lwp::kKindCamera, lwp::kKindCamera},
      {reinterpret_cast<LWItemID>(0x50000001), lwp::kKindOther, lwp::kKindOther},
      {id("Body"), mesh, mesh}, {object(""), null, null}, {object("Arm.Lwo"), null, mesh},
      {object("Arm.lwo.bak"), null, null}, {object("Armlwo"), null, null}};
  // clang-format on
  for (std::size_t i = 0; i < std::size(kinds); ++i) {
    const auto &[kindOf, clip, keySetter] = kinds[i];
    EXPECT_EQ(std::make_pair(lwp::itemKind(kindOf), lwp::itemKindKS(kindOf)), std::make_pair(clip, keySetter)) << i;
  }
}

// The clip side selects by lower-case hexadecimal ids (only the low 32 bits
// written), [first, second, third] from the third back, refetching the
// interface info after; a refused command shows an error line and the rest
// is selected; without the interface info it fails, the key setter finds
// no selection.
TEST_F(Items, ClipSideReselectsByIdAndReportsWhatFails) {
  for (int i = 1; i <= 12; ++i) scene().addObject(std::to_string(i).insert(0, "N"));
  lwp::selectItem(id("N11"));
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

  host_.commands().clearLog();
  host_.commands().allow("SelectItem");
  host_.globals().withhold("LW Interface Info 8");
  const char *const failure = "g_global( LWINTERFACEINFO_GLOBAL, GFUSE_TRANSIENT )";
  const auto failsToRefetch = Throws<lw::ex::CBaseEx>(Property(&lw::ex::CBaseEx::message, failure));
  EXPECT_THAT([] { lwp::selectedItems(0); }, failsToRefetch);
  EXPECT_THAT([&] { lwp::selectItem(id("N1")); }, failsToRefetch);
  EXPECT_THAT([] { lwp::selectItems({}); }, failsToRefetch);
  EXPECT_THAT(lwp::targetItemsKS(1), IsEmpty());
  const std::string errorLine = std::string("StatusMsg *** ERROR: ") + failure + " ***";
  EXPECT_THAT(commandLines(), ElementsAre(errorLine, "SelectItem 0x10000000", errorLine, errorLine));
}

// The key setter selects one item (nothing for no item), or only the items
// of the last non-zero item's type, each once.
TEST_F(Items, KeySetterSelectsOnlyItemsOfTheLastNonZeroItemsType) {
  for (const char *name : {"Object1", "Object2"}) scene().addObject(name);
  scene().addCamera("Camera");
  scene().select(scene().addLight("Light"));
  lwp::selectItemKS(nullptr);
  EXPECT_EQ(selectionNames(), Names{"Light"});
  lwp::selectItemKS(id("Object1"));
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

// The clip side shows an error line for a command that fails (refused, empty
// or beyond 511 bytes) and throws an eval error, but never reports a refused
// error line again, nor reads a command as a format; a vanished interface info is an error; without a command function
// nothing is issued. The key setter's status lines keep their trailing blank and it ignores refusals.
TEST_F(ToolLayer, EachSideIssuesItsLinesAndReportsWhatFails) {
  static_assert(!std::is_base_of_v<std::exception, lw::ex::CBaseEx>, "standard handlers must not catch it");
  const auto evalError = [](const auto &work) {
    try {
      work();
    } catch (const lw::ex::CEvalEx &error) {
      return error.message();
    }
    return std::string("no eval error");
  };
  EXPECT_EQ(evalError([] { lwp::eval(""); }), "eval( \"\" )");
  host_.commands().refuse("SelectItem");
  lwp::eval("SelectItem 0x10000001 100%d");
  lwp::reportError("file %s", "a.xml");
  const std::string fits(511, 'a'), tooLong(502, 'b');  // "StatusMsg " + 502 bytes = 512
  EXPECT_EQ(lwp::formatBounded("%s", fits.c_str()), fits);
  EXPECT_EQ(lwp::formatBounded("%s!", fits.c_str()), "");
  EXPECT_EQ(evalError([&] { lwp::evalFormat("StatusMsg %s", tooLong.c_str()); }), "eval( \"\" )");
  lwp::statusMsgFormat("%s", tooLong.c_str());  // the text alone fits
  lwp::statusMsgFormat("%s!", fits.c_str());    // the text alone does not
  lwp::keyStatusMsg("");
  lwp::issueCommand("Bogus 1");
  host_.globals().withhold("LW Interface Info 8");
  try {
    lwp::refetchInterfaceInfoChecked();
    ADD_FAILURE() << "a missing interface info must throw";
  } catch (const lw::ex::CBaseEx &error) {
    EXPECT_EQ(error.message(), "g_global( LWINTERFACEINFO_GLOBAL, GFUSE_TRANSIENT )");
  }
  host_.commands().refuse("StatusMsg");
  lwp::eval("Bogus");
  host_.globals().restore("LW Interface Info 8");
  host_.globals().withhold("LW Command Interface");
  EXPECT_FALSE(lwp::acquireClipGlobals(lwsim::GlobalRegistry::function()));
  lwp::errorMsg("nobody hears this");
  EXPECT_EQ(commandLines(), (Lines{"StatusMsg *** ERROR: eval( \"\" ) ***", "SelectItem 0x10000001 100%d",
                                   "StatusMsg *** ERROR: eval( \"SelectItem 0x10000001 100%d\" ) !(0) ***",
                                   "StatusMsg *** ERROR: file a.xml ***", "StatusMsg *** ERROR: eval( \"\" ) ***",
                                   "StatusMsg " + tooLong, "StatusMsg ", "StatusMsg {1.0} ", "Bogus 1",
                                   "StatusMsg *** ERROR: g_global( LWINTERFACEINFO_GLOBAL, GFUSE_TRANSIENT ) ***",
                                   "Bogus", "StatusMsg *** ERROR: eval( \"Bogus\" ) !(0) ***"}));
}

TEST_F(ToolLayer, LinesReachTheHostInItsAnsiCodePage) {
  // No ANSI code page holds the emoji. A status line shows "?" for it; any
  // other line is not issued, and an error line says so.
  const std::string smile = "\xF0\x9F\x98\x80";
  lwp::statusMsg("a" + smile);
  lwp::keyStatusMsg("b" + smile);
  lwp::eval("StatusMsg c" + smile);
  lwp::issueCommand("StatusMsg d" + smile);
#ifdef _WIN32
  if (GetACP() == CP_UTF8) GTEST_SKIP() << "this system's ANSI code page is UTF-8";
  EXPECT_EQ(commandLines(),
            (Lines{"StatusMsg a?", "StatusMsg {1.0} b?", "StatusMsg *** ERROR: eval( \"StatusMsg c?\" ) !(0) ***",
                   "StatusMsg {1.0} Error! cannot issue StatusMsg d?"}));
#else
  EXPECT_EQ(commandLines(),
            (Lines{"StatusMsg a" + smile, "StatusMsg {1.0} b" + smile, "StatusMsg c" + smile, "StatusMsg d" + smile}));
#endif
}

// A growing buffer has no limit and forgets earlier texts; item ids print
// their low 32 bits; numbers are written and the frame field read with a
// decimal point whatever the locale.
TEST(TextFormat, GrowingBufferItemIdsAndNumbersWhateverTheLocale) {
  const std::string big(20000, 'x');
  EXPECT_EQ(lwp::formatGrowing("<%s>", big.c_str()), "<" + big + ">");
  const auto *id = reinterpret_cast<const void *>(static_cast<std::uintptr_t>(0x12345678ABCDEF01ull));
  EXPECT_EQ(lwp::formatBounded("SelectItem 0x%x", lwp::idArg(id)), "SelectItem 0xabcdef01");
  EXPECT_EQ(lwp::formatGrowing("0x%x", lwp::idArg(reinterpret_cast<const void *>(0x10000001))), "0x10000001");
  const char *previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous != nullptr ? previous : "C";
  if (!lwtest::useDecimalCommaLocale()) GTEST_SKIP() << "cannot make a decimal-comma locale (localedef, de_DE sources)";
  char native[16];
  std::snprintf(native, sizeof native, "%.1f", 1.5);
  const std::string bounded = lwp::formatBounded("%.10f", 1.5), growing = lwp::formatGrowing("%.2f", 0.25);
  const std::string frame = lwp::cks::frameText(12.5);
  const std::optional<double> read = lwp::cks::frameNumber("12.5");
  std::setlocale(LC_NUMERIC, saved.c_str());
  EXPECT_STREQ(native, "1,5") << "the locale is in effect for the process";
  EXPECT_EQ(bounded + " " + growing + " " + frame, "1.5000000000 0.25 12.50");
  EXPECT_EQ(read, 12.5) << "the key setter's frame field reads a point too";
}

// No exception leaves an entry from the host, and each is reported, even
// when the report fails too.
TEST(EntryGuard, NoExceptionLeavesAnEntryAndEachIsReported) {
  Lines reports;
  const auto report = [&reports](const std::string &text) { reports.push_back(text); };
  const std::function<int()> entries[] = {
      [] { return 0; }, []() -> int { throw lw::ex::CFileReadWriteEx("disk full"); },
      []() -> int { throw std::runtime_error("out of range"); }, []() -> int { throw 42; }};
  for (const auto &entry : entries) EXPECT_EQ(lwp::guardEntry(2, entry, report), &entry == entries ? 0 : 2);
  const auto failingReport = [](const std::string &) { throw std::runtime_error("the report fails too"); };
  EXPECT_EQ(lwp::guardEntry(
                3, []() -> int { throw std::runtime_error("first"); }, failingReport),
            3);
  EXPECT_EQ(reports, (Lines{"disk full", "out of range", "unknown error"}));
}

}  // namespace
