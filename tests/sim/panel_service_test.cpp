// The panel services driven through their C record, as a module drives them,
// and by the host side as a user (or a script) does, where the module's own
// panel tests do not reach; "File Request 3" as a module calls it: refused
// requests, cancelling, and answers cut to buffers too small.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "plugin/host/lwfilereq.h"
#include "plugin/host/lwglobals.h"
#include "plugin/host/lwmodule.h"
#include "sim/host.h"
#include "support/script_session.h"

namespace {

using lwsim::Control;
using lwsim::Panel;
using ::testing::ElementsAre;

// The open and close callbacks count into this, handed to them as user data.
struct Seen {
  int opened = 0;
  int closed = 0;
};

class PanelServiceTest : public ::testing::Test {
 protected:
  LWPanelID create(const char *title) {
    LWPanelID panel = funcs_->create(title, nullptr);
    funcs_->set(panel, PAN_USERDATA, &seen_);
    funcs_->set(panel, PAN_USEROPEN,
                reinterpret_cast<void *>(+[](LWPanelID, void *seen) { ++static_cast<Seen *>(seen)->opened; }));
    funcs_->set(panel, PAN_USERCLOSE,
                reinterpret_cast<void *>(+[](LWPanelID, void *seen) { ++static_cast<Seen *>(seen)->closed; }));
    return panel;
  }
  LWControl *add(LWPanelID panel, const char *typeName, const char *label, int descType = LWT_INTEGER) {
    LWPanControlDesc desc{};
    desc.type = descType;
    return funcs_->addControl(panel, typeName, &desc, label);
  }
  static Panel &panelOf(LWPanelID panel) { return *reinterpret_cast<Panel *>(panel); }
  static std::string getText(LWControl *control, int bufLen) {
    std::vector<char> buffer(bufLen + 1, 'x');
    LWValue value{};
    value.str = {LWT_STRING, buffer.data(), bufLen};
    control->get(control, CTL_VALUE, &value);
    EXPECT_EQ(buffer[bufLen], 'x') << "wrote past bufLen " << bufLen;
    return std::string(buffer.data(), strnlen(buffer.data(), bufLen));
  }
  static void setText(LWControl *control, const char *text) {
    LWValue value{};
    value.str = {LWT_STRING, const_cast<char *>(text), 0};
    control->set(control, CTL_VALUE, &value);
  }
  std::vector<std::string> controls() { return lwtest::runScript(host_, "@controls\n"); }

  lwsim::Host host_;
  lwsim::PanelService &service_ = host_.panels();
  LWPanelFuncs *funcs_ = host_.panels().record();
  Seen seen_;
};

// A refused control type takes no index; values read in the type asked for
// and are cut to the caller's buffer (none at all for length 0); a label finds
// the drawn control before an erased one, a ghosted one is still seen; a
// refresh keeps the state; opening an open panel brings it to the front
// without a second open callback, and closing twice (by the module or the
// user) calls the close callback once.
TEST_F(PanelServiceTest, ControlsAndPanelsKeepTheirStateThroughEveryUse) {
  LWPanelID id = create("First"), second = create("Second");
  LWControl *number = add(id, "NumControl", "N");
  EXPECT_EQ(add(id, "NoSuchControl", "Lost"), nullptr);
  LWControl *edit = add(id, "EditControl", "位置 X", LWT_STRING);
  LWControl *hidden = add(id, "ButtonControl", "Scale");
  LWControl *shown = add(id, "ButtonControl", "Scale");
  EXPECT_EQ(funcs_->nextControl(id, number), edit);
  setText(edit, "Character");
  // Nine characters and the NUL fill 10 bytes; no room, not even for the NUL.
  const std::pair<int, const char *> cuts[] = {{10, "Character"}, {5, "Char"}, {1, ""}, {0, ""}};
  for (auto [length, text] : cuts) EXPECT_EQ(getText(edit, length), text) << length;

  ASSERT_NE(funcs_->open(id, PANF_NOBUTT), 0);
  std::vector<const Control *> found;
  for (auto [control, mode] :
       {std::pair{hidden, DR_ERASE}, {hidden, DR_GHOST}, {shown, DR_ERASE}, {hidden, DR_ERASE}}) {
    control->draw(control, mode);
    found.push_back(panelOf(id).findControl("Scale"));
  }
  EXPECT_THAT(found,
              ElementsAre(Control::from(shown), Control::from(hidden), Control::from(hidden), Control::from(hidden)))
      << "the drawn one before an erased one, a ghosted one still seen, the first when all are erased";
  hidden->draw(hidden, DR_GHOST);
  shown->draw(shown, DR_REFRESH);
  EXPECT_THAT(
      controls(),
      ElementsAre("control #1 NumControl \"N\" 0 shown", "control #2 EditControl \"位置 X\" Character shown",
                  "control #3 ButtonControl \"Scale\" - ghosted", "control #4 ButtonControl \"Scale\" - erased"))
      << "a refresh keeps the state";

  EXPECT_NE(funcs_->open(second, PANF_NOBUTT), 0);
  EXPECT_EQ(service_.openPanel(), &panelOf(second));
  EXPECT_NE(funcs_->open(id, PANF_NOBUTT), 0);
  EXPECT_EQ(service_.openPanel(), &panelOf(id)) << "brought to the front";
  funcs_->close(id);
  funcs_->close(id);
  panelOf(second).closeNow();
  panelOf(second).closeNow();
  EXPECT_EQ(service_.openPanel(), nullptr);
  EXPECT_EQ(std::vector<int>({seen_.opened, seen_.closed, panelOf(id).timesOpened()}), std::vector<int>({2, 2, 1}));
}

constexpr char kUntouched = '#';

// A request with buffers of its own; each buffer is longer than the length
// the request gives, so that writes beyond it show.
struct Dialog {
  Dialog(int type, int length, const std::string &prefill = "") {
    for (auto *buffer : {&path, &baseName, &fullName}) {
      buffer->fill(kUntouched);
      std::memcpy(buffer->data(), prefill.c_str(), prefill.size() + 1);
    }
    local = {type, -7, "Title", "Scenes", path.data(), baseName.data(), fullName.data(), length, nullptr};
  }
  // The bytes past the request's length are as they were.
  bool untouchedPast(const std::array<char, 64> &buffer) const {
    for (std::size_t i = static_cast<std::size_t>(local.bufLen); i < buffer.size(); ++i)
      if (buffer[i] != kUntouched) return false;
    return true;
  }
  int open(int version = LWFILEREQ_VERSION) { return lwsim::FileRequester::function()(version, &local); }

  std::array<char, 64> path{}, baseName{}, fullName{};
  LWFileReqLocal local{};
};

// No host, no request or another version fails and consumes nothing;
// answers come in queue order, a cancel or an empty queue leaves the buffers;
// a file dialog gets the full name, its directory and base name, each cut and
// terminated within the request's length and nothing written past it.
TEST(FileRequester, AnswersFillTheBuffersWithinTheirLengthAndBadRequestsFail) {
  Dialog early(FREQ_LOAD, 48);
  EXPECT_NE(early.open(), AFUNC_OK) << "no host";
  EXPECT_EQ(early.local.result, -7);
  lwsim::Host host;
  lwsim::FileRequester &files = host.fileRequester();
  files.queueAnswer("/scenes/clips/walk.xml");
  for (int version : {LWFILEREQ_VERSION - 1, LWFILEREQ_VERSION + 1, 0}) {
    Dialog dialog(FREQ_LOAD, 48);
    EXPECT_EQ(dialog.open(version), AFUNC_BADVERSION) << version;
    EXPECT_EQ(dialog.local.result, -7) << version;
  }
  EXPECT_NE(lwsim::FileRequester::function()(LWFILEREQ_VERSION, nullptr), AFUNC_OK);
  EXPECT_TRUE(files.requests().empty());

  files.queueCancel();
  files.queueAnswer("/scenes/clips");
  files.queueAnswer("exactly8");  // 8 characters and the terminator fill 9 bytes
  Dialog file(FREQ_LOAD, 8), cancelled(FREQ_LOAD, 48, "old"), directory(FREQ_DIRECTORY, 5), exact(FREQ_SAVE, 9),
      empty(FREQ_LOAD, 48, "old");
  std::vector<std::string> seen;
  for (Dialog *dialog : {&file, &cancelled, &directory, &exact, &empty}) {
    ASSERT_EQ(dialog->open(), AFUNC_OK);
    seen.push_back(std::to_string(dialog->local.result) + " " + dialog->fullName.data() + " | " + dialog->path.data() +
                   " | " + dialog->baseName.data());
    for (const auto *buffer : {&dialog->fullName, &dialog->path, &dialog->baseName})
      EXPECT_TRUE(dialog->untouchedPast(*buffer)) << dialog->local.bufLen;
  }
  EXPECT_THAT(seen, ElementsAre("1 /scenes | /scenes | walk.xm", "0 old | old | old", "1  | /sce | ",
                                "1 exactly8 |  | exactly8", "0 old | old | old"));
  ASSERT_EQ(files.requests().size(), 5u) << "cancelled ones too";
  EXPECT_EQ(files.requests()[1].fullName, "old") << "the buffers as they were when the dialog opened";
}

}  // namespace
