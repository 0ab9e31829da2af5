// The panel's two questions to the clip-set tool, answered by a stand-in
// tool on the ring that lays its records out as the tool does: what is
// copied from an answer, which channel entries count, and answers that are
// missing, empty or unusable.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/globals/host_globals.h"
#include "key_panel_fixture.h"
#include "key_setter/master/clip_set_questions.h"

namespace key_panel_test {
namespace {

using lwp::cks::askClipSetChannels;
using lwp::cks::askClipSetInfo;
using ::testing::ElementsAre;
using ::testing::Field;
using ::testing::IsEmpty;
using ::testing::Pair;

class ClipSetQuestions : public ::testing::Test {
 protected:
  void SetUp() override {
    lwp::CHostGlobals::instance().acquire(lwsim::GlobalRegistry::function());
    lwsim::SceneItem &body = host_.scene().addObject("Body", "body.lwo");
    host_.scene().addMorphMap(body, "Face.Smile");
    arm_ = reinterpret_cast<LWItemID>(host_.scene().addBone(body, "Arm").id);
    body_ = reinterpret_cast<LWItemID>(body.id);
  }
  LWChannelID channel(LWItemID item, const std::string &path) {
    return reinterpret_cast<LWChannelID>(&host_.scene().ensureChannel(*host_.scene().find(item), path));
  }

  lwsim::Host host_;
  StandInClipSetTool tool_;
  LWItemID body_ = nullptr;
  LWItemID arm_ = nullptr;
};

auto recorded(LWChannelID channel, int slot) {
  return ::testing::AllOf(Field(&lwp::cks::ClipSetChannel::channel, channel),
                          Field(&lwp::cks::ClipSetChannel::slot, slot));
}

TEST_F(ClipSetQuestions, InfoCopiesTheNamesTheAnswerHas) {
  EXPECT_FALSE(askClipSetInfo().answered) << "no tool listens";
  tool_.listenOn(host_);
  tool_.valid = 0;
  EXPECT_FALSE(askClipSetInfo().answered) << "a tool that leaves valid at 0";
  tool_.valid = 1;
  tool_.clipSet = "Walk";
  for (const auto &[index, clone] : {std::pair<int, const char *>{2, "Hero_B"}, {3, ""}, {-1, ""}, {100, ""}}) {
    tool_.names = {"Hero", "Hero_A", "Hero_B"};
    tool_.index = index;
    const lwp::cks::ClipSetInfo info = askClipSetInfo();
    tool_.names = {"gone", "gone", "gone"};  // the tool's strings change after the call
    EXPECT_TRUE(info.answered);
    EXPECT_EQ(info.character + "|" + info.clone + "|" + info.clipSet, std::string("Hero|") + clone + "|Walk") << index;
  }
  tool_.names.clear();
  EXPECT_EQ(askClipSetInfo().character, "");
}

TEST_F(ClipSetQuestions, ChannelsOfTheActiveCloneAreRecordedUnderTheirItems) {
  EXPECT_THAT(askClipSetChannels(), IsEmpty()) << "no tool listens";
  tool_.listenOn(host_);
  const LWChannelID x = channel(body_, "Position.X"), b = channel(body_, "Rotation.B"), z = channel(body_, "Scale.Z"),
                    smile = channel(body_, "Face.Smile"), knob = channel(body_, "Extra.Knob"),
                    heading = channel(arm_, "Rotation.H");
  tool_.setClones({{{body_, channel(body_, "Position.Y")}},
                   {{body_, x},
                    {arm_, heading},
                    {nullptr, z},
                    {body_, b},
                    {body_, nullptr},
                    {nullptr, nullptr},
                    {body_, smile},
                    {body_, x},
                    {body_, z},
                    {body_, knob}}});
  tool_.index = 1;
  const auto item = [](lwp::cks::ChannelMask mask, auto channels) {
    return ::testing::AllOf(Field(&lwp::cks::ClipSetItemChannels::mask, mask),
                            Field(&lwp::cks::ClipSetItemChannels::channels, channels));
  };
  EXPECT_THAT(
      askClipSetChannels(),
      ::testing::UnorderedElementsAre(
          Pair(body_, item(0x001u | 0x020u | 0x100u, ElementsAre(recorded(x, 0), recorded(b, 5), recorded(smile, 10),
                                                                 recorded(z, 8), recorded(knob, 11)))),
          Pair(arm_, item(0x008u, ElementsAre(recorded(heading, 3))))));
  tool_.valid = 0;
  EXPECT_THAT(askClipSetChannels(), IsEmpty()) << "a tool that leaves valid at 0";
  tool_.valid = 1;
  tool_.withRecord = false;
  EXPECT_THAT(askClipSetChannels(), IsEmpty()) << "no clip-set record";
  tool_.withRecord = true;
  tool_.setClones({{}, {{nullptr, x}, {body_, nullptr}}, {{body_, x}, {body_, b}}});
  for (int index : {0, 1, -1}) {
    tool_.index = index;
    EXPECT_THAT(askClipSetChannels(), IsEmpty()) << "empty, only zero entries, or no clone " << index;
  }
  tool_.index = 2;
  ASSERT_EQ(askClipSetChannels().size(), 1u);
  const unsigned char *entries = tool_.entryBytes(2);
  const std::size_t size = 2 * lwp::cks::kClipSetEntrySize;
  const lwp::cks::ClipSetSequence unusable[] = {
      {entries + size, entries, entries + size},      // ends before it begins
      {entries, entries + size - 8, entries + size},  // a partial entry
      {nullptr, entries + size, entries + size},      // no storage
  };
  for (const lwp::cks::ClipSetSequence &sequence : unusable) {
    tool_.setSequence(2, sequence);
    EXPECT_THAT(askClipSetChannels(), IsEmpty());
  }
}

}  // namespace
}  // namespace key_panel_test
