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

// ActivateMasterUnique refuses unknown names, other servers and a failing
// create (tried anew each time) and makes each master once; masters hear
// accepted commands in creation order (the module's master tests follow the
// other events), a refused command tells nothing; unloading or reloading the
// module ends them.
TEST_F(MasterServiceTest, MastersAreMadeOnceHearTheSceneAndGoWithTheirModule) {
  std::vector<std::string> refusals;
  for (const char *line :
       {"ActivateMasterUnique Nobody", "ActivateMasterUnique Probe", "ActivateMasterUnique Failing Master",
        "ActivateMasterUnique", "ActivateMasterUnique Failing Master"}) {
    for (const std::string &report : reportsOf(line, 0)) refusals.push_back(report);
    EXPECT_THAT(host_.transcript().formatted(), Contains(std::string("refused: ") + line));
  }
  EXPECT_THAT(refusals, ElementsAre("failing -3", "failing -3"));
  EXPECT_THAT(host_.masters().instances(), IsEmpty());
  EXPECT_THAT(reportsOf("ActivateMasterUnique Probe Master"), Contains("events -1"));
  const lwsim::MasterInstance *instance = host_.masters().find("Probe Master");
  EXPECT_THAT(reportsOf("ActivateMasterUnique Probe Master"), Not(Contains("events -1"))) << "accepted, not made again";
  EXPECT_EQ(host_.masters().find("Probe Master"), instance);

  for (const char *refused : {"Position 1 2", "Bogus", "SelectItem 0x10000009"})
    EXPECT_THAT(reportsOf(refused, 0), IsEmpty()) << refused;
  ASSERT_EQ(host_.commands().run("ActivateMasterUnique Second Probe"), 1);
  EXPECT_THAT(reportsOf("StatusMsg both"), ElementsAre("events 1 StatusMsg both", "second 1 StatusMsg both"))
      << "in creation order";
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
  ring.attach("clip", client("relay"), [&ring](int code, void *) { ring.message("inner", code + 1, nullptr); });
  listen("clip", "victim");
  listen("clip", "last");
  listen("inner", "inner");
  ring.message("clip", 5, &payload_);
  EXPECT_THAT(take(),
              ElementsAre("first 5 payload", "once 5 payload", "remover 5 payload", "inner 6", "last 5 payload"));
  EXPECT_EQ(ring.listenerCount("clip"), 4u);

  ring.detach("clip", client("first"));
  ring.detach("clip", client("never attached"));
  ring.detach("absent", client("last"));
  for (const char *topic : {"clip", "other", "Clip", "clip ", "nobody"}) ring.message(topic, 1, nullptr);
  EXPECT_THAT(take(), ElementsAre("remover 1", "inner 2", "last 1", "first 1"));
}

// A C listener appends its tag to the reply text.
struct Responder {
  const char *tag;
  int calls;
};
void respond(void *clientData, void *, int eventCode, void *eventData) {
  auto *responder = static_cast<Responder *>(clientData);
  ++responder->calls;
  if (eventData != nullptr)
    std::strcat(static_cast<char *>(eventData), (responder->tag + std::to_string(eventCode)).c_str());
}

// C listeners, attached through the global's record, get their client data
// and fill the reply; they are the module's code and go with it, while the
// host's own listeners stay.
TEST_F(RingTest, CListenersGetTheirClientDataAndGoWithTheModule) {
  auto *record = static_cast<LWComRing *>(host_.globals().lookup(LWCOMRING_GLOBAL));
  ASSERT_EQ(record, lwsim::CommRing::record());
  Responder first{"A", 0}, second{"B", 0}, elsewhere{"X", 0};
  EXPECT_EQ(record->ringAttach("query", &first, respond), 1);
  host_.ring().attach("query", nullptr, [](int, void *data) { std::strcat(static_cast<char *>(data), "+"); });
  EXPECT_EQ(record->ringAttach("query", &second, respond), 1);
  EXPECT_EQ(record->ringAttach("elsewhere", &elsewhere, respond), 1);
  EXPECT_EQ(record->ringAttach("query", &elsewhere, nullptr), 0) << "no callback";
  EXPECT_EQ(record->ringAttach(nullptr, &elsewhere, respond), 0) << "no topic";
  char reply[64] = "";
  record->ringMessage("query", 42, reply);
  record->ringDetach("query", &first);
  host_.ring().message("query", 43, reply);
  host_.ring().attach("query", client("host"), [this](int code, void *) { heard("host", code, nullptr); });
  host_.unloadModule();
  EXPECT_EQ(host_.ring().listenerCount("query"), 2u);
  host_.ring().message("query", 7, reply);
  EXPECT_STREQ(reply, "A42+B42+B43+");
  EXPECT_EQ(std::vector<int>({first.calls, second.calls, elsewhere.calls}), std::vector<int>({1, 2, 0}));
  EXPECT_THAT(take(), ElementsAre("host 7"));
}

}  // namespace
