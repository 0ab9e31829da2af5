// The communication ring: delivery by topic in attach order, detaching (also
// during a delivery), and C listeners attached through the global's record.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "plugin/host/lwcomring.h"
#include "plugin/host/lwglobals.h"
#include "sim/host.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

struct Call {
  std::string listener;
  int code;
  void *data;
  bool operator==(const Call &) const = default;
  friend void PrintTo(const Call &call, std::ostream *out) {
    *out << call.listener << " " << call.code << " " << call.data;
  }
};

class CommRingTest : public ::testing::Test {
 protected:
  // Attaches a C++ listener that records its calls under its name; its
  // client data is its name's address in names_.
  void listen(const std::string &topic, const char *name) {
    ring().attach(topic, clientData(name), [this, name](int code, void *data) {
      calls_.push_back({name, code, data});
    });
  }
  void *clientData(const char *name) { return const_cast<char *>(name); }
  lwsim::CommRing &ring() { return host_.ring(); }

  lwsim::Host host_;
  std::vector<Call> calls_;
};

TEST_F(CommRingTest, MessageReachesEveryListenerOfItsTopicInAttachOrder) {
  listen("clip", "first");
  listen("other", "elsewhere");
  listen("clip", "second");
  listen("clip", "third");
  EXPECT_EQ(ring().listenerCount("clip"), 3u);
  EXPECT_EQ(ring().listenerCount("other"), 1u);
  EXPECT_EQ(ring().listenerCount("nobody"), 0u);

  int payload = 0;
  ring().message("clip", 5, &payload);
  EXPECT_THAT(calls_, ElementsAre(Call{"first", 5, &payload}, Call{"second", 5, &payload}, Call{"third", 5, &payload}));
  calls_.clear();
  ring().message("other", -6, nullptr);
  EXPECT_THAT(calls_, ElementsAre(Call{"elsewhere", -6, nullptr}));
  calls_.clear();
  ring().message("nobody", 1, nullptr);
  ring().message("Clip", 1, nullptr);
  ring().message("clip ", 1, nullptr);
  EXPECT_THAT(calls_, IsEmpty()) << "topics match exactly";
}

TEST_F(CommRingTest, DetachRemovesOnlyThatClientOfThatTopic) {
  const char *shared = "shared";
  listen("clip", shared);
  listen("clip", "kept");
  listen("other", shared);
  ring().detach("clip", clientData(shared));
  ring().detach("clip", clientData("never attached"));
  ring().detach("absent", clientData(shared));
  EXPECT_EQ(ring().listenerCount("clip"), 1u);
  ring().message("clip", 1, nullptr);
  ring().message("other", 2, nullptr);
  EXPECT_THAT(calls_, ElementsAre(Call{"kept", 1, nullptr}, Call{"shared", 2, nullptr}));
}

TEST_F(CommRingTest, AListenerMayDetachItselfDuringDelivery) {
  listen("clip", "before");
  const char *once = "once";
  ring().attach("clip", clientData(once), [this, once](int code, void *data) {
    calls_.push_back({once, code, data});
    ring().detach("clip", clientData(once));
  });
  listen("clip", "after");
  ring().message("clip", 1, nullptr);
  ring().message("clip", 2, nullptr);
  EXPECT_THAT(calls_, ElementsAre(Call{"before", 1, nullptr}, Call{"once", 1, nullptr}, Call{"after", 1, nullptr},
                                  Call{"before", 2, nullptr}, Call{"after", 2, nullptr}));
  EXPECT_EQ(ring().listenerCount("clip"), 2u);
}

TEST_F(CommRingTest, AListenerDetachedByAnEarlierOneIsNotCalledAnyMore) {
  const char *victim = "victim";
  ring().attach("clip", clientData("remover"), [this, victim](int code, void *data) {
    calls_.push_back({"remover", code, data});
    ring().detach("clip", clientData(victim));
  });
  listen("clip", "middle");
  listen("clip", victim);
  ring().message("clip", 1, nullptr);
  ring().message("clip", 2, nullptr);
  EXPECT_THAT(calls_, ElementsAre(Call{"remover", 1, nullptr}, Call{"middle", 1, nullptr}, Call{"remover", 2, nullptr},
                                  Call{"middle", 2, nullptr}));
}

TEST_F(CommRingTest, AMessageSentDuringDeliveryIsDeliveredBeforeItReturns) {
  listen("outer", "outer first");
  ring().attach("outer", clientData("relay"), [this](int code, void *data) {
    calls_.push_back({"relay", code, data});
    ring().message("inner", code + 1, data);
  });
  listen("outer", "outer last");
  listen("inner", "inner");
  ring().message("outer", 10, nullptr);
  EXPECT_THAT(calls_, ElementsAre(Call{"outer first", 10, nullptr}, Call{"relay", 10, nullptr},
                                  Call{"inner", 11, nullptr}, Call{"outer last", 10, nullptr}));
}

// ---- C listeners ----

// What a C listener answers into: each listener appends its tag.
struct Reply {
  int calls;
  char text[64];
};

struct Responder {
  const char *tag;
  int calls;
  int lastCode;
};

void respond(void *clientData, void *, int eventCode, void *eventData) {
  auto *responder = static_cast<Responder *>(clientData);
  ++responder->calls;
  responder->lastCode = eventCode;
  auto *reply = static_cast<Reply *>(eventData);
  if (reply == nullptr) return;
  ++reply->calls;
  std::strncat(reply->text, responder->tag, sizeof reply->text - std::strlen(reply->text) - 1);
}

TEST_F(CommRingTest, CListenersGetTheirClientDataAndFillTheReplyRecord) {
  auto *record = static_cast<LWComRing *>(host_.globals().lookup(LWCOMRING_GLOBAL));
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record, lwsim::CommRing::record());

  Responder first{"A", 0, 0};
  Responder second{"B", 0, 0};
  Responder elsewhere{"X", 0, 0};
  EXPECT_EQ(record->ringAttach("query", &first, respond), 1);
  ring().attach("query", nullptr, [](int, void *data) {
    char *text = static_cast<Reply *>(data)->text;  // a C++ listener in between
    text[std::strlen(text)] = '+';
  });
  EXPECT_EQ(record->ringAttach("query", &second, respond), 1);
  EXPECT_EQ(record->ringAttach("elsewhere", &elsewhere, respond), 1);
  EXPECT_EQ(record->ringAttach("query", &elsewhere, nullptr), 0) << "no callback";
  EXPECT_EQ(record->ringAttach(nullptr, &elsewhere, respond), 0) << "no topic";
  EXPECT_EQ(ring().listenerCount("query"), 3u);

  Reply reply{};
  record->ringMessage("query", 42, &reply);
  EXPECT_EQ(reply.calls, 2);
  EXPECT_STREQ(reply.text, "A+B");
  EXPECT_EQ(first.lastCode, 42);
  EXPECT_EQ(second.lastCode, 42);
  EXPECT_EQ(elsewhere.calls, 0);

  record->ringDetach("query", &first);
  Reply again{};
  ring().message("query", 43, &again);
  EXPECT_STREQ(again.text, "+B");
  EXPECT_EQ(first.calls, 1);
  EXPECT_EQ(second.calls, 2);
  EXPECT_EQ(second.lastCode, 43);
}

// The C listeners are the module's code and go with it; the host's own stay.
TEST_F(CommRingTest, UnloadingTheModuleDropsTheCListenersOnly) {
  Responder module{"M", 0, 0};
  lwsim::CommRing::record()->ringAttach("query", &module, respond);
  listen("query", "host");
  host_.unloadModule();
  EXPECT_EQ(ring().listenerCount("query"), 1u);
  Reply reply{};
  ring().message("query", 7, &reply);
  EXPECT_EQ(module.calls, 0);
  EXPECT_THAT(calls_, ElementsAre(Call{"host", 7, &reply}));
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
