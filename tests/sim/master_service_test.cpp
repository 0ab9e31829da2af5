// Master instances of a loaded module: their creation by ActivateMasterUnique,
// the events the host hands them, and their end when the module goes. The
// fixture's masters report on the communication ring what they are told.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "sim/host.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

// The fixture's topics and its report codes besides the host's event codes.
const char *const kProbeTopic = "probe.events";
const char *const kSecondTopic = "probe.second";
const char *const kFailingTopic = "probe.failing";
constexpr int kCreated = -1;
constexpr int kDestroyed = -2;
constexpr int kCreateFailed = -3;
// The host's event codes, as masters know them.
constexpr int kCommandEvent = 1;
constexpr int kTimeEvent = 2;
constexpr int kSelectEvent = 3;
constexpr int kSceneLoadedEvent = 0x116;

struct Report {
  std::string topic;
  int code;
  std::optional<std::string> line;  // a command event's line

  bool operator==(const Report &) const = default;
  friend void PrintTo(const Report &report, std::ostream *out) {
    *out << report.topic << " " << report.code;
    if (report.line) *out << " \"" << *report.line << "\"";
  }
};

Report event(int code, const char *topic = kProbeTopic) { return {topic, code, std::nullopt}; }
Report command(const std::string &line, const char *topic = kProbeTopic) { return {topic, kCommandEvent, line}; }

class MasterServiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    listen();
    load();
  }

  void load() { host_.loadModule(LWSIM_FIXTURE_MASTER_PROBE); }

  // The fixture's masters report on these topics; the host's own listeners
  // stay across module loads.
  void listen() {
    for (const char *topic : {kProbeTopic, kSecondTopic, kFailingTopic})
      host_.ring().attach(topic, this, [this, topic](int code, void *data) {
        reports_.push_back(
            {topic, code,
             data != nullptr ? std::optional<std::string>(static_cast<const char *>(data)) : std::nullopt});
      });
  }

  int run(const std::string &line) { return host_.commands().run(line); }
  // Runs a line and answers the reports it caused.
  std::vector<Report> reportsOf(const std::string &line, int expectedResult = 1) {
    reports_.clear();
    EXPECT_EQ(run(line), expectedResult) << line;
    return reports_;
  }
  std::vector<std::string> instanceNames() {
    std::vector<std::string> names;
    for (const auto &master : host_.masters().instances()) names.push_back(master->name);
    return names;
  }

  // Declared first so that it outlives the host, whose masters report their
  // destruction while it goes.
  std::vector<Report> reports_;
  lwsim::Host host_;
};

TEST_F(MasterServiceTest, ActivateMasterUniqueCreatesTheInstanceOnce) {
  EXPECT_THAT(reportsOf("ActivateMasterUnique Probe Master"), testing::Contains(event(kCreated)));
  EXPECT_THAT(instanceNames(), ElementsAre("Probe Master"));
  const lwsim::MasterInstance *instance = host_.masters().find("Probe Master");
  ASSERT_NE(instance, nullptr);

  const std::vector<Report> again = reportsOf("ActivateMasterUnique Probe Master");
  EXPECT_THAT(again, testing::Not(testing::Contains(event(kCreated)))) << "accepted while it runs, not made again";
  EXPECT_THAT(instanceNames(), ElementsAre("Probe Master"));
  EXPECT_EQ(host_.masters().find("Probe Master"), instance);
  EXPECT_THAT(host_.transcript().formatted(), IsEmpty());
}

TEST_F(MasterServiceTest, UnknownNamesOtherServersAndFailingCreatesAreRefused) {
  const char *const refused[] = {
      "ActivateMasterUnique Nobody",         "ActivateMasterUnique Probe", "ActivateMasterUnique Not A Master",
      "ActivateMasterUnique Failing Master", "ActivateMasterUnique",
  };
  for (const char *line : refused) EXPECT_EQ(run(line), 0) << line;
  EXPECT_THAT(reports_, ElementsAre(event(kCreateFailed, kFailingTopic)));
  reports_.clear();
  EXPECT_EQ(run("ActivateMasterUnique Failing Master"), 0);
  EXPECT_THAT(reports_, ElementsAre(event(kCreateFailed, kFailingTopic))) << "a failed master is tried anew";
  EXPECT_THAT(host_.masters().instances(), IsEmpty());
  EXPECT_THAT(host_.transcript().formatted(),
              ElementsAre("refused: ActivateMasterUnique Nobody", "refused: ActivateMasterUnique Probe",
                          "refused: ActivateMasterUnique Not A Master", "refused: ActivateMasterUnique Failing Master",
                          "refused: ActivateMasterUnique", "refused: ActivateMasterUnique Failing Master"));
}

TEST_F(MasterServiceTest, InstancesShowTheirDescriptionLineAndFlags) {
  ASSERT_EQ(run("ActivateMasterUnique Second Probe"), 1);
  ASSERT_EQ(run("ActivateMasterUnique Probe Master"), 1);
  ASSERT_THAT(instanceNames(), ElementsAre("Second Probe", "Probe Master"));
  const auto &instances = host_.masters().instances();
  EXPECT_EQ(instances[0]->description(), "Second Probe: listening");
  EXPECT_EQ(instances[0]->flags(), 0x2u);
  EXPECT_EQ(instances[1]->description(), "Probe Master: listening");
  EXPECT_EQ(instances[1]->flags(), 0x5u);
}

TEST_F(MasterServiceTest, AcceptedCommandsReachTheMasterWithTheirLine) {
  ASSERT_EQ(run("ActivateMasterUnique Probe Master"), 1);
  EXPECT_THAT(reportsOf("StatusMsg hello there"), ElementsAre(command("StatusMsg hello there")));
  EXPECT_THAT(reportsOf("RefreshNow"), ElementsAre(command("RefreshNow")));
  EXPECT_THAT(reportsOf("Position 1 2 3"), ElementsAre(command("Position 1 2 3")));
  EXPECT_THAT(reportsOf("FirstFrame 5"), ElementsAre(command("FirstFrame 5")));
  EXPECT_THAT(reportsOf("Position 1 2", 0), IsEmpty());
  EXPECT_THAT(reportsOf("Bogus", 0), IsEmpty());
  EXPECT_THAT(reportsOf("SelectItem 0x10000009", 0), IsEmpty()) << "a refused selection tells nothing";

  reports_.clear();
  EXPECT_EQ(lwsim::CommandInterpreter::function()("StatusMsg from C"), 1);
  EXPECT_THAT(reports_, ElementsAre(command("StatusMsg from C")));
}

TEST_F(MasterServiceTest, TimeAndSelectionEventsHaveTheirCodes) {
  ASSERT_EQ(run("ActivateMasterUnique Probe Master"), 1);
  EXPECT_THAT(reportsOf("AddNull Left Arm"), UnorderedElementsAre(event(kSelectEvent), command("AddNull Left Arm")));
  EXPECT_THAT(reportsOf("GoToFrame 10"), UnorderedElementsAre(event(kTimeEvent), command("GoToFrame 10")));
  for (const char *line :
       {"SelectItem 0x10000000", "AddToSelection 0x10000000", "SelectByName Left Arm", "ClearSelection"})
    EXPECT_THAT(reportsOf(line), UnorderedElementsAre(event(kSelectEvent), command(line)));

  reports_.clear();
  host_.goToTime(2.0);
  EXPECT_THAT(reports_, ElementsAre(event(kTimeEvent)));
  reports_.clear();
  host_.selectionChanged();
  EXPECT_THAT(reports_, ElementsAre(event(kSelectEvent)));
}

// "Second Probe" asks for notifications in its flags, "Probe Master" does not.
TEST_F(MasterServiceTest, EveryInstanceHearsEachEventInCreationOrderAndNotificationsOnlyWhenItAsks) {
  ASSERT_EQ(run("ActivateMasterUnique Second Probe"), 1);
  ASSERT_EQ(run("ActivateMasterUnique Probe Master"), 1);
  EXPECT_THAT(reportsOf("StatusMsg both"),
              ElementsAre(command("StatusMsg both", kSecondTopic), command("StatusMsg both", kProbeTopic)));
  reports_.clear();
  host_.loadScene(LWP_SOURCE_DIR "/tests/data/scene_rig_v3.lws");
  EXPECT_THAT(reports_, ElementsAre(event(kSceneLoadedEvent, kSecondTopic)));
}

TEST_F(MasterServiceTest, UnloadingTheModuleDestroysItsInstances) {
  ASSERT_EQ(run("ActivateMasterUnique Probe Master"), 1);
  ASSERT_EQ(run("ActivateMasterUnique Second Probe"), 1);
  reports_.clear();
  host_.unloadModule();
  EXPECT_THAT(reports_, UnorderedElementsAre(event(kDestroyed, kProbeTopic), event(kDestroyed, kSecondTopic)));
  EXPECT_THAT(host_.masters().instances(), IsEmpty());
  EXPECT_EQ(run("ActivateMasterUnique Probe Master"), 0) << "no module";

  load();
  reports_.clear();
  EXPECT_EQ(run("ActivateMasterUnique Probe Master"), 1);
  EXPECT_THAT(reports_, testing::Contains(event(kCreated))) << "a new module makes a new instance";
  EXPECT_THAT(instanceNames(), ElementsAre("Probe Master"));
}

TEST_F(MasterServiceTest, LoadingAnotherModuleDestroysTheInstancesFirst) {
  ASSERT_EQ(run("ActivateMasterUnique Probe Master"), 1);
  reports_.clear();
  load();
  EXPECT_THAT(reports_, ElementsAre(event(kDestroyed)));
  EXPECT_THAT(host_.masters().instances(), IsEmpty());
}

}  // namespace
