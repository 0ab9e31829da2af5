// The panel services driven through their C record, as a module drives them,
// and by the host side as a user (or a script) does; "File Request 3" as a
// module calls it: queued answers, cancelling, what a file and a directory
// dialog fill in, buffers too small, versions, and the record of requests.
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

// What the module's callbacks saw; handed to them as user data.
struct Seen {
  int opened = 0;
  int closed = 0;
  std::vector<LWControl *> events;
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
  // A control whose event is recorded in seen_.
  LWControl *add(LWPanelID panel, const char *typeName, const char *label, int descType = LWT_INTEGER) {
    LWPanControlDesc desc{};
    desc.type = descType;
    LWControl *control = funcs_->addControl(panel, typeName, &desc, label);
    if (control == nullptr) return nullptr;
    LWValue value{};
    value.ptr = {LWT_NULL, reinterpret_cast<void *>(
                               +[](LWControl *c, void *seen) { static_cast<Seen *>(seen)->events.push_back(c); })};
    control->set(control, CTL_USEREVENT, &value);
    value.ptr = {LWT_NULL, &seen_};
    control->set(control, CTL_USERDATA, &value);
    return control;
  }
  static Panel &panelOf(LWPanelID panel) { return *reinterpret_cast<Panel *>(panel); }
  static int getInt(LWControl *control, int attribute) {
    LWValue value{};
    value.type = LWT_INTEGER;
    control->get(control, attribute, &value);
    return value.intv.value;
  }
  static void setInt(LWControl *control, int attribute, int number) {
    LWValue value{};
    value.intv = {LWT_INTEGER, number, 0};
    control->set(control, attribute, &value);
  }
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

// Controls are made by type name (a refused type takes no index), keep their
// attributes and values, read in the type asked for and cut to the caller's
// buffer; a label is eight pixels per character, UTF-8 counting characters.
TEST_F(PanelServiceTest, PanelsAndControlsKeepTheirAttributesAndValues) {
  LWPanelID id = create("Clip Save(1.50)");
  int size[2] = {340, 170}, read[2] = {};
  const char *title = nullptr;
  funcs_->set(id, PAN_W, &size[0]);
  funcs_->set(id, PAN_H, &size[1]);
  funcs_->get(id, PAN_W, &read[0]);
  funcs_->get(id, PAN_H, &read[1]);
  funcs_->get(id, PAN_TITLE, &title);
  EXPECT_STREQ(title, "Clip Save(1.50)");
  EXPECT_THAT(read, ElementsAre(340, 170));

  LWControl *number = add(id, "NumControl", "Count");
  EXPECT_EQ(add(id, "NoSuchControl", "Lost"), nullptr);
  LWControl *edit = add(id, "EditControl", "位置 X", LWT_STRING);
  LWControl *real = add(id, "FloatControl", "F", LWT_FLOAT);
  LWPanControlDesc area{};
  area.area = {LWT_AREA, 30, 12};
  LWControl *box = funcs_->addControl(id, "AreaControl", &area, "");
  EXPECT_EQ(funcs_->nextControl(id, nullptr), number);
  EXPECT_EQ(funcs_->nextControl(id, number), edit);
  EXPECT_EQ(funcs_->nextControl(id, box), nullptr);
  EXPECT_EQ(std::vector<int>({getInt(number, CTL_LABELWIDTH), getInt(edit, CTL_LABELWIDTH), getInt(box, CTL_LABELWIDTH),
                              getInt(box, CTL_W), getInt(box, CTL_H)}),
            std::vector<int>({40, 32, 0, 30, 12}));
  const int attributes[] = {CTL_X, CTL_Y, CTL_W, CTL_H};
  for (int i = 0; i < 4; ++i) setInt(box, attributes[i], 10 + i);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(getInt(box, attributes[i]), 10 + i) << "attribute " << attributes[i];

  setInt(number, CTL_VALUE, 42);
  LWValue value{};
  value.flt = {LWT_FLOAT, 2.5, 0.0};
  real->set(real, CTL_VALUE, &value);
  EXPECT_EQ(getText(number, 16), "42");
  EXPECT_EQ(getText(real, 16), "2.5");
  setText(real, "-0.125");
  value = {};
  value.type = LWT_FLOAT;
  real->get(real, CTL_VALUE, &value);
  EXPECT_EQ(value.flt.value, -0.125);
  setText(edit, "Character");
  // Nine characters and the NUL fill 10 bytes; no room, not even for the NUL.
  const std::pair<int, const char *> cuts[] = {{64, "Character"}, {10, "Character"}, {5, "Char"}, {1, ""}, {0, ""}};
  for (auto [length, text] : cuts) EXPECT_EQ(getText(edit, length), text) << length;
  ASSERT_NE(funcs_->open(id, PANF_NOBUTT), 0);
  EXPECT_THAT(
      controls(),
      ElementsAre("control #1 NumControl \"Count\" 42 shown", "control #2 EditControl \"位置 X\" Character shown",
                  "control #3 FloatControl \"F\" -0.125 shown", "control #4 AreaControl \"\" - shown"));
}

// A draw mode sets the state and a refresh keeps it; a label finds the drawn
// control before an erased one, a ghosted one is still seen.
TEST_F(PanelServiceTest, DrawModesAndLabels) {
  LWPanelID id = create("P");
  LWControl *hidden = add(id, "ButtonControl", "Scale");
  LWControl *shown = add(id, "ButtonControl", "Scale");
  ASSERT_NE(funcs_->open(id, PANF_NOBUTT), 0);
  std::vector<std::string> states;
  for (int mode : {DR_GHOST, DR_REFRESH, DR_ERASE, DR_RENDER, DR_ERASE}) {
    hidden->draw(hidden, mode);
    states.push_back(controls()[0] + " > " + (panelOf(id).findControl("Scale") == Control::from(hidden) ? "1" : "2"));
  }
  shown->draw(shown, DR_ERASE);
  EXPECT_EQ(panelOf(id).findControl("Scale"), Control::from(hidden)) << "all erased: the first";
  EXPECT_THAT(
      states,
      ElementsAre("control #1 ButtonControl \"Scale\" - ghosted > 1",
                  "control #1 ButtonControl \"Scale\" - ghosted > 1", "control #1 ButtonControl \"Scale\" - erased > 2",
                  "control #1 ButtonControl \"Scale\" - shown > 1", "control #1 ButtonControl \"Scale\" - erased > 2"));
}

// Press and enter fire the user event with its data; toggles flip and the
// last mouse button is reported; a script presses with the button it names.
TEST_F(PanelServiceTest, PressesAndEntriesFireTheUserEvent) {
  LWPanelID id = create("P");
  LWControl *button = add(id, "ButtonControl", "Go");
  LWControl *number = add(id, "NumControl", "N");
  LWControl *toggle = add(id, "BoolButtonControl", "T");
  Control::from(button)->press();
  Control::from(number)->enter("12");
  Control::from(toggle)->press(3);
  EXPECT_THAT(seen_.events, ElementsAre(button, number, toggle));
  EXPECT_EQ(std::vector<int>({getInt(number, CTL_VALUE), getInt(toggle, CTL_VALUE), getInt(toggle, CTL_MOUSEBUTTON)}),
            std::vector<int>({12, 1, 3}));
  Control::from(toggle)->press(2);
  EXPECT_EQ(std::vector<int>({getInt(toggle, CTL_VALUE), getInt(toggle, CTL_MOUSEBUTTON)}), std::vector<int>({0, 2}));
  LWValue data{};
  button->get(button, CTL_USERDATA, &data);
  EXPECT_EQ(data.ptr.ptr, &seen_);

  ASSERT_NE(funcs_->open(id, PANF_NOBUTT), 0);
  std::vector<int> buttons;
  for (const char *line :
       {"@press Go right\n", "@press Go middle\n", "@press Go\n", "@press Go right\n@press Go left\n"}) {
    lwtest::runScript(host_, line);
    buttons.push_back(getInt(button, CTL_MOUSEBUTTON));
  }
  EXPECT_THAT(buttons, ElementsAre(3, 2, 1, 1));
  EXPECT_EQ(seen_.events.size(), 9u);
}

// Open and close callbacks run once per opening, whoever closes; a refused
// open answers 0 without a callback; a blocking open runs the loop (or the
// user dismisses it at once); the open panel is the latest opened still
// open, and opening an open panel brings it to the front.
TEST_F(PanelServiceTest, OpeningAndClosingPanels) {
  LWPanelID first = create("First");
  LWPanelID second = create("Second");
  service_.setRefuseOpen(true);
  EXPECT_EQ(funcs_->open(first, PANF_NOBUTT), 0);
  EXPECT_FALSE(panelOf(first).isOpen());
  EXPECT_EQ(seen_.opened, 0);
  service_.setRefuseOpen(false);
  EXPECT_NE(funcs_->open(first, PANF_NOBUTT), 0);
  EXPECT_NE(funcs_->open(second, PANF_NOBUTT), 0);
  EXPECT_EQ(service_.openPanel(), &panelOf(second));
  funcs_->close(second);
  funcs_->close(second);
  EXPECT_EQ(service_.openPanel(), &panelOf(first));
  funcs_->open(second, PANF_NOBUTT);
  panelOf(first).closeNow();
  panelOf(first).closeNow();
  funcs_->open(first, PANF_NOBUTT);
  EXPECT_EQ(service_.openPanel(), &panelOf(first));
  EXPECT_NE(funcs_->open(second, PANF_NOBUTT), 0);
  EXPECT_EQ(service_.openPanel(), &panelOf(second));
  EXPECT_EQ(panelOf(second).timesOpened(), 2);
  EXPECT_EQ(std::vector<int>({seen_.opened, seen_.closed}), std::vector<int>({4, 2}));

  LWControl *ok = add(first, "ButtonControl", "OK");
  funcs_->close(first);
  funcs_->close(second);
  int loops = 0;
  service_.setBlockingLoop([&](Panel &panel) {
    ++loops;
    EXPECT_EQ(service_.openPanel(), &panel);
    EXPECT_EQ(seen_.opened, 5) << "opened before the loop runs";
    panel.findControl("OK")->press();
    panel.closeNow();
  });
  EXPECT_NE(funcs_->open(first, PANF_BLOCKING), 0);
  EXPECT_EQ(loops, 1);
  EXPECT_THAT(seen_.events, ElementsAre(ok));
  EXPECT_FALSE(panelOf(first).isOpen());
  service_.setBlockingLoop(nullptr);
  EXPECT_NE(funcs_->open(first, PANF_BLOCKING), 0);
  EXPECT_FALSE(panelOf(first).isOpen()) << "without a loop the user dismisses it at once";
  EXPECT_EQ(std::vector<int>({seen_.opened, seen_.closed}), std::vector<int>({6, 6}));
}

constexpr char kUntouched = '#';

// A request with buffers of its own; each buffer is longer than the length
// the request gives, so that writes beyond it show.
struct Dialog {
  Dialog(int type, int length, const char *title = "Title", const char *fileType = "Scenes") {
    local = {type, -7, title, fileType, path.data(), baseName.data(), fullName.data(), length, nullptr};
    start("", "", "");
  }
  void start(const std::string &directory, const std::string &base, const std::string &full) {
    const std::pair<std::array<char, 64> *, const std::string *> buffers[] = {
        {&path, &directory}, {&baseName, &base}, {&fullName, &full}};
    for (auto [buffer, text] : buffers) {
      buffer->fill(kUntouched);
      text->copy(buffer->data(), text->size());
      (*buffer)[text->size()] = '\0';
    }
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

// Answers come in queue order and an empty queue cancels, leaving the
// buffers; a file dialog gets the full name, its directory and its base name.
TEST(FileRequester, AnswersFillTheDialogsInQueueOrder) {
  lwsim::Host host;
  lwsim::FileRequester &files = host.fileRequester();
  for (const char *answer : {"/scenes/clips/walk cycle.xml", "C:\\Clips\\run.xml", "", "loose.xml"})
    if (*answer != '\0')
      files.queueAnswer(answer);
    else
      files.queueCancel();
  EXPECT_EQ(files.pendingAnswers(), 4u);
  std::vector<std::string> seen;
  for (int type : {FREQ_LOAD, FREQ_SAVE, FREQ_LOAD, FREQ_LOAD, FREQ_LOAD}) {
    Dialog dialog(type, 48);
    dialog.start("/old", "old.xml", "/old/old.xml");
    ASSERT_EQ(dialog.open(), AFUNC_OK);
    seen.push_back(std::to_string(dialog.local.result) + " " + dialog.fullName.data() + " | " + dialog.path.data() +
                   " | " + dialog.baseName.data());
  }
  EXPECT_THAT(seen, ElementsAre("1 /scenes/clips/walk cycle.xml | /scenes/clips | walk cycle.xml",
                                "1 C:\\Clips\\run.xml | C:\\Clips | run.xml", "0 /old/old.xml | /old | old.xml",
                                "1 loose.xml |  | loose.xml", "0 /old/old.xml | /old | old.xml"));
  EXPECT_EQ(files.pendingAnswers(), 0u);

  files.queueAnswer("/scenes/clips");
  Dialog directory(FREQ_DIRECTORY, 48, nullptr, nullptr);
  directory.local.baseName = nullptr;
  directory.local.fullName = nullptr;
  directory.start("/folder", "", "");
  ASSERT_EQ(directory.open(), AFUNC_OK);
  EXPECT_EQ(directory.local.result, 1);
  EXPECT_STREQ(directory.path.data(), "/scenes/clips");

  // Every request as the module made it: the buffers as they were when the
  // dialog opened.
  ASSERT_EQ(files.requests().size(), 6u);
  const lwsim::FileRequest &first = files.requests()[0], &last = files.requests()[5];
  EXPECT_EQ(std::vector<std::string>({first.title, first.fileType, first.path, first.baseName, first.fullName}),
            std::vector<std::string>({"Title", "Scenes", "/old", "old.xml", "/old/old.xml"}));
  EXPECT_EQ(std::vector<std::string>({last.title, last.fileType, last.path}),
            std::vector<std::string>({"", "", "/folder"}));
  EXPECT_EQ(std::vector<int>({first.type, first.bufferLength, first.answered, files.requests()[2].answered, last.type,
                              last.answered}),
            std::vector<int>({FREQ_LOAD, 48, 1, 0, FREQ_DIRECTORY, 1}));
}

// Answers longer than the buffer are cut and terminated; another version is
// refused and consumes nothing; no request or no host fails.
TEST(FileRequester, ShortBuffersOtherVersionsAndNoRequest) {
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
    EXPECT_STREQ(dialog.fullName.data(), "");
  }
  EXPECT_NE(lwsim::FileRequester::function()(LWFILEREQ_VERSION, nullptr), AFUNC_OK);
  EXPECT_TRUE(files.requests().empty());

  Dialog file(FREQ_LOAD, 8);
  ASSERT_EQ(file.open(), AFUNC_OK);
  EXPECT_STREQ(file.fullName.data(), "/scenes");  // 7 characters and the terminator
  EXPECT_STREQ(file.path.data(), "/scenes");
  EXPECT_STREQ(file.baseName.data(), "walk.xm");
  files.queueAnswer("/scenes/clips");
  Dialog directory(FREQ_DIRECTORY, 5);
  ASSERT_EQ(directory.open(), AFUNC_OK);
  EXPECT_STREQ(directory.path.data(), "/sce");
  files.queueAnswer("exactly8");  // 8 characters and the terminator fill 9 bytes
  Dialog exact(FREQ_SAVE, 9);
  ASSERT_EQ(exact.open(), AFUNC_OK);
  EXPECT_STREQ(exact.fullName.data(), "exactly8");
  for (const Dialog *dialog : {&file, &directory, &exact})
    for (const auto *buffer : {&dialog->fullName, &dialog->path, &dialog->baseName})
      EXPECT_TRUE(dialog->untouchedPast(*buffer)) << dialog->local.bufLen;
}

}  // namespace
