// The module as the host reads it: the descriptor and server table byte for
// byte. The key-setter master in the simulated host: marks from the posing
// commands, their clearing and re-arming, the panel's reset and mark query on the master topic, the
// scene-loaded notification, and the one instance. Activating the module's
// servers: the version check, the two global sets, the master's records and
// the clip panels' lifecycle.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "common/globals/clip_globals.h"
#include "common/globals/host_globals.h"
#include "key_setter/master/master_ring.h"
#include "key_setter/master/ring_records.h"
#include "sim/module/server_locals.h"
#include "support/module_host.h"

namespace {

using lwp::cks::askMasterMarks;
using lwp::cks::kMasterTopic;
using lwp::cks::MarkReply;
using lwtest::ModuleHost;
using ::testing::IsEmpty;

// The machine code of the system the module was built for.
#if defined(_WIN32)
constexpr std::uint32_t kMachine = 0x300;
#else
constexpr std::uint32_t kMachine = 0x500;
#endif

template <class T>
T readAt(const void *base, std::size_t offset) {
  T value;
  std::memcpy(&value, static_cast<const unsigned char *>(base) + offset, sizeof value);
  return value;
}

// The header's fields at their offsets; startup answers 4 and looks up no
// global, shutdown does nothing; the server table holds six records in
// order, then 32 zero bytes.
TEST(ModuleDescriptor, HeaderStartupAndServerTableAsTheHostReadsThem) {
  lwtest::ModuleHost fixture;
  const ModuleDescriptor &descriptor = fixture.module().descriptor();
  const void *raw = &descriptor;
  EXPECT_EQ(readAt<std::uint32_t>(raw, 0), 0x04121994u);
  EXPECT_EQ(readAt<std::uint32_t>(raw, 4), 3u);
  EXPECT_EQ(readAt<std::uint32_t>(raw, 8), kMachine);
  EXPECT_EQ(readAt<std::uint32_t>(raw, 12), 0u) << "padding is zero";
  for (const std::size_t offset : {16, 24, 32}) EXPECT_NE(readAt<void *>(raw, offset), nullptr) << offset;

  EXPECT_EQ(fixture.module().startupValue(), reinterpret_cast<void *>(4));
  EXPECT_EQ(descriptor.startup(), reinterpret_cast<void *>(4));
  descriptor.shutdown(reinterpret_cast<void *>(4));
  EXPECT_TRUE(fixture.transcript().empty());
  EXPECT_TRUE(fixture.commandLines().empty());
  EXPECT_TRUE(fixture.host().globals().lookupLog().empty()) << "loading looks up no global";

  const auto *records = static_cast<const unsigned char *>(readAt<void *>(raw, 32));
  const auto &expected = lwtest::moduleServers();
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const unsigned char *record = records + 32 * i;
    EXPECT_STREQ(readAt<const char *>(record, 0), expected[i].className) << "record " << i;
    EXPECT_STREQ(readAt<const char *>(record, 8), expected[i].name) << "record " << i;
    EXPECT_NE(readAt<void *>(record, 16), nullptr) << "record " << i;
    EXPECT_EQ(readAt<void *>(record, 24), nullptr) << "record " << i << " has no tag information";
  }
  const unsigned char *terminator = records + 32 * expected.size();
  for (std::size_t byte = 0; byte < 32; ++byte) EXPECT_EQ(terminator[byte], 0) << "terminator byte " << byte;
  EXPECT_EQ(readAt<const char *>(records + 32 * 2, 8), readAt<const char *>(records + 32 * 3, 8))
      << "the master's two records share one name string";
}

// A global lookup other than the host's own, answering as the host does.
void *otherLookup(const char *id, int useMode) { return lwsim::GlobalRegistry::function()(id, useMode); }

constexpr const char *kActivateMaster = "ActivateMasterUnique .QD:ZaraRazEzedud";

class MasterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    lwp::CHostGlobals::instance().acquire(lwsim::GlobalRegistry::function());
    ASSERT_EQ(host().commands().run(kActivateMaster), 1);
  }

  lwsim::Host &host() { return fixture_.host(); }
  // A command event as the host sends it for a line it accepted.
  void tell(const std::string &line) { host().masters().dispatch(LWEVNT_COMMAND, line.c_str()); }
  // The lines, ';' between them, then the marks by item name and the reply's
  // reset flag. A line is a command the host accepts, "~NAME" selects NAME
  // without telling the masters, "*" tells them the selection changed and
  // "!" is the panel's reset.
  struct Step {
    std::string lines;
    std::map<std::string, unsigned> marks;
    int resetSeen = 0;
  };
  void play(const std::vector<Step> &steps) {
    for (const Step &step : steps) {
      std::istringstream lines(step.lines);
      for (std::string line; std::getline(lines, line, ';');) {
        if (line[0] == '~') host().scene().select(*host().scene().findByName(line.substr(1)));
        if (line == "*") host().selectionChanged();
        if (line == "!") lwp::cks::sendMasterReset();
        EXPECT_TRUE(line == "*" || line == "!" || line[0] == '~' || host().commands().run(line) == 1) << line;
      }
      const MarkReply reply = askMasterMarks();
      std::map<std::string, unsigned> named;
      for (const auto &[item, mask] : reply.masks) named[host().scene().find(item)->name] = mask;
      EXPECT_EQ(named, step.marks) << step.lines;
      EXPECT_EQ(reply.resetSeen, step.resetSeen) << step.lines;
    }
  }

  lwtest::ModuleHost fixture_;
};

// A posing command marks the selection's channels of its group (position 7,
// rotation 56, scale 448) unless the command before it was of the same group
// and neither the selection nor the time changed since; a time change clears
// the marks, "Reset" marks all three groups, and so does the panel's reset
// after which the reply says a reset was seen.
TEST_F(MasterTest, PosingCommandsMarkTheirGroupsAndALoadedSceneRunsTheKeySetter) {
  play({
      {"AddNull A;AddNull B;SelectByName A;Position 1 0 0;~B;Position 2 0 0;AddPosition 2 0 0", {{"A", 7}}},
      {"*;AddPosition 0 1 0", {{"A", 7}, {"B", 7}}},  // a selection change re-arms
      {"Scale 2 2 2;~A;Scale 3 3 3;AddScale 1 1 1", {{"A", 7}, {"B", 7 | 448}}},
      {"GoToFrame 5", {}},
      {"Position 2 0 0", {{"A", 7}}},
      {"!", {}, 1},
      {"Position 1 0 0", {{"A", 7}}, 1},
      // Ids count up from 0x10000000: Other is the sixth item.
      {"GoToFrame 0;AddNull Moved;Position 1 2 3;Rotation 10 0 0;AddNull Quiet;AddNull All;AddNull Other;"
       "SelectByName All;AddToSelection 0x10000005;Reset",
       {{"Moved", 63}, {"All", 511}, {"Other", 511}},
       1},
      // "Reset" re-arms: the group of the command before it marks again.
      {"AddNull Late;Rotation 0 5 0;Reset;~Quiet;AddRotation 0 5 0",
       {{"Moved", 63}, {"All", 511}, {"Other", 511}, {"Late", 511}, {"Quiet", 56}},
       1},
      {"GoToFrame 0;SelectByName A", {}, 1},
  });
  // Nothing is marked while Layout keys posed items itself.
  for (const int mode : {LWAKC_MODIFIED, LWAKC_ALL, LWAKC_EXISTING}) {
    host().snapshots().setAutoKeyCreate(mode);
    play({{"Position 1 0 0;Rotation 1 0 0;Scale 2 2 2;Reset", {}, 1}});
  }
  host().snapshots().setAutoKeyCreate(LWAKC_OFF);
  play({{"Position 1 0 0", {{"A", 7}}, 1}, {"GoToFrame 5", {}, 1}});  // the filter was left alone
  // Nor for a first word that is not exactly a posing command's.
  for (const std::string &line : {std::string("position 1 0 0"), std::string(" Position 1 0 0"), std::string(),
                                  "Position" + std::string(300, 'x') + " 1 0 0", std::string(100000, 'P')})
    tell(line);
  host().masters().dispatch(LWEVNT_COMMAND, nullptr);
  EXPECT_THAT(askMasterMarks().masks, IsEmpty());
  tell("Rotation");
  tell("Scale " + std::string(100000, '1'));  // a short first word with any argument
  play({{"", {{"A", 56 | 448}}, 1}});
  // Without a reset every item takes the whole pose, after one its marks.
  const LWItemID a = reinterpret_cast<LWItemID>(host().scene().findByName("A")->id);
  EXPECT_EQ((MarkReply{0, {{a, 7}}}.maskOf(a)), 511u);
  const MarkReply reply = askMasterMarks();
  EXPECT_EQ(reply.maskOf(a), 504u);
  EXPECT_EQ(reply.maskOf(reinterpret_cast<LWItemID>(host().scene().findByName("B")->id)), 0u);
  host().ring().message(kMasterTopic, lwp::cks::kMarkQueryEvent, nullptr);  // no reply to fill: ignored
  // A scene that finished loading runs the key setter once.
  const std::size_t before = fixture_.commandLines().size();
  host().loadScene(LWP_SOURCE_DIR "/tests/data/scene_rig_v3.lws");
  const std::vector<std::string> lines = fixture_.commandLines();
  ASSERT_GT(lines.size(), before);
  EXPECT_EQ(lines[before], "Generic_QD:VaruDudEdodav init");
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "Generic_QD:VaruDudEdodav init"), 1);
  host().masters().dispatch(LWEVNT_RENDER_DONE, nullptr);
  host().masters().dispatch(LWEVNT_NOTHING, nullptr);
  EXPECT_EQ(fixture_.commandLines().size(), lines.size()) << "other events issue nothing";
}

// No master runs on the host's render-node product; the panel's reset goes
// nowhere and its question comes back as it was prepared.
TEST(MasterOnRenderNode, NoMasterRunsAndTheReplyStaysAsPrepared) {
  lwtest::ModuleHost fixture;
  lwp::CHostGlobals::instance().acquire(lwsim::GlobalRegistry::function());
  lwsim::Host &host = fixture.host();
  for (std::uint32_t id : {0x20000000u, 0x2FFFFFFFu, 0x12000000u, 0x30000000u}) {
    host.setSystemId(id);
    const bool renderNode = (id >> 28) == 2;
    const int accepted = host.commands().run(kActivateMaster);
    const std::size_t listeners = host.ring().listenerCount(kMasterTopic);
    lwp::cks::sendMasterReset();
    const MarkReply reply = askMasterMarks();
    EXPECT_EQ(std::make_tuple(accepted, listeners, int{reply.resetSeen}, reply.masks.size(),
                              reply.maskOf(reinterpret_cast<LWItemID>(0x10000000))),
              renderNode ? std::make_tuple(0, 0ul, 0, 0ul, 511u) : std::make_tuple(1, 1ul, 1, 0ul, 0u))
        << std::hex << id;
    host.masters().destroyAll();
  }
}

// Every server accepts one exact version, neither one below nor above; a
// refused activation looks up, issues and builds nothing.
TEST(Activation, AnotherVersionReturnsBadVersionAndTouchesNothing) {
  for (const lwtest::ServerCase &server : lwtest::moduleServers()) {
    for (const int delta : {-1, 1}) {
      SCOPED_TRACE(std::string(server.className) + " " + server.name + " " + std::to_string(delta));
      ModuleHost fixture;
      EXPECT_EQ(fixture.activate(server.className, server.name, server.version + delta), AFUNC_BADVERSION);
      EXPECT_EQ(fixture.host().globals().lookupLog().size() + fixture.commandLines().size() +
                    static_cast<std::size_t>(fixture.host().panels().panelsCreated()),
                0u);
    }
  }
}

// The key tools' global set, the language and the master's system id are
// looked up at the first activation; a missing requester stops only the clip
// servers, whose globals are acquired at every activation. Each run makes
// sure of the master and the first opening builds the panel, which issues
// one command of its own. One master lives at a time and leaves the ring
// when destroyed; the interface is cleared.
TEST(Activation, KeyToolsAcquireTheirGlobalsOnceAndOneMasterLivesAtATime) {
  ModuleHost fixture;
  lwsim::GenericLocal resetOnly("init");  // no panel, so no snapshot is looked up
  ASSERT_EQ(fixture.host().activateWithLocal("LayoutGeneric", "QD:VaruDudEdodav", 7, resetOnly.record()), AFUNC_OK);
  std::vector<std::string> expected(lwp::CHostGlobals::kIds.begin(), lwp::CHostGlobals::kIds.end());
  expected.insert(expected.end(), {"Locale Info", "System ID"});
  EXPECT_EQ(fixture.host().globals().lookupLog(), expected);
  fixture.host().globals().withhold("LSUniversalRequester");
  EXPECT_EQ(fixture.activate("LayoutGeneric", "QD:ZaduDuzAVSave", 7), AFUNC_BADGLOBAL);
  const std::size_t before = fixture.commandLines().size();
  lwsim::GenericLocal generic;
  for (const char *name : {"QD:RozaRivAvudivo", "QD:VaruDudEdodav"})
    EXPECT_EQ(fixture.host().activateWithLocal("LayoutGeneric", name, 7, generic.record(), otherLookup), AFUNC_OK);
  EXPECT_EQ(generic.evaluations(), 2);
  const std::vector<std::string> lines = fixture.commandLines();
  EXPECT_EQ(std::vector<std::string>(lines.begin() + static_cast<std::ptrdiff_t>(before), lines.end()),
            (std::vector<std::string>{kActivateMaster, "AddEnvelope Dissolve", kActivateMaster}));
  EXPECT_TRUE(fixture.transcript().empty());

  lwsim::MasterHandlerLocal local;
  ASSERT_EQ(fixture.host().activateWithLocal("MasterHandler", ".QD:ZaraRazEzedud", 5, &local.handler, otherLookup),
            AFUNC_OK);
  const LWInstanceFuncs &inst = local.instanceFuncs;
  EXPECT_EQ(inst.priv, reinterpret_cast<void *>(otherLookup)) << "create looks globals up through it";
  ASSERT_TRUE(inst.create && inst.destroy && inst.copy && inst.load && inst.save && inst.descln &&
              local.handler.event && local.handler.flags);
  EXPECT_EQ(inst.create(inst.priv, nullptr, nullptr), nullptr) << "the runs' master lives";
  fixture.host().masters().destroyAll();
  EXPECT_EQ(fixture.host().ring().listenerCount(kMasterTopic), 0u);
  LWError error = nullptr;
  LWInstance master = inst.create(inst.priv, nullptr, &error);
  ASSERT_NE(master, nullptr);
  EXPECT_EQ(fixture.host().ring().listenerCount(kMasterTopic), 1u);
  EXPECT_STREQ(inst.descln(master), ".QD:ZaraRazEzedud(1.20) build 250619");
  EXPECT_STREQ(inst.copy(master, master), "Copy not supported !");
  EXPECT_TRUE(inst.load(master, nullptr) == nullptr && inst.save(master, nullptr) == nullptr);
  EXPECT_EQ(local.handler.flags(master), 2u);
  inst.destroy(master);
  EXPECT_EQ(fixture.host().ring().listenerCount(kMasterTopic), 0u);

  int instance = 0;
  LWInterface ui{&instance, reinterpret_cast<void *>(0x10), reinterpret_cast<LWError (*)(LWInstance)>(0x20),
                 reinterpret_cast<LWError (*)(LWInstance, const char *)>(0x30)};
  EXPECT_EQ(fixture.host().activateWithLocal("MasterInterface", ".QD:ZaraRazEzedud", 5, &ui), AFUNC_OK);
  EXPECT_TRUE(ui.panel == nullptr && ui.options == nullptr && ui.command == nullptr && ui.inst == &instance);
  fixture.host().globals().restore("LSUniversalRequester");
  EXPECT_EQ(fixture.activate("LayoutGeneric", "QD:ZaduDuzAVSave", 7), AFUNC_OK) << "the requester is looked up again";
}

// A missing clip global is looked up in order, up to the missing one, with
// no language lookup after. Clip panels open without blocking, a refused
// opening is reported, and a panel the user closed is reused.
TEST(Activation, AMissingClipGlobalStopsTheClipServersAndTheirPanelsAreReused) {
  const auto &ids = lwp::CClipGlobals::kIds;
  for (const char *name : {"QD:ZaduDuzAVSave", "QD:ZaduDuzAVLoad"}) {
    for (std::size_t missing = 0; missing < ids.size(); ++missing) {
      SCOPED_TRACE(std::string(name) + " without " + ids[missing]);
      ModuleHost fixture;
      fixture.host().globals().withhold(ids[missing]);
      EXPECT_EQ(fixture.activate("LayoutGeneric", name, 7, otherLookup), AFUNC_BADGLOBAL);
      EXPECT_EQ(fixture.host().globals().lookupLog(),
                std::vector<std::string>(ids.begin(), ids.begin() + static_cast<std::ptrdiff_t>(missing) + 1));
      EXPECT_EQ(fixture.host().panels().panelsCreated() + fixture.commandLines().size(), 0u);
      EXPECT_TRUE(std::string(ids[missing]) != "AOV Functions" ||
                  fixture.host().panels().record()->globalFun == otherLookup)
          << "the panels learnt the lookup before a later global was missed";
    }
    SCOPED_TRACE(name);
    ModuleHost fixture;
    lwsim::PanelService &panels = fixture.host().panels();
    panels.setRefuseOpen(true);
    EXPECT_EQ(fixture.activate("LayoutGeneric", name, 7), AFUNC_BADGLOBAL);
    ASSERT_EQ(panels.panelsCreated(), 1);
    lwsim::Panel &panel = *panels.panels().front();
    EXPECT_FALSE(panel.isOpen());
    panels.setRefuseOpen(false);
    EXPECT_EQ(fixture.activate("LayoutGeneric", name, 7), AFUNC_OK);
    EXPECT_TRUE(panel.isOpen());
    panel.closeNow();  // the user closes it
    EXPECT_EQ(fixture.activate("LayoutGeneric", name, 7), AFUNC_OK);
    EXPECT_TRUE(panel.isOpen() && panel.timesOpened() == 2);
    EXPECT_EQ(panels.panelsCreated(), 1) << "the same host panel again";
  }
  ModuleHost fixture;  // the locale id is tested on its low 32 bits
  fixture.host().setLocaleId(0x100000000ull);
  EXPECT_EQ(fixture.activate("LayoutGeneric", "QD:ZaduDuzAVSave", 7), AFUNC_BADGLOBAL);
  EXPECT_EQ(fixture.host().panels().panelsCreated(), 0);
  fixture.host().setLocaleId(0x100000411ull);
  EXPECT_EQ(fixture.activate("LayoutGeneric", "QD:ZaduDuzAVSave", 7), AFUNC_OK);
}

}  // namespace
