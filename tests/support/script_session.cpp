#include "script_session.h"

#include <gtest/gtest.h>

#if defined(_WIN32)
#include <process.h>
#else
#include <unistd.h>
#endif

#include <fstream>
#include <iterator>
#include <sstream>

#include "sim/script/script_runner.h"

namespace lwtest {

namespace fs = std::filesystem;

namespace {

int processId() {
#if defined(_WIN32)
  return _getpid();
#else
  return static_cast<int>(::getpid());
#endif
}

}  // namespace

std::vector<std::string> runScript(lwsim::Host &host, const std::string &script) {
  std::ostringstream out;
  std::istringstream in(script);
  try {
    lwsim::ScriptRunner runner(host, out);
    runner.run(in, "test script");
  } catch (const std::exception &error) {
    ADD_FAILURE() << "script stopped: " << error.what();
  }
  std::vector<std::string> lines;
  std::istringstream printed(out.str());
  for (std::string line; std::getline(printed, line);) lines.push_back(line);
  return lines;
}

ScratchDirectory::ScratchDirectory() {
  const testing::TestInfo *test = testing::UnitTest::GetInstance()->current_test_info();
  std::string name = test != nullptr ? std::string(test->test_suite_name()) + "." + test->name() : "scratch";
  for (char &c : name) {
    if (c == '/') c = '_';
  }
  path_ = fs::temp_directory_path() / ("lwp_" + std::to_string(processId()) + "_" + name);
  fs::remove_all(path_);
  fs::create_directories(path_);
}

ScratchDirectory::~ScratchDirectory() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

std::string readBytes(const fs::path &file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace lwtest
