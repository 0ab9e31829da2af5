// The host's command interface as the module calls it: results, the command
// log, refusals in the transcript, and the commands the host itself defines.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "sim/host.h"
#include "support/module_host.h"

namespace {

using ::testing::ElementsAre;

int command(const std::string &line) { return lwsim::CommandInterpreter::function()(line.c_str()); }

MATCHER_P2(Logged, line, accepted, "") { return arg.line == line && arg.accepted == accepted; }

class CommandInterpreterTest : public ::testing::Test {
 protected:
  std::vector<std::string> transcript() const { return host_.transcript().formatted(); }
  lwsim::CommandInterpreter &commands() { return host_.commands(); }

  lwsim::Host host_;
};

TEST_F(CommandInterpreterTest, ResultsAndLogFollowTheHandlers) {
  commands().define("Check", [](const std::string &argument) { return argument == "good"; });
  EXPECT_EQ(command("Check good"), 1);
  EXPECT_EQ(command("Check bad"), 0);
  EXPECT_EQ(command("NoSuchCommand 1 2"), 0);
  EXPECT_EQ(command(""), 0);
  EXPECT_THAT(commands().log(), ElementsAre(Logged("Check good", true), Logged("Check bad", false),
                                            Logged("NoSuchCommand 1 2", false), Logged("", false)));
  EXPECT_THAT(transcript(), ElementsAre("refused: Check bad", "refused: NoSuchCommand 1 2", "refused: "));
}

TEST_F(CommandInterpreterTest, CommandTheHostCannotCarryOutIsRefused) {
  commands().define("Fails", [](const std::string &) -> bool { throw std::runtime_error("no such item"); });
  EXPECT_EQ(command("Fails now"), 0);
  EXPECT_THAT(commands().log(), ElementsAre(Logged("Fails now", false)));
  EXPECT_THAT(transcript(), ElementsAre("refused: Fails now"));
}

TEST_F(CommandInterpreterTest, NestedCommandsAreLoggedAfterTheirCommandAndObservedWhenAccepted) {
  std::vector<std::string> observed;
  commands().observe([&](const std::string &line) { observed.push_back(line); });
  commands().define("Outer", [](const std::string &) {
    command("StatusMsg inner");
    command("Unknown inner");
    return true;
  });
  EXPECT_EQ(command("Outer"), 1);
  EXPECT_EQ(command("Unknown outer"), 0);
  EXPECT_THAT(commands().log(), ElementsAre(Logged("Outer", true), Logged("StatusMsg inner", true),
                                            Logged("Unknown inner", false), Logged("Unknown outer", false)));
  EXPECT_THAT(observed, ElementsAre("StatusMsg inner", "Outer")) << "told after each command ran";
  EXPECT_THAT(transcript(), ElementsAre("status: inner", "refused: Unknown inner", "refused: Unknown outer"));
}

TEST_F(CommandInterpreterTest, RefusedWordsStayRefusedUntilAllowed) {
  commands().refuse("StatusMsg");
  EXPECT_EQ(command("StatusMsg hidden"), 0);
  commands().allow("StatusMsg");
  EXPECT_EQ(command("StatusMsg shown"), 1);
  EXPECT_THAT(transcript(), ElementsAre("refused: StatusMsg hidden", "status: shown"));
}

TEST_F(CommandInterpreterTest, StatusMsgShowsTheTextAfterTheFirstBlankUnchanged) {
  EXPECT_EQ(command("StatusMsg  two  blanks "), 1);
  EXPECT_EQ(command("StatusMsg"), 1);
  EXPECT_EQ(command("StatusMsg \"quoted\" 100%"), 1);
  ASSERT_EQ(host_.transcript().lines().size(), 3u);
  EXPECT_EQ(host_.transcript().lines()[0].first, " two  blanks ");
  EXPECT_EQ(host_.transcript().lines()[1].first, "");
  EXPECT_EQ(host_.transcript().lines()[2].first, "\"quoted\" 100%");
  for (const auto &line : host_.transcript().lines()) EXPECT_EQ(line.kind, lwsim::TranscriptLine::Kind::Status);
}

TEST_F(CommandInterpreterTest, ModuleCommandsNeedALoadedModule) {
  EXPECT_EQ(command("Generic_Probe"), 0);
  EXPECT_EQ(command("ActivateMasterUnique .QD:ZaraRazEzedud"), 0);
}

TEST_F(CommandInterpreterTest, GenericRunsTheModulesServerWithItsArguments) {
  host_.loadModule(LWSIM_FIXTURE_PROBE);
  EXPECT_EQ(command("Generic_Probe first second"), 1);
  EXPECT_EQ(command("Generic_Probe"), 1);
  EXPECT_EQ(command("Generic_Absent x"), 0);
  EXPECT_EQ(command("Generic_"), 0);
  EXPECT_THAT(transcript(),
              ElementsAre("status: probe locale=0x409 args=first second",
                          "status: probe locale=0x409 args=", "refused: Generic_Absent x", "refused: Generic_"));
}

TEST(CommandInterpreterWithModule, GenericCommandsTheServerIssuesAreLoggedInsideIt) {
  lwtest::ModuleHost fixture;
  EXPECT_EQ(command("Generic_QD:VaruDudEdodav"), 1);
  EXPECT_THAT(fixture.host().commands().log(), ElementsAre(Logged("Generic_QD:VaruDudEdodav", true),
                                                           Logged("ActivateMasterUnique .QD:ZaraRazEzedud", true),
                                                           Logged("AddEnvelope Dissolve", true)));
  EXPECT_EQ(command("Generic_.QD:ZaraRazEzedud"), 0) << "a master is no generic server";
}

TEST(CommandInterpreterWithModule, ActivateMasterUniqueAcceptsOnlyTheModulesMaster) {
  lwtest::ModuleHost fixture;
  EXPECT_EQ(command("ActivateMasterUnique .QD:ZaraRazEzedud"), 1);
  EXPECT_EQ(command("ActivateMasterUnique QD:VaruDudEdodav"), 0);
  EXPECT_EQ(command("ActivateMasterUnique"), 0);
  EXPECT_THAT(fixture.transcript(),
              ElementsAre("refused: ActivateMasterUnique QD:VaruDudEdodav", "refused: ActivateMasterUnique"));
}

TEST(CommandInterpreterWithoutHost, CommandsAreRefused) { EXPECT_EQ(command("StatusMsg nobody"), 0); }

}  // namespace
