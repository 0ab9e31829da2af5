// Which items and channels a run works on: the scope, the item kinds, and
// the clip-set tool's items and channels when PoseClip is on.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "common/items/item_kind.h"
#include "key_operations_fixture.h"
#include "key_setter/master/ring_records.h"
#include "key_setter/operations/run_settings.h"

namespace key_operations_test {
namespace {

using lwp::cks::runOperation;
using ::testing::ElementsAre;
using ::testing::Pair;

// Answers the channel question as the clip-set tool lays its record out:
// one clone whose sequence of 144-byte entries starts at byte 32.
class ChannelListingTool {
 public:
  void list(const std::vector<std::pair<LWItemID, LWChannelID>> &entries) {
    entries_.assign(entries.size() * lwp::cks::kClipSetEntrySize, 0);
    for (std::size_t i = 0; i < entries.size(); ++i) {
      unsigned char *entry = entries_.data() + i * lwp::cks::kClipSetEntrySize;
      std::memcpy(entry + lwp::cks::kClipSetEntryItemOffset, &entries[i].first, sizeof(LWItemID));
      std::memcpy(entry + lwp::cks::kClipSetEntryChannelOffset, &entries[i].second, sizeof(LWChannelID));
    }
    const lwp::cks::ClipSetSequence sequence{entries_.data(), entries_.data() + entries_.size(),
                                             entries_.data() + entries_.size()};
    record_.assign(lwp::cks::kClipSetSequencesOffset + sizeof sequence, 0);
    std::memcpy(record_.data() + lwp::cks::kClipSetSequencesOffset, &sequence, sizeof sequence);
  }
  void answer(int question, void *reply) {
    if (question != lwp::cks::kClipSetChannelQuestion || reply == nullptr) return;
    *static_cast<lwp::cks::ClipSetChannelReply *>(reply) = {1, 0, record_.data(), 0};
  }

 private:
  std::vector<unsigned char> entries_;
  std::vector<unsigned char> record_;
};

class RunTargets : public KeyOperationsTest {
 protected:
  void SetUp() override {
    KeyOperationsTest::SetUp();
    parent_ = &addNull("Parent");
    child_ = &addNull("Child");
    mesh_ = &addMesh("Body");
    other_ = &addNull("Other");
    ASSERT_TRUE(scene().setParent(*child_, parent_));
    ASSERT_TRUE(scene().setParent(*mesh_, parent_));
    for (lwsim::SceneItem *item : {parent_, child_, mesh_, other_}) setKeys(x(*item), {{0, 1}, {5, 2}});
    ASSERT_EQ(run("SelectByName Parent"), 1);
  }
  lwsim::Channel &x(lwsim::SceneItem &item) { return channel(item, "Position.X"); }
  // Deletes the keys at frame 5 of the run's items; true per item whose key went.
  std::vector<bool> deletedAtFive(lwp::cks::RunSettings settings) {
    settings.operation = lwp::cks::kOpDeleteRange;
    settings.from = settings.to = 5;
    runOperation(settings);
    std::vector<bool> deleted;
    for (lwsim::SceneItem *item : {parent_, child_, mesh_, other_})
      deleted.push_back(x(*item).envelope().keyCount() == 1);
    return deleted;
  }
  void listen() {
    host().ring().attach(lwp::cks::kClipSetTopic, &tool_, [this](int code, void *data) { tool_.answer(code, data); });
  }

  lwsim::SceneItem *parent_ = nullptr;
  lwsim::SceneItem *child_ = nullptr;
  lwsim::SceneItem *mesh_ = nullptr;
  lwsim::SceneItem *other_ = nullptr;
  ChannelListingTool tool_;
};

TEST_F(RunTargets, TheScopeChoosesTheSelectionItsDescendantsOrEveryItem) {
  auto settings = settingsFor(lwp::cks::kOpDeleteRange);
  settings.scope = lwp::kTargetSelection;
  EXPECT_THAT(deletedAtFive(settings), ElementsAre(true, false, false, false));
  history().undo();
  settings.scope = lwp::kTargetWithDescendants;
  EXPECT_THAT(deletedAtFive(settings), ElementsAre(true, true, true, false));
  history().undo();
  settings.scope = lwp::kTargetAllItems;
  EXPECT_THAT(deletedAtFive(settings), ElementsAre(true, true, true, true));
}

TEST_F(RunTargets, ItemsOfADisabledKindAreLeftAlone) {
  auto settings = settingsFor(lwp::cks::kOpDeleteRange);
  settings.scope = lwp::kTargetAllItems;
  settings.kinds[lwp::kKindMesh] = false;
  EXPECT_THAT(deletedAtFive(settings), ElementsAre(true, true, false, true));
  history().undo();
  settings.kinds[lwp::kKindMesh] = true;
  settings.kinds[lwp::kKindNull] = false;
  EXPECT_THAT(deletedAtFive(settings), ElementsAre(false, false, true, false));
}

TEST_F(RunTargets, PoseClipTakesTheToolsItemsAndChannelsWhateverTheScope) {
  listen();
  lwsim::Channel &childY = channel(*child_, "Position.Y");
  lwsim::Channel &meshKnob = channel(*mesh_, "Extra.Knob");
  setKeys(childY, {{0, 1}, {5, 2}});
  setKeys(meshKnob, {{0, 1}, {5, 2}});
  tool_.list({{idOf(*child_), idOf(childY)}, {idOf(*other_), idOf(x(*other_))}, {idOf(*mesh_), idOf(meshKnob)}});
  auto settings = settingsFor(lwp::cks::kOpDeleteRange);
  settings.poseClip = true;
  settings.misc = true;
  settings.kinds[lwp::kKindMesh] = false;
  EXPECT_THAT(deletedAtFive(settings), ElementsAre(false, false, false, true));
  EXPECT_THAT(keysOf(childY), ElementsAre(Pair(0, 1)));
  EXPECT_THAT(keysOf(meshKnob), ElementsAre(Pair(0, 1), Pair(5, 2)));
}

TEST_F(RunTargets, PoseClipWithoutTheToolDoesNothingAndCommitsAnEmptyGroup) {
  auto settings = settingsFor(lwp::cks::kOpDeleteRange);
  settings.poseClip = true;
  EXPECT_THAT(deletedAtFive(settings), ElementsAre(false, false, false, false));
  ASSERT_NE(committedGroup(), nullptr);
  EXPECT_TRUE(committedGroup()->entries().empty());
}

TEST_F(RunTargets, PoseClipCreateKeyTakesEnvelopeValuesNotThePose) {
  listen();
  tool_.list({{idOf(*child_), idOf(x(*child_))}});
  host().pose().set(*child_, 0, 9.0);
  auto settings = settingsFor(lwp::cks::kOpCreateKey);
  settings.poseClip = true;
  settings.frame = 5;
  runOperation(settings);
  EXPECT_THAT(keysOf(x(*child_)), ElementsAre(Pair(0, 1), Pair(5, 1)));
  EXPECT_THAT(keysOf(channel(*child_, "Position.Y")), ElementsAre(Pair(0, 0)));
}

TEST_F(RunTargets, PoseClipProbesEvenAnItemWithoutMotionChannels) {
  listen();
  lwsim::Channel &knob = channel(*child_, "Extra.Knob");
  setKeys(knob, {{0, 0.5}});
  tool_.list({{idOf(*child_), idOf(knob)}});
  auto settings = settingsFor(lwp::cks::kOpCreateKey);
  settings.poseClip = true;
  settings.misc = true;
  settings.frame = 5;
  runOperation(settings);
  EXPECT_THAT(fixture_.commandLines(), ::testing::Contains("CreateKey 0.166666666666667 0 0x000"));
  EXPECT_THAT(keysOf(knob), ElementsAre(Pair(0, 0.5), Pair(5, 0.5)));
}

}  // namespace
}  // namespace key_operations_test
