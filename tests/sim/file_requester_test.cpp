// "File Request 3" as a module calls it: queued answers, cancelling, what a
// file and a directory dialog fill in, buffers too small, versions, and the
// record of every request.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "plugin/host/lwfilereq.h"
#include "plugin/host/lwglobals.h"
#include "plugin/host/lwmodule.h"
#include "sim/host.h"

namespace {

constexpr char kUntouched = '#';

// A request with buffers of its own; each buffer is longer than the length
// the request gives, so that writes beyond it show.
struct Dialog {
  Dialog(int type, int length, const char *title = "Title", const char *fileType = "Scenes") {
    path.fill(kUntouched);
    baseName.fill(kUntouched);
    fullName.fill(kUntouched);
    local.reqType = type;
    local.result = -7;
    local.title = title;
    local.fileType = fileType;
    local.path = path.data();
    local.baseName = baseName.data();
    local.fullName = fullName.data();
    local.bufLen = length;
    start("", "", "");
  }
  void start(const std::string &directory, const std::string &base, const std::string &full) {
    put(path, directory);
    put(baseName, base);
    put(fullName, full);
  }
  static void put(std::array<char, 64> &buffer, const std::string &text) {
    text.copy(buffer.data(), text.size());
    buffer[text.size()] = '\0';
  }
  // The bytes past the request's length are as they were.
  bool untouchedPast(const std::array<char, 64> &buffer) const {
    for (std::size_t i = static_cast<std::size_t>(local.bufLen); i < buffer.size(); ++i)
      if (buffer[i] != kUntouched) return false;
    return true;
  }

  std::array<char, 64> path{};
  std::array<char, 64> baseName{};
  std::array<char, 64> fullName{};
  LWFileReqLocal local{};
};

class FileRequesterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    requester_ = reinterpret_cast<LWFileActivateFunc *>(host_.globals().lookup(LWFILEACTIVATEFUNC_GLOBAL));
    ASSERT_NE(requester_, nullptr);
  }
  int open(Dialog &dialog, int version = LWFILEREQ_VERSION) { return requester_(version, &dialog.local); }
  lwsim::FileRequester &files() { return host_.fileRequester(); }

  lwsim::Host host_;
  LWFileActivateFunc *requester_ = nullptr;
};

TEST_F(FileRequesterTest, AFileDialogGetsTheFullNameItsDirectoryAndItsBaseName) {
  struct Case {
    int type;
    const char *answer;
    const char *directory;
    const char *base;
  };
  const Case cases[] = {
      {FREQ_LOAD, "/scenes/clips/walk cycle.xml", "/scenes/clips", "walk cycle.xml"},
      {FREQ_SAVE, "C:\\Clips\\run.xml", "C:\\Clips", "run.xml"},
      {FREQ_LOAD, "loose.xml", "", "loose.xml"},
  };
  for (const Case &c : cases) {
    files().queueAnswer(c.answer);
    Dialog dialog(c.type, 48);
    dialog.start("/old", "old.xml", "/old/old.xml");
    ASSERT_EQ(open(dialog), AFUNC_OK) << c.answer;
    EXPECT_EQ(dialog.local.result, 1) << c.answer;
    EXPECT_STREQ(dialog.fullName.data(), c.answer);
    EXPECT_STREQ(dialog.path.data(), c.directory) << c.answer;
    EXPECT_STREQ(dialog.baseName.data(), c.base) << c.answer;
  }
}

TEST_F(FileRequesterTest, ADirectoryDialogGetsThePath) {
  files().queueAnswer("/scenes/clips");
  Dialog dialog(FREQ_DIRECTORY, 48);
  dialog.local.baseName = nullptr;
  dialog.local.fullName = nullptr;
  ASSERT_EQ(open(dialog), AFUNC_OK);
  EXPECT_EQ(dialog.local.result, 1);
  EXPECT_STREQ(dialog.path.data(), "/scenes/clips");
}

TEST_F(FileRequesterTest, AnswersComeInQueueOrderAndAnEmptyQueueCancels) {
  files().queueAnswer("/a/first.xml");
  files().queueCancel();
  files().queueAnswer("/b/second.xml");
  EXPECT_EQ(files().pendingAnswers(), 3u);

  const char *const expected[] = {"/a/first.xml", nullptr, "/b/second.xml", nullptr};
  for (const char *answer : expected) {
    Dialog dialog(FREQ_LOAD, 48);
    dialog.start("/start", "begin.xml", "/start/begin.xml");
    ASSERT_EQ(open(dialog), AFUNC_OK);
    if (answer != nullptr) {
      EXPECT_EQ(dialog.local.result, 1) << answer;
      EXPECT_STREQ(dialog.fullName.data(), answer);
    } else {
      EXPECT_EQ(dialog.local.result, 0) << "cancelled";
      EXPECT_STREQ(dialog.path.data(), "/start") << "a cancelled dialog leaves the buffers";
      EXPECT_STREQ(dialog.baseName.data(), "begin.xml");
      EXPECT_STREQ(dialog.fullName.data(), "/start/begin.xml");
    }
  }
  EXPECT_EQ(files().pendingAnswers(), 0u);
  ASSERT_EQ(files().requests().size(), 4u);
  EXPECT_TRUE(files().requests()[0].answered);
  EXPECT_FALSE(files().requests()[1].answered);
  EXPECT_TRUE(files().requests()[2].answered);
  EXPECT_FALSE(files().requests()[3].answered);
}

TEST_F(FileRequesterTest, AnswersLongerThanTheBufferAreCutAndTerminated) {
  files().queueAnswer("/scenes/clips/walk.xml");
  Dialog file(FREQ_LOAD, 8);
  ASSERT_EQ(open(file), AFUNC_OK);
  EXPECT_EQ(file.local.result, 1);
  EXPECT_STREQ(file.fullName.data(), "/scenes");  // 7 characters and the terminator
  EXPECT_STREQ(file.path.data(), "/scenes");
  EXPECT_STREQ(file.baseName.data(), "walk.xm");
  EXPECT_TRUE(file.untouchedPast(file.fullName));
  EXPECT_TRUE(file.untouchedPast(file.path));
  EXPECT_TRUE(file.untouchedPast(file.baseName));

  files().queueAnswer("/scenes/clips");
  Dialog directory(FREQ_DIRECTORY, 5);
  ASSERT_EQ(open(directory), AFUNC_OK);
  EXPECT_STREQ(directory.path.data(), "/sce");
  EXPECT_TRUE(directory.untouchedPast(directory.path));

  files().queueAnswer("exactly8");  // 8 characters and the terminator fill 9 bytes
  Dialog exact(FREQ_SAVE, 9);
  ASSERT_EQ(open(exact), AFUNC_OK);
  EXPECT_STREQ(exact.fullName.data(), "exactly8");
  EXPECT_TRUE(exact.untouchedPast(exact.fullName));
}

TEST_F(FileRequesterTest, AnotherVersionIsRefusedAndConsumesNothing) {
  files().queueAnswer("/scenes/clips/walk.xml");
  for (int version : {LWFILEREQ_VERSION - 1, LWFILEREQ_VERSION + 1, 0}) {
    Dialog dialog(FREQ_LOAD, 48);
    EXPECT_EQ(open(dialog, version), AFUNC_BADVERSION) << version;
    EXPECT_EQ(dialog.local.result, -7) << version;
    EXPECT_STREQ(dialog.fullName.data(), "");
  }
  EXPECT_TRUE(files().requests().empty());
  EXPECT_EQ(files().pendingAnswers(), 1u);
  Dialog dialog(FREQ_LOAD, 48);
  ASSERT_EQ(open(dialog), AFUNC_OK);
  EXPECT_STREQ(dialog.fullName.data(), "/scenes/clips/walk.xml");
}

TEST_F(FileRequesterTest, EveryRequestIsRecordedAsTheModuleMadeIt) {
  files().queueAnswer("/new/clip.xml");
  Dialog load(FREQ_LOAD, 40, "Load Clip", "Clips");
  load.start("/start", "begin.xml", "/start/begin.xml");
  ASSERT_EQ(open(load), AFUNC_OK);
  Dialog folder(FREQ_DIRECTORY, 32, nullptr, nullptr);
  folder.start("/folder", "", "");
  ASSERT_EQ(open(folder), AFUNC_OK);

  ASSERT_EQ(files().requests().size(), 2u);
  const lwsim::FileRequest &first = files().requests()[0];
  EXPECT_EQ(first.type, FREQ_LOAD);
  EXPECT_EQ(first.title, "Load Clip");
  EXPECT_EQ(first.fileType, "Clips");
  EXPECT_EQ(first.path, "/start") << "the buffers as they were when the dialog opened";
  EXPECT_EQ(first.baseName, "begin.xml");
  EXPECT_EQ(first.fullName, "/start/begin.xml");
  EXPECT_EQ(first.bufferLength, 40);
  EXPECT_TRUE(first.answered);
  const lwsim::FileRequest &second = files().requests()[1];
  EXPECT_EQ(second.type, FREQ_DIRECTORY);
  EXPECT_EQ(second.title, "");
  EXPECT_EQ(second.fileType, "");
  EXPECT_EQ(second.path, "/folder");
  EXPECT_EQ(second.bufferLength, 32);
  EXPECT_FALSE(second.answered);
}

TEST(FileRequesterWithoutHost, TheRequesterFails) {
  Dialog dialog(FREQ_LOAD, 48);
  EXPECT_NE(lwsim::FileRequester::function()(LWFILEREQ_VERSION, &dialog.local), AFUNC_OK);
  EXPECT_EQ(dialog.local.result, -7);
}

TEST_F(FileRequesterTest, ANullRequestFails) {
  EXPECT_NE(requester_(LWFILEREQ_VERSION, nullptr), AFUNC_OK);
  EXPECT_TRUE(files().requests().empty());
}

}  // namespace
