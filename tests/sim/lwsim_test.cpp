// The lwsim program run as a child process with small scripts: its output,
// its error messages and its exit codes.
#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "support/module_host.h"

namespace {

namespace fs = std::filesystem;
using ::testing::AllOf;
using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

struct Outcome {
  int exitCode = -1;
  std::string out;
  std::string err;
};

std::string readFile(const fs::path &path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> lines(const std::string &text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

class LwsimTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::path(testing::TempDir()) /
           (std::string("lwsim_") + testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string script(const std::string &text) {
    const fs::path path = dir_ / ("script" + std::to_string(++scripts_) + ".lwsim");
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }

  // Runs lwsim with these arguments and, when given, this standard input.
  Outcome lwsim(const std::vector<std::string> &arguments, const std::optional<std::string> &input = std::nullopt) {
    const fs::path in = dir_ / "stdin", out = dir_ / "stdout", err = dir_ / "stderr";
    std::ofstream(in, std::ios::binary) << input.value_or("");
    std::vector<std::string> words{LWSIM_PATH};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char *> argv;
    for (std::string &word : words) argv.push_back(word.data());
    argv.push_back(nullptr);

    const pid_t child = fork();
    if (child == 0) {
      const int inFd = open(input ? in.c_str() : "/dev/null", O_RDONLY);
      const int outFd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      const int errFd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (inFd < 0 || outFd < 0 || errFd < 0 || dup2(inFd, 0) < 0 || dup2(outFd, 1) < 0 || dup2(errFd, 2) < 0)
        _exit(126);
      execv(argv[0], argv.data());
      _exit(127);
    }
    Outcome run;
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
      ADD_FAILURE() << "lwsim did not run to an exit";
      return run;
    }
    run.exitCode = WEXITSTATUS(status);
    run.out = readFile(out);
    run.err = readFile(err);
    return run;
  }

  fs::path dir_;
  int scripts_ = 0;
};

TEST_F(LwsimTest, DemoShowsEveryServerAndActivatesEach) {
  const Outcome run = lwsim({LWP_SOURCE_DIR "/examples/demo.lwsim"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_THAT(run.err, IsEmpty());
  const std::vector<std::string> out = lines(run.out);
  int serverLines = 0;
  for (const std::string &line : out) serverLines += line.rfind("server: ", 0) == 0 ? 1 : 0;
  EXPECT_EQ(serverLines, 6);
  for (const lwtest::ServerCase &server : lwtest::moduleServers()) {
    const std::string name = std::string(server.className) + ' ' + server.name;
    EXPECT_THAT(out, Contains("server: " + name));
    EXPECT_THAT(out, Contains("activated: " + name + " version " + std::to_string(server.version) + " result 0"));
  }
}

TEST_F(LwsimTest, BlankLinesAndCommentsAreSkipped) {
  const Outcome run = lwsim({script("\n   \n# StatusMsg hidden\n  \t# NoSuchCommand\nStatusMsg shown\r\n\n")});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "status: shown\n");
  EXPECT_THAT(run.err, IsEmpty());
}

TEST_F(LwsimTest, RefusedCommandIsShownAndTheRunGoesOn) {
  const Outcome run = lwsim({script("NoSuchCommand a  b\nStatusMsg after\n")});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "refused: NoSuchCommand a  b\nstatus: after\n");
}

TEST_F(LwsimTest, ScriptErrorStopsTheRunNamingTheLine) {
  struct Case {
    std::string body;
    std::string where;
    std::string message;
  };
  const Case cases[] = {
      {"@bogus 1\n", ":2: ", "unknown directive @bogus"},
      {"Generic_QD:ZaduDuzAVSave\n@press Nowhere\n", ":3: ", "no control Nowhere"},
      {"@press OK\n", ":2: ", "no panel is open"},
      {"@withhold \"LW Item Info 9\n", ":2: ", "unclosed quote"},
  };
  for (const Case &c : cases) {
    const std::string path = script("StatusMsg before\n" + c.body + "StatusMsg after\n");
    const Outcome run = lwsim({path});
    EXPECT_EQ(run.exitCode, 1) << c.body;
    EXPECT_EQ(run.out, "status: before\n") << c.body;
    EXPECT_THAT(run.err, AllOf(HasSubstr(path + c.where), HasSubstr(c.message))) << c.body;
  }
}

TEST_F(LwsimTest, LocaleReachesTheModule) {
  const std::string probe = script("Generic_Probe\n@locale ja\nGeneric_Probe\n@locale en\nGeneric_Probe\n");
  const Outcome run = lwsim({"--plugin", LWSIM_FIXTURE_PROBE, probe});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out,
            "status: probe locale=0x409 args=\nstatus: probe locale=0x411 args=\nstatus: probe locale=0x409 args=\n");

  const Outcome japanese = lwsim({"--locale", "ja", "--plugin", LWSIM_FIXTURE_PROBE, script("Generic_Probe now\n")});
  EXPECT_EQ(japanese.exitCode, 0);
  EXPECT_EQ(japanese.out, "status: probe locale=0x411 args=now\n");
}

TEST_F(LwsimTest, MissingPluginExitsWithTwo) {
  const std::string missing = (dir_ / "absent.p").string();
  const Outcome run = lwsim({"--plugin", missing, script("StatusMsg never\n")});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_THAT(run.out, IsEmpty());
  EXPECT_THAT(run.err, HasSubstr(missing));
}

TEST_F(LwsimTest, ScriptIsReadFromStandardInput) {
  const Outcome absent = lwsim({}, "StatusMsg piped\n");
  EXPECT_EQ(absent.exitCode, 0);
  EXPECT_EQ(absent.out, "status: piped\n");

  const Outcome dash = lwsim({"-"}, "StatusMsg piped\n@bogus\nStatusMsg after\n");
  EXPECT_EQ(dash.exitCode, 1);
  EXPECT_EQ(dash.out, "status: piped\n");
  EXPECT_THAT(dash.err, HasSubstr("<stdin>:2: unknown directive @bogus"));
}

}  // namespace
