// Master instances of a loaded module (their creation by
// ActivateMasterUnique, the events the host hands them, their end when the
// module goes) and the communication ring the fixture's masters report on:
// delivery by topic in attach order, detaching (also during a delivery), and
// C listeners attached through the global's record.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "plugin/host/lwcomring.h"
#include "plugin/host/lwglobals.h"
#include "sim/host.h"
#include "support/script_session.h"

namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::UnorderedElementsAre;

// What listeners heard, as "name code" (and a command event's line).
class RingTest : public ::testing::Test {
 protected:
  void listen(const std::string &topic, const std::string &name) {
    host_.ring().attach(topic, client(name), [this, name](int code, void *data) { heard(name, code, data); });
  }
  void heard(const std::string &name, int code, void *data) {
    calls_.push_back(name + " " + std::to_string(code) +
                     (data == &payload_ ? " payload"
                      : data            ? std::string(" ") + static_cast<char *>(data)
                                        : ""));
  }
  // A client's data: one stable address per name.
  void *client(const std::string &name) { return const_cast<std::string *>(&*clients_.insert(name).first); }
  std::vector<std::string> take() { return std::exchange(calls_, {}); }

  // Declared before the host so that they outlive it: the fixture's masters
  // report their destruction while it goes.
  std::set<std::string> clients_;
  std::vector<std::string> calls_;
  char payload_ = 0;
  lwsim::Host host_;
};

class MasterServiceTest : public RingTest {
 protected:
  void SetUp() override {
    for (const char *name : {"events", "second", "failing"}) listen(std::string("probe.") + name, name);
    host_.loadModule(LWSIM_FIXTURE_MASTER_PROBE);
  }
  std::vector<std::string> reportsOf(const std::string &line, int result = 1) {
    take();
    EXPECT_EQ(host_.commands().run(line), result) << line;
    return take();
  }
};

TEST_F(MasterServiceTest, ActivateMasterUniqueCreatesEachMasterOnce) {
  // Unknown names, other servers and a failing create are refused; a failed
  // master is tried anew.
  std::vector<std::string> refusals;
  for (const char *line :
       {"ActivateMasterUnique Nobody", "ActivateMasterUnique Probe", "ActivateMasterUnique Not A Master",
        "ActivateMasterUnique Failing Master", "ActivateMasterUnique", "ActivateMasterUnique Failing Master"}) {
    for (const std::string &report : reportsOf(line, 0)) refusals.push_back(report);
    EXPECT_THAT(host_.transcript().formatted(), Contains(std::string("refused: ") + line));
  }
  EXPECT_THAT(refusals, ElementsAre("failing -3", "failing -3"));
  EXPECT_EQ(host_.transcript().formatted().size(), 6u);
  EXPECT_THAT(host_.masters().instances(), IsEmpty());

  EXPECT_THAT(reportsOf("ActivateMasterUnique Second Probe"), Contains("second -1"));
  EXPECT_THAT(reportsOf("ActivateMasterUnique Probe Master"), Contains("events -1"));
  const lwsim::MasterInstance *instance = host_.masters().find("Probe Master");
  EXPECT_THAT(reportsOf("ActivateMasterUnique Probe Master"), Not(Contains("events -1"))) << "accepted, not made again";
  EXPECT_EQ(host_.masters().find("Probe Master"), instance);
  EXPECT_EQ(host_.transcript().formatted().size(), 6u);
  EXPECT_THAT(lwtest::runScript(host_, "@masters\n"),
              ElementsAre("master: \"Second Probe\" \"Second Probe: listening\" flags=2",
                          "master: \"Probe Master\" \"Probe Master: listening\" flags=5"));
}

TEST_F(MasterServiceTest, MastersHearAcceptedCommandsTimeAndSelectionInCreationOrder) {
  ASSERT_EQ(host_.commands().run("ActivateMasterUnique Probe Master"), 1);
  for (const char *line : {"StatusMsg hello there", "RefreshNow", "Position 1 2 3", "FirstFrame 5"})
    EXPECT_THAT(reportsOf(line), ElementsAre(std::string("events 1 ") + line));
  for (const char *refused : {"Position 1 2", "Bogus", "SelectItem 0x10000009"})
    EXPECT_THAT(reportsOf(refused, 0), IsEmpty()) << "a refused command tells nothing";
  EXPECT_EQ(lwsim::CommandInterpreter::function()("StatusMsg from C"), 1);
  EXPECT_THAT(take(), ElementsAre("events 1 StatusMsg from C"));

  EXPECT_THAT(reportsOf("AddNull Left Arm"), UnorderedElementsAre("events 3", "events 1 AddNull Left Arm"));
  EXPECT_THAT(reportsOf("GoToFrame 10"), UnorderedElementsAre("events 2", "events 1 GoToFrame 10"));
  for (const char *line :
       {"SelectItem 0x10000000", "AddToSelection 0x10000000", "SelectByName Left Arm", "ClearSelection"})
    EXPECT_THAT(reportsOf(line), UnorderedElementsAre("events 3", std::string("events 1 ") + line));
  host_.goToTime(2.0);
  host_.selectionChanged();
  EXPECT_THAT(take(), ElementsAre("events 2", "events 3"));

  // "Second Probe" asks for notifications in its flags, "Probe Master" does not.
  ASSERT_EQ(host_.commands().run("ActivateMasterUnique Second Probe"), 1);
  EXPECT_THAT(reportsOf("StatusMsg both"), ElementsAre("events 1 StatusMsg both", "second 1 StatusMsg both"));
  host_.loadScene(LWP_SOURCE_DIR "/tests/data/scene_rig_v3.lws");
  EXPECT_THAT(take(), ElementsAre("second 278")) << "the scene-loaded notification, 0x116";
}

TEST_F(MasterServiceTest, UnloadingOrLoadingAModuleDestroysItsInstances) {
  ASSERT_EQ(host_.commands().run("ActivateMasterUnique Probe Master"), 1);
  ASSERT_EQ(host_.commands().run("ActivateMasterUnique Second Probe"), 1);
  take();
  host_.unloadModule();
  EXPECT_THAT(take(), UnorderedElementsAre("events -2", "second -2"));
  EXPECT_THAT(host_.masters().instances(), IsEmpty());
  EXPECT_EQ(host_.commands().run("ActivateMasterUnique Probe Master"), 0) << "no module";

  host_.loadModule(LWSIM_FIXTURE_MASTER_PROBE);
  EXPECT_THAT(reportsOf("ActivateMasterUnique Probe Master"), Contains("events -1")) << "a new module, a new instance";
  host_.loadModule(LWSIM_FIXTURE_MASTER_PROBE);
  EXPECT_THAT(take(), ElementsAre("events -2"));
  EXPECT_THAT(host_.masters().instances(), IsEmpty());
}

// A listener may detach itself or a later one during a delivery; a message
// sent during a delivery is delivered before it returns; topics match exactly.
TEST_F(RingTest, MessagesReachTheListenersOfTheirTopicInAttachOrder) {
  lwsim::CommRing &ring = host_.ring();
  listen("clip", "first");
  listen("other", "first");
  ring.attach("clip", client("once"), [this, &ring](int code, void *data) {
    heard("once", code, data);
    ring.detach("clip", client("once"));
  });
  ring.attach("clip", client("remover"), [this, &ring](int code, void *data) {
    heard("remover", code, data);
    ring.detach("clip", client("victim"));
  });
  ring.attach("clip", client("relay"), [this, &ring](int code, void *) { ring.message("inner", code + 1, nullptr); });
  listen("clip", "victim");
  listen("clip", "last");
  listen("inner", "inner");
  EXPECT_EQ(ring.listenerCount("clip"), 6u);

  ring.message("clip", 5, &payload_);
  EXPECT_THAT(take(),
              ElementsAre("first 5 payload", "once 5 payload", "remover 5 payload", "inner 6", "last 5 payload"));
  ring.message("clip", -6, nullptr);
  EXPECT_THAT(take(), ElementsAre("first -6", "remover -6", "inner -5", "last -6"));
  EXPECT_EQ(ring.listenerCount("clip"), 4u);

  ring.detach("clip", client("first"));
  ring.detach("clip", client("never attached"));
  ring.detach("absent", client("last"));
  for (const char *topic : {"clip", "other", "Clip", "clip ", "nobody"}) ring.message(topic, 1, nullptr);
  EXPECT_THAT(take(), ElementsAre("remover 1", "inner 2", "last 1", "first 1"));
}

struct Reply {
  int calls;
  char text[64];
};
struct Responder {
  const char *tag;
  int calls;
  int lastCode;
};

// A C listener: appends its tag to the reply record.
void respond(void *clientData, void *, int eventCode, void *eventData) {
  auto *responder = static_cast<Responder *>(clientData);
  ++responder->calls;
  responder->lastCode = eventCode;
  auto *reply = static_cast<Reply *>(eventData);
  if (reply == nullptr) return;
  ++reply->calls;
  std::strncat(reply->text, responder->tag, sizeof reply->text - std::strlen(reply->text) - 1);
}

// The C listeners are the module's code and go with it; the host's own stay.
TEST_F(RingTest, CListenersGetTheirClientDataFillTheReplyAndGoWithTheModule) {
  auto *record = static_cast<LWComRing *>(host_.globals().lookup(LWCOMRING_GLOBAL));
  ASSERT_EQ(record, lwsim::CommRing::record());
  Responder first{"A", 0, 0}, second{"B", 0, 0}, elsewhere{"X", 0, 0};
  EXPECT_EQ(record->ringAttach("query", &first, respond), 1);
  host_.ring().attach("query", nullptr, [](int, void *data) {
    char *text = static_cast<Reply *>(data)->text;  // a C++ listener in between
    text[std::strlen(text)] = '+';
  });
  EXPECT_EQ(record->ringAttach("query", &second, respond), 1);
  EXPECT_EQ(record->ringAttach("elsewhere", &elsewhere, respond), 1);
  EXPECT_EQ(record->ringAttach("query", &elsewhere, nullptr), 0) << "no callback";
  EXPECT_EQ(record->ringAttach(nullptr, &elsewhere, respond), 0) << "no topic";
  Reply reply{};
  record->ringMessage("query", 42, &reply);
  EXPECT_EQ(reply.calls, 2);
  EXPECT_STREQ(reply.text, "A+B");
  EXPECT_EQ(first.lastCode, 42);
  EXPECT_EQ(second.lastCode, 42);
  EXPECT_EQ(elsewhere.calls, 0);

  record->ringDetach("query", &first);
  Reply again{};
  host_.ring().message("query", 43, &again);
  EXPECT_STREQ(again.text, "+B");
  EXPECT_EQ(first.calls, 1);
  EXPECT_EQ(second.lastCode, 43);

  host_.ring().attach("query", client("host"), [this](int code, void *) { heard("host", code, nullptr); });
  host_.unloadModule();
  EXPECT_EQ(host_.ring().listenerCount("query"), 2u);
  Reply last{};
  host_.ring().message("query", 7, &last);
  EXPECT_EQ(second.calls, 2);
  EXPECT_STREQ(last.text, "+");
  EXPECT_THAT(take(), ElementsAre("host 7"));
}

TEST(CommRingWithoutHost, TheCEntriesDoNothing) {
  Responder responder{"A", 0, 0};
  LWComRing *record = lwsim::CommRing::record();
  EXPECT_EQ(record->ringAttach("query", &responder, respond), 0);
  record->ringMessage("query", 1, nullptr);
  record->ringDetach("query", &responder);
  EXPECT_EQ(responder.calls, 0);
}

}  // namespace
