// The host's globals as the module looks them up: through the lookup
// function handed to activations.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "plugin/host/lwhost.h"
#include "sim/host.h"
#include "sim/host_error.h"

namespace {

using ::testing::ElementsAre;

void *lookup(const char *id) { return lwsim::GlobalRegistry::function()(id, GFUSE_TRANSIENT); }

std::uint64_t integerAnswer(const char *id) { return reinterpret_cast<std::uintptr_t>(lookup(id)); }

TEST(GlobalRegistry, LookupsAnswerTheProvidedRecords) {
  lwsim::Host host;
  EXPECT_EQ(lookup(LWPANELFUNCS_GLOBAL), host.panels().record());
  EXPECT_EQ(lookup(LWMESSAGEFUNCS_GLOBAL), host.messages().record());
  EXPECT_EQ(lookup(LWCOMMANDFUNC_GLOBAL), reinterpret_cast<void *>(lwsim::CommandInterpreter::function()));
  for (const char *id : lwsim::Host::offeredGlobals()) EXPECT_NE(lookup(id), nullptr) << id;

  int record = 0;
  host.globals().provideRecord("Test Record", &record);
  EXPECT_EQ(lookup("Test Record"), &record);
}

TEST(GlobalRegistry, ProvidersRunAtEveryLookup) {
  lwsim::Host host;
  int snapshots[2] = {};
  int made = 0;
  host.globals().provide("Snapshot", [&] { return &snapshots[made++]; });
  EXPECT_EQ(lookup("Snapshot"), &snapshots[0]);
  EXPECT_EQ(lookup("Snapshot"), &snapshots[1]);
}

// A record of functions alone has one in every slot.
template <class Record>
void expectEveryFunctionSet(const char *id) {
  const auto *record = static_cast<const unsigned char *>(lookup(id));
  ASSERT_NE(record, nullptr) << id;
  for (std::size_t offset = 0; offset < sizeof(Record); offset += sizeof(void *)) {
    void *slot = nullptr;
    std::memcpy(&slot, record + offset, sizeof slot);
    EXPECT_NE(slot, nullptr) << id << " at " << offset;
  }
}

// Members the host does not simulate answer a neutral value and show up in
// the transcript.
TEST(GlobalRegistry, EveryFunctionOfTheRecordsIsSetAndAnUnsupportedOneIsRecorded) {
  lwsim::Host host;
  expectEveryFunctionSet<LWItemInfo>(LWITEMINFO_GLOBAL);
  expectEveryFunctionSet<LWObjectInfo>(LWOBJECTINFO_GLOBAL);
  expectEveryFunctionSet<LWBoneInfo>(LWBONEINFO_GLOBAL);
  expectEveryFunctionSet<LWCameraInfo>(LWCAMERAINFO_GLOBAL);
  expectEveryFunctionSet<LWObjectFuncs>(LWOBJECTFUNCS_GLOBAL);
  expectEveryFunctionSet<LWChannelInfo>(LWCHANNELINFO_GLOBAL);
  expectEveryFunctionSet<LWEnvelopeFuncs>(LWENVELOPEFUNCS_GLOBAL);
  expectEveryFunctionSet<LWMessageFuncs>(LWMESSAGEFUNCS_GLOBAL);
  expectEveryFunctionSet<LWComRing>(LWCOMRING_GLOBAL);
  const auto *interface = static_cast<const LWInterfaceInfo *>(lookup(LWINTERFACEINFO_GLOBAL));
  for (const void *function :
       {reinterpret_cast<const void *>(interface->itemFlags), reinterpret_cast<const void *>(interface->itemVis),
        reinterpret_cast<const void *>(interface->setItemColorCustom)})
    EXPECT_NE(function, nullptr);

  EXPECT_EQ(static_cast<LWItemInfo *>(lookup(LWITEMINFO_GLOBAL))->target(nullptr), nullptr);
  EXPECT_EQ(static_cast<LWCameraInfo *>(lookup(LWCAMERAINFO_GLOBAL))->focalLength(nullptr, 1.0), 0.0);
  static_cast<LWPanelFuncs *>(lookup(LWPANELFUNCS_GLOBAL))->setParent(nullptr, nullptr);
  EXPECT_THAT(host.transcript().formatted(),
              ElementsAre("unsupported: LWItemInfo.target", "unsupported: LWCameraInfo.focalLength",
                          "unsupported: LWPanelFuncs.setParent"));
}

TEST(GlobalRegistry, WithheldIdAnswersNullUntilRestored) {
  lwsim::Host host;
  host.globals().withhold(LWPANELFUNCS_GLOBAL);
  EXPECT_EQ(lookup(LWPANELFUNCS_GLOBAL), nullptr);
  EXPECT_NE(lookup(LWMESSAGEFUNCS_GLOBAL), nullptr) << "only the withheld id is affected";
  host.globals().restore(LWPANELFUNCS_GLOBAL);
  EXPECT_EQ(lookup(LWPANELFUNCS_GLOBAL), host.panels().record());
}

TEST(GlobalRegistry, UnofferedIdAnswersNull) {
  lwsim::Host host;
  EXPECT_EQ(lookup("No Such Global 1"), nullptr);
  EXPECT_EQ(lwsim::GlobalRegistry::function()(nullptr, GFUSE_TRANSIENT), nullptr);
}

TEST(GlobalRegistry, LogRecordsEveryIdAskedForInOrder) {
  lwsim::Host host;
  host.globals().withhold(LWITEMINFO_GLOBAL);
  lookup(LWSYSTEMID_GLOBAL);
  lookup("No Such Global");
  lookup(LWITEMINFO_GLOBAL);
  lookup(LWSYSTEMID_GLOBAL);
  EXPECT_THAT(host.globals().lookupLog(),
              ElementsAre(LWSYSTEMID_GLOBAL, "No Such Global", LWITEMINFO_GLOBAL, LWSYSTEMID_GLOBAL));
  host.globals().clearLookupLog();
  EXPECT_TRUE(host.globals().lookupLog().empty());
}

TEST(GlobalRegistry, LocaleInfoAnswersTheWholeLocaleId) {
  lwsim::Host host;
  EXPECT_EQ(integerAnswer(LWLOCALEINFO_GLOBAL), static_cast<std::uint64_t>(LANGID_USENGLISH));
  host.setLocaleId(lwsim::Host::kJapanese);
  EXPECT_EQ(integerAnswer(LWLOCALEINFO_GLOBAL), static_cast<std::uint64_t>(LANGID_JAPANESE));
  const std::uint64_t wide = 0x7A5C'0000'0001'0411ull;
  host.setLocaleId(wide);
  EXPECT_EQ(integerAnswer(LWLOCALEINFO_GLOBAL), wide);
}

TEST(GlobalRegistry, SystemIdAnswersTheThirtyTwoBitId) {
  lwsim::Host host;
  host.setSystemId(0xF2345678u);
  EXPECT_EQ(integerAnswer(LWSYSTEMID_GLOBAL), 0xF2345678u);
  host.setSystemId(LWSYS_SCREAMERNET | 0x42u);
  EXPECT_EQ(integerAnswer(LWSYSTEMID_GLOBAL), LWSYS_SCREAMERNET | 0x42u);
}

TEST(Host, OnlyOneExistsAtATime) {
  EXPECT_EQ(lwsim::Host::currentOrNull(), nullptr);
  EXPECT_THROW(lwsim::Host::current(), lwsim::HostError);
  {
    lwsim::Host first;
    EXPECT_THROW(lwsim::Host second, lwsim::HostError);
    EXPECT_EQ(&lwsim::Host::current(), &first) << "a refused second host leaves the first current";
    EXPECT_NE(lookup(LWPANELFUNCS_GLOBAL), nullptr);
  }
  EXPECT_EQ(lwsim::Host::currentOrNull(), nullptr);
  EXPECT_EQ(lookup(LWPANELFUNCS_GLOBAL), nullptr) << "no host, no globals";
  lwsim::Host again;
  EXPECT_EQ(lwsim::Host::currentOrNull(), &again);
}

}  // namespace
