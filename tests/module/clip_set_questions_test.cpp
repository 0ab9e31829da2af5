// The panel's two questions to the clip-set tool, answered by a stand-in
// tool on the ring that lays its records out as the tool does: what is
// copied from an answer, which channel entries count, and answers that are
// missing, empty or unusable.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/globals/host_globals.h"
#include "key_setter/master/clip_set_questions.h"
#include "key_setter/master/ring_records.h"
#include "sim/host.h"

namespace {

using lwp::cks::ClipSetChannelReply;
using lwp::cks::ClipSetInfoReply;
using lwp::cks::ClipSetSequence;
using ::testing::ElementsAre;
using ::testing::Field;
using ::testing::IsEmpty;
using ::testing::Pair;
using ::testing::UnorderedElementsAre;

struct Entry {
  LWItemID item;
  LWChannelID channel;
};

// The tool's side: its names and its clip-set record, whose sequences of
// 144-byte channel entries start at byte 32, one per clone.
class StandInTool {
 public:
  std::vector<std::string> names;
  std::string clipSet;
  int index = 0;
  bool answers = true;
  bool withRecord = true;

  void setClones(const std::vector<std::vector<Entry>> &clones) {
    entries_.assign(clones.size(), {});
    record_.assign(lwp::cks::kClipSetSequencesOffset + clones.size() * sizeof(ClipSetSequence), 0xEE);
    for (std::size_t clone = 0; clone < clones.size(); ++clone) {
      std::vector<unsigned char> &bytes = entries_[clone];
      bytes.assign(clones[clone].size() * lwp::cks::kClipSetEntrySize, 0xEE);
      for (std::size_t i = 0; i < clones[clone].size(); ++i) {
        unsigned char *entry = bytes.data() + i * lwp::cks::kClipSetEntrySize;
        std::memcpy(entry + lwp::cks::kClipSetEntryItemOffset, &clones[clone][i].item, sizeof(LWItemID));
        std::memcpy(entry + lwp::cks::kClipSetEntryChannelOffset, &clones[clone][i].channel, sizeof(LWChannelID));
      }
      setSequence(clone, {bytes.data(), bytes.data() + bytes.size(), bytes.data() + bytes.size()});
    }
  }
  void setSequence(std::size_t clone, ClipSetSequence sequence) {
    std::memcpy(record_.data() + lwp::cks::kClipSetSequencesOffset + clone * sizeof sequence, &sequence,
                sizeof sequence);
  }
  const unsigned char *entryBytes(std::size_t clone) const { return entries_[clone].data(); }

  void answer(int question, void *reply) {
    if (!answers || reply == nullptr) return;
    if (question == lwp::cks::kClipSetInfoQuestion) answerInfo(*static_cast<ClipSetInfoReply *>(reply));
    if (question == lwp::cks::kClipSetChannelQuestion) answerChannels(*static_cast<ClipSetChannelReply *>(reply));
  }

 private:
  void answerInfo(ClipSetInfoReply &reply) {
    pointers_.clear();
    for (const std::string &name : names) pointers_.push_back(name.c_str());
    nameSequence_ = {pointers_.data(), pointers_.data() + pointers_.size(), pointers_.data() + pointers_.size()};
    reply = {1, &nameSequence_, clipSet.c_str(), index};
  }
  void answerChannels(ClipSetChannelReply &reply) {
    reply = {1, 0xFFFFFFFFFFFFFFFFull, withRecord ? record_.data() : nullptr, index};
  }

  std::vector<const char *> pointers_;
  ClipSetSequence nameSequence_{};
  std::vector<std::vector<unsigned char>> entries_;
  std::vector<unsigned char> record_;
};

class ClipSetQuestions : public ::testing::Test {
 protected:
  void SetUp() override {
    lwp::CHostGlobals::instance().acquire(lwsim::GlobalRegistry::function());
    lwsim::SceneItem &body = host_.scene().addObject("Body", "body.lwo");
    host_.scene().addMorphMap(body, "Face.Smile");
    host_.scene().ensureChannel(body, "Extra.Knob");
    lwsim::SceneItem &arm = host_.scene().addBone(body, "Arm");
    body_ = reinterpret_cast<LWItemID>(body.id);
    arm_ = reinterpret_cast<LWItemID>(arm.id);
  }
  void listen() {
    host_.ring().attach(lwp::cks::kClipSetTopic, &tool_, [this](int code, void *data) { tool_.answer(code, data); });
  }
  LWChannelID channel(LWItemID item, const std::string &path) {
    return reinterpret_cast<LWChannelID>(&host_.scene().ensureChannel(*host_.scene().find(item), path));
  }

  lwsim::Host host_;
  StandInTool tool_;
  LWItemID body_ = nullptr;
  LWItemID arm_ = nullptr;
};

auto recorded(LWChannelID channel, int slot) {
  return ::testing::AllOf(Field(&lwp::cks::ClipSetChannel::channel, channel),
                          Field(&lwp::cks::ClipSetChannel::slot, slot));
}
auto itemWith(lwp::cks::ChannelMask mask, auto channels) {
  return ::testing::AllOf(Field(&lwp::cks::ClipSetItemChannels::mask, mask),
                          Field(&lwp::cks::ClipSetItemChannels::channels, channels));
}

TEST_F(ClipSetQuestions, InfoCopiesTheCharacterTheActiveCloneAndTheClipSet) {
  listen();
  tool_.names = {"Hero", "Hero_A", "Hero_B"};
  tool_.clipSet = "Walk";
  tool_.index = 2;
  const lwp::cks::ClipSetInfo info = lwp::cks::askClipSetInfo();
  tool_.names = {"gone", "gone", "gone"};  // the tool's strings change after the call
  tool_.clipSet = "gone";
  EXPECT_TRUE(info.answered);
  EXPECT_EQ(info.character, "Hero");
  EXPECT_EQ(info.clone, "Hero_B");
  EXPECT_EQ(info.clipSet, "Walk");
}

TEST_F(ClipSetQuestions, InfoNamesTheAnswerLacksAreEmpty) {
  listen();
  tool_.clipSet = "Run";
  for (int index : {3, -1, 100}) {
    tool_.names = {"Hero", "Hero_A", "Hero_B"};
    tool_.index = index;
    const lwp::cks::ClipSetInfo info = lwp::cks::askClipSetInfo();
    EXPECT_EQ(info.character, "Hero") << index;
    EXPECT_EQ(info.clone, "") << "no element " << index;
  }
  tool_.names.clear();
  tool_.index = 0;
  const lwp::cks::ClipSetInfo noNames = lwp::cks::askClipSetInfo();
  EXPECT_TRUE(noNames.answered);
  EXPECT_EQ(noNames.character, "");
  EXPECT_EQ(noNames.clone, "");
  EXPECT_EQ(noNames.clipSet, "Run");
}

TEST_F(ClipSetQuestions, WithoutAnAnswerNothingIsCopied) {
  lwp::cks::ClipSetInfo info = lwp::cks::askClipSetInfo();
  EXPECT_FALSE(info.answered) << "no tool listens";
  EXPECT_THAT(lwp::cks::askClipSetChannels(), IsEmpty());

  listen();
  tool_.answers = false;
  info = lwp::cks::askClipSetInfo();
  EXPECT_FALSE(info.answered) << "a tool that leaves valid at 0";
  EXPECT_EQ(info.character, "");
  EXPECT_THAT(lwp::cks::askClipSetChannels(), IsEmpty());

  // A listener that fills everything but valid has not answered.
  host_.ring().attach(lwp::cks::kClipSetTopic, nullptr, [this](int code, void *data) {
    if (code != lwp::cks::kClipSetChannelQuestion) return;
    tool_.answers = true;
    tool_.answer(code, data);
    tool_.answers = false;
    static_cast<ClipSetChannelReply *>(data)->valid = 0;
  });
  tool_.setClones({{{body_, channel(body_, "Position.X")}}});
  EXPECT_THAT(lwp::cks::askClipSetChannels(), IsEmpty());
}

TEST_F(ClipSetQuestions, ChannelsOfTheActiveCloneAreRecordedUnderTheirItems) {
  listen();
  const LWChannelID positionX = channel(body_, "Position.X");
  const LWChannelID rotationB = channel(body_, "Rotation.B");
  const LWChannelID scaleZ = channel(body_, "Scale.Z");
  const LWChannelID smile = channel(body_, "Face.Smile");
  const LWChannelID knob = channel(body_, "Extra.Knob");
  const LWChannelID armHeading = channel(arm_, "Rotation.H");
  tool_.setClones({
      {{body_, channel(body_, "Position.Y")}},
      {{body_, positionX},
       {arm_, armHeading},
       {nullptr, scaleZ},
       {body_, rotationB},
       {body_, nullptr},
       {nullptr, nullptr},
       {body_, smile},
       {body_, positionX},
       {body_, scaleZ},
       {body_, knob}},
  });
  tool_.index = 1;
  EXPECT_THAT(lwp::cks::askClipSetChannels(),
              UnorderedElementsAre(
                  Pair(body_, itemWith(0x001u | 0x020u | 0x100u,
                                       ElementsAre(recorded(positionX, 0), recorded(rotationB, 5), recorded(smile, 10),
                                                   recorded(scaleZ, 8), recorded(knob, 11)))),
                  Pair(arm_, itemWith(0x008u, ElementsAre(recorded(armHeading, 3))))));

  tool_.setClones({{{nullptr, positionX}, {body_, nullptr}}});
  tool_.index = 0;
  EXPECT_THAT(lwp::cks::askClipSetChannels(), IsEmpty()) << "an item with only zero entries is not recorded";
}

TEST_F(ClipSetQuestions, AnEmptyOrUnusableSequenceGivesNoChannels) {
  listen();
  tool_.setClones({{}, {{body_, channel(body_, "Position.X")}, {body_, channel(body_, "Position.Y")}}});
  tool_.index = 0;
  EXPECT_THAT(lwp::cks::askClipSetChannels(), IsEmpty()) << "empty sequence";
  tool_.index = -1;
  EXPECT_THAT(lwp::cks::askClipSetChannels(), IsEmpty()) << "negative index";
  tool_.index = 1;
  tool_.withRecord = false;
  EXPECT_THAT(lwp::cks::askClipSetChannels(), IsEmpty()) << "no clip-set record";
  tool_.withRecord = true;

  ASSERT_EQ(lwp::cks::askClipSetChannels().size(), 1u);
  const unsigned char *entries = tool_.entryBytes(1);
  const std::size_t size = 2 * lwp::cks::kClipSetEntrySize;
  const ClipSetSequence unusable[] = {
      {entries + size, entries, entries + size},      // ends before it begins
      {entries, entries + size - 8, entries + size},  // a partial entry
      {nullptr, entries + size, entries + size},      // no storage
  };
  for (const ClipSetSequence &sequence : unusable) {
    tool_.setSequence(1, sequence);
    EXPECT_THAT(lwp::cks::askClipSetChannels(), IsEmpty());
  }
}

}  // namespace
