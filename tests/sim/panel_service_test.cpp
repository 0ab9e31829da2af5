// The panel services driven through their C record, as a module drives them,
// and by the host side as a user (or a script) does.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "sim/host.h"
#include "support/script_session.h"

namespace {

using lwsim::Control;
using lwsim::DrawState;
using lwsim::Panel;
using ::testing::ElementsAre;

// What the module's callbacks saw; handed to them as user data.
struct Seen {
  int opened = 0;
  int closed = 0;
  std::vector<LWControl *> events;
};

void countOpen(LWPanelID, void *data) { ++static_cast<Seen *>(data)->opened; }
void countClose(LWPanelID, void *data) { ++static_cast<Seen *>(data)->closed; }
void recordEvent(LWControl *control, void *data) { static_cast<Seen *>(data)->events.push_back(control); }

class PanelServiceTest : public ::testing::Test {
 protected:
  LWPanelID create(const char *title) {
    LWPanelID panel = funcs_->create(title, nullptr);
    funcs_->set(panel, PAN_USERDATA, &seen_);
    funcs_->set(panel, PAN_USEROPEN, reinterpret_cast<void *>(countOpen));
    funcs_->set(panel, PAN_USERCLOSE, reinterpret_cast<void *>(countClose));
    return panel;
  }
  LWControl *add(LWPanelID panel, const char *typeName, const char *label, int descType = LWT_INTEGER) {
    LWPanControlDesc desc{};
    desc.type = descType;
    return funcs_->addControl(panel, typeName, &desc, label);
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
  static double getFloat(LWControl *control) {
    LWValue value{};
    value.type = LWT_FLOAT;
    control->get(control, CTL_VALUE, &value);
    return value.flt.value;
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
  void setEvent(LWControl *control) {
    LWValue value{};
    value.ptr = {LWT_NULL, reinterpret_cast<void *>(recordEvent)};
    control->set(control, CTL_USEREVENT, &value);
    value.ptr = {LWT_NULL, &seen_};
    control->set(control, CTL_USERDATA, &value);
  }

  lwsim::Host host_;
  lwsim::PanelService &service_ = host_.panels();
  LWPanelFuncs *funcs_ = host_.panels().record();
  Seen seen_;
};

TEST_F(PanelServiceTest, PanelKeepsItsTitleAndAttributes) {
  LWPanelID id = create("Clip Save(1.50)");
  ASSERT_NE(id, nullptr);
  ASSERT_EQ(service_.panels().size(), 1u);
  EXPECT_EQ(service_.panels()[0]->title(), "Clip Save(1.50)");
  const char *title = nullptr;
  funcs_->get(id, PAN_TITLE, &title);
  EXPECT_STREQ(title, "Clip Save(1.50)");
  int width = 340, height = 170, read = 0;
  funcs_->set(id, PAN_W, &width);
  funcs_->set(id, PAN_H, &height);
  funcs_->get(id, PAN_W, &read);
  EXPECT_EQ(read, 340);
  funcs_->get(id, PAN_H, &read);
  EXPECT_EQ(read, 170);
  void *userData = nullptr;
  funcs_->get(id, PAN_USERDATA, &userData);
  EXPECT_EQ(userData, &seen_);
}

TEST_F(PanelServiceTest, ControlsAreMadeByTypeNameAndIteratedInOrder) {
  LWPanelID id = create("P");
  LWControl *first = add(id, "NumControl", "Count");
  EXPECT_EQ(add(id, "NoSuchControl", "Lost"), nullptr);
  LWControl *second = add(id, "EditControl", "Name", LWT_STRING);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(Control::from(second)->typeName(), "EditControl");
  EXPECT_EQ(Control::from(second)->label(), "Name");
  EXPECT_EQ(Control::from(second)->index(), 2) << "a refused type takes no index";
  EXPECT_EQ(funcs_->nextControl(id, nullptr), first);
  EXPECT_EQ(funcs_->nextControl(id, first), second);
  EXPECT_EQ(funcs_->nextControl(id, second), nullptr);
}

TEST_F(PanelServiceTest, LabelFindsTheDrawnControlBeforeAnErasedOne) {
  LWPanelID id = create("P");
  LWControl *hidden = add(id, "ButtonControl", "Scale");
  LWControl *shown = add(id, "ButtonControl", "Scale");
  Panel &panel = panelOf(id);
  EXPECT_EQ(panel.findControl("Scale"), Control::from(hidden)) << "both drawn: the first";
  hidden->draw(hidden, DR_ERASE);
  EXPECT_EQ(panel.findControl("Scale"), Control::from(shown));
  hidden->draw(hidden, DR_GHOST);
  EXPECT_EQ(panel.findControl("Scale"), Control::from(hidden)) << "a ghosted control is still seen";
  hidden->draw(hidden, DR_ERASE);
  shown->draw(shown, DR_ERASE);
  EXPECT_EQ(panel.findControl("Scale"), Control::from(hidden)) << "all erased: the first";
}

TEST_F(PanelServiceTest, LabelWidthIsEightPerCharacter) {
  LWPanelID id = create("P");
  EXPECT_EQ(getInt(add(id, "ButtonControl", "Save"), CTL_LABELWIDTH), 32);
  EXPECT_EQ(getInt(add(id, "ButtonControl", "位置 X"), CTL_LABELWIDTH), 32) << "UTF-8 counts characters";
  EXPECT_EQ(getInt(add(id, "ButtonControl", ""), CTL_LABELWIDTH), 0);
}

TEST_F(PanelServiceTest, GeometryIsSetAndRead) {
  LWPanelID id = create("P");
  LWPanControlDesc area{};
  area.area = {LWT_AREA, 30, 12};
  LWControl *control = funcs_->addControl(id, "AreaControl", &area, "");
  EXPECT_EQ(getInt(control, CTL_W), 30);
  EXPECT_EQ(getInt(control, CTL_H), 12);
  const int attributes[] = {CTL_X, CTL_Y, CTL_W, CTL_H};
  for (int i = 0; i < 4; ++i) setInt(control, attributes[i], 10 + i);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(getInt(control, attributes[i]), 10 + i) << "attribute " << attributes[i];
}

TEST_F(PanelServiceTest, IntegerAndFloatValuesAreReadInTheTypeAskedFor) {
  LWPanelID id = create("P");
  LWControl *number = add(id, "NumControl", "N");
  setInt(number, CTL_VALUE, 42);
  EXPECT_EQ(getInt(number, CTL_VALUE), 42);
  EXPECT_EQ(getText(number, 16), "42");

  LWControl *real = add(id, "FloatControl", "F", LWT_FLOAT);
  LWValue value{};
  value.flt = {LWT_FLOAT, 2.5, 0.0};
  real->set(real, CTL_VALUE, &value);
  EXPECT_EQ(getFloat(real), 2.5);
  EXPECT_EQ(getText(real, 16), "2.5");
  setText(real, "-0.125");
  EXPECT_EQ(getFloat(real), -0.125);
}

TEST_F(PanelServiceTest, TextValuesFitTheCallersBuffer) {
  LWPanelID id = create("P");
  LWControl *edit = add(id, "EditControl", "Name", LWT_STRING);
  setText(edit, "Character");
  EXPECT_EQ(getText(edit, 64), "Character");
  EXPECT_EQ(getText(edit, 10), "Character") << "nine characters and the NUL";
  EXPECT_EQ(getText(edit, 5), "Char");
  EXPECT_EQ(getText(edit, 1), "");
  EXPECT_EQ(Control::from(edit)->textValue(), "Character");
}

TEST_F(PanelServiceTest, DrawModesSetTheStateAndRefreshKeepsIt) {
  LWControl *control = add(create("P"), "ButtonControl", "B");
  Control &shown = *Control::from(control);
  EXPECT_EQ(shown.drawState(), DrawState::Shown);
  control->draw(control, DR_GHOST);
  EXPECT_EQ(shown.drawState(), DrawState::Ghosted);
  control->draw(control, DR_REFRESH);
  EXPECT_EQ(shown.drawState(), DrawState::Ghosted);
  control->draw(control, DR_ERASE);
  EXPECT_EQ(shown.drawState(), DrawState::Erased);
  control->draw(control, DR_RENDER);
  EXPECT_EQ(shown.drawState(), DrawState::Shown);
}

TEST_F(PanelServiceTest, PressAndEnterFireTheUserEventWithItsData) {
  LWPanelID id = create("P");
  LWControl *button = add(id, "ButtonControl", "Go");
  LWControl *number = add(id, "NumControl", "N");
  LWControl *silent = add(id, "ButtonControl", "Silent");
  setEvent(button);
  setEvent(number);
  Control::from(button)->press();
  Control::from(number)->enter("12");
  Control::from(silent)->press();
  EXPECT_THAT(seen_.events, ElementsAre(button, number));
  EXPECT_EQ(getInt(number, CTL_VALUE), 12);
  LWValue data{};
  button->get(button, CTL_USERDATA, &data);
  EXPECT_EQ(data.ptr.ptr, &seen_);
}

TEST_F(PanelServiceTest, TogglesFlipOnPressAndTheLastButtonIsReported) {
  LWControl *toggle = add(create("P"), "BoolButtonControl", "T");
  Control &control = *Control::from(toggle);
  control.press(3);
  EXPECT_EQ(getInt(toggle, CTL_VALUE), 1);
  EXPECT_EQ(getInt(toggle, CTL_MOUSEBUTTON), 3);
  control.press(2);
  EXPECT_EQ(getInt(toggle, CTL_VALUE), 0);
  EXPECT_EQ(getInt(toggle, CTL_MOUSEBUTTON), 2);
}

TEST_F(PanelServiceTest, ScriptPressesWithTheMouseButtonItNames) {
  LWPanelID id = create("P");
  LWControl *button = add(id, "ButtonControl", "Go");
  setEvent(button);
  ASSERT_NE(funcs_->open(id, PANF_NOBUTT), 0);
  lwtest::runScript(host_, "@press Go right\n");
  EXPECT_EQ(getInt(button, CTL_MOUSEBUTTON), 3);
  lwtest::runScript(host_, "@press Go middle\n");
  EXPECT_EQ(getInt(button, CTL_MOUSEBUTTON), 2);
  lwtest::runScript(host_, "@press Go\n");
  EXPECT_EQ(getInt(button, CTL_MOUSEBUTTON), 1);
  lwtest::runScript(host_, "@press Go right\n@press Go left\n");
  EXPECT_EQ(getInt(button, CTL_MOUSEBUTTON), 1);
  EXPECT_EQ(seen_.events.size(), 5u);
}

TEST_F(PanelServiceTest, OpenAndCloseCallbacksRunOncePerOpening) {
  LWPanelID id = create("P");
  EXPECT_NE(funcs_->open(id, PANF_NOBUTT), 0);
  EXPECT_TRUE(panelOf(id).isOpen());
  EXPECT_EQ(service_.openPanel(), &panelOf(id));
  EXPECT_EQ(seen_.opened, 1);
  funcs_->close(id);
  funcs_->close(id);
  EXPECT_EQ(seen_.closed, 1) << "the module's close";
  EXPECT_EQ(service_.openPanel(), nullptr);

  EXPECT_NE(funcs_->open(id, PANF_NOBUTT), 0);
  panelOf(id).closeNow();
  panelOf(id).closeNow();
  EXPECT_EQ(seen_.opened, 2);
  EXPECT_EQ(seen_.closed, 2) << "the host's close";
}

TEST_F(PanelServiceTest, RefusedOpenReturnsZeroWithoutCallback) {
  LWPanelID id = create("P");
  service_.setRefuseOpen(true);
  EXPECT_EQ(funcs_->open(id, PANF_NOBUTT), 0);
  EXPECT_FALSE(panelOf(id).isOpen());
  EXPECT_EQ(seen_.opened, 0);
  service_.setRefuseOpen(false);
  EXPECT_NE(funcs_->open(id, PANF_NOBUTT), 0);
  EXPECT_EQ(seen_.opened, 1);
}

TEST_F(PanelServiceTest, BlockingOpenRunsTheLoopAndReturnsClosed) {
  LWPanelID id = create("P");
  LWControl *button = add(id, "ButtonControl", "OK");
  setEvent(button);
  int loops = 0;
  service_.setBlockingLoop([&](Panel &panel) {
    ++loops;
    EXPECT_EQ(&panel, &panelOf(id));
    EXPECT_EQ(service_.openPanel(), &panel);
    EXPECT_EQ(seen_.opened, 1);
    panel.findControl("OK")->press();
    panel.closeNow();
  });
  EXPECT_NE(funcs_->open(id, PANF_BLOCKING), 0);
  EXPECT_EQ(loops, 1);
  EXPECT_THAT(seen_.events, ElementsAre(button));
  EXPECT_FALSE(panelOf(id).isOpen());
  EXPECT_EQ(seen_.closed, 1);

  service_.setBlockingLoop(nullptr);
  EXPECT_NE(funcs_->open(id, PANF_BLOCKING), 0);
  EXPECT_FALSE(panelOf(id).isOpen()) << "without a loop the user dismisses it at once";
  EXPECT_EQ(seen_.closed, 2);
}

TEST_F(PanelServiceTest, OpenPanelIsTheLatestOpenedStillOpen) {
  LWPanelID first = create("First");
  LWPanelID second = create("Second");
  funcs_->open(first, PANF_NOBUTT);
  funcs_->open(second, PANF_NOBUTT);
  EXPECT_EQ(service_.openPanel(), &panelOf(second));
  funcs_->close(second);
  EXPECT_EQ(service_.openPanel(), &panelOf(first));
  funcs_->open(second, PANF_NOBUTT);
  funcs_->close(first);
  funcs_->open(first, PANF_NOBUTT);
  EXPECT_EQ(service_.openPanel(), &panelOf(first));

  // Opening a panel that is open brings it to the front, without a second
  // open callback.
  EXPECT_NE(funcs_->open(second, PANF_NOBUTT), 0);
  EXPECT_EQ(service_.openPanel(), &panelOf(second));
  EXPECT_EQ(panelOf(second).timesOpened(), 2);
}

}  // namespace
