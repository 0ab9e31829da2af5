// Key transfer between envelopes and clip channels, parameter channels and
// the commands that apply them, and the options' two sets of defaults.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "clip_io/model/anim_fn.h"
#include "clip_io/model/param_handlers.h"
#include "clip_io/panels/clip_options.h"
#include "common/globals/clip_globals.h"
#include "sim/host.h"

namespace {

using lwp::akio::AnimClipChannel;
using lwp::akio::AnimClipKey;
using lwp::akio::CLWAnimFn;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

LWItemID idOf(const lwsim::SceneItem &item) { return reinterpret_cast<LWItemID>(item.id); }
LWChannelID idOf(lwsim::Channel &channel) { return reinterpret_cast<LWChannelID>(&channel); }

AnimClipKey clipKey(double time, double value, int shape = 0) {
  AnimClipKey key;
  key.time = time;
  key.value = value;
  key.shape = shape;
  return key;
}

class ClipHandlers : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(lwp::acquireClipGlobals(lwsim::GlobalRegistry::function()));
    ball_ = &host_.scene().addObject("Ball");
    channel_ = &host_.scene().ensureChannel(*ball_, "Extra.Knob");
  }

  lwsim::Envelope &envelope() { return channel_->envelope(); }
  std::vector<double> times() {
    std::vector<double> out;
    for (std::size_t i = 0; i < envelope().keyCount(); ++i) out.push_back(envelope().key(i).time);
    return out;
  }
  std::vector<std::string> commands() const {
    std::vector<std::string> lines;
    for (const lwsim::CommandRecord &record : host_.commands().log()) lines.push_back(record.line);
    return lines;
  }
  static CLWAnimFn window(double start, double end) {
    CLWAnimFn transfer;
    transfer.timeStart = start;
    transfer.timeEnd = end;
    return transfer;
  }

  lwsim::Host host_;
  lwsim::SceneItem *ball_ = nullptr;
  lwsim::Channel *channel_ = nullptr;
};

TEST_F(ClipHandlers, ReadingTakesTheWindowsKeysWithEveryFieldAndTheOffset) {
  for (const double time : {0.5, 1.0, 1.5, 2.0}) envelope().createKey(time, time * 10.0);
  *envelope().findKey(1.5) = {1.5, 15.0, 5, 0.1, 0.2, 0.3, {-0.25, 0.5, 0.75, -1.0}};
  CLWAnimFn transfer = window(1.0, 2.0);
  transfer.timeOffset = 10.0;
  const AnimClipChannel channel = transfer.readKeys(idOf(*ball_), idOf(*channel_));
  EXPECT_EQ(channel.name, "Extra.Knob");
  ASSERT_EQ(channel.keys.size(), 2u);  // 1.0 in, 2.0 out
  EXPECT_EQ(channel.keys[0].time, 11.0);
  EXPECT_EQ(channel.keys[0].value, 10.0);
  const AnimClipKey &bezier = channel.keys[1];
  EXPECT_EQ(bezier.time, 11.5);
  EXPECT_EQ(bezier.shape, 5);
  EXPECT_EQ(bezier.tension, 0.1);
  EXPECT_EQ(bezier.continuity, 0.2);
  EXPECT_EQ(bezier.bias, 0.3);
  EXPECT_EQ(bezier.param0, -0.25);
  EXPECT_EQ(bezier.param1, 0.5);
  EXPECT_EQ(bezier.param2, 0.75);
  EXPECT_EQ(bezier.param3, -1.0);
  EXPECT_GE(channel.keys.capacity(), 128u);
}

TEST_F(ClipHandlers, WritingMapsValuesAndKeepsShapesWithinTheWindow) {
  AnimClipKey bezier = clipKey(1.0, 2.0, 5);
  bezier.param0 = 0.25;
  bezier.param3 = -0.5;
  bezier.tension = 0.75;
  const AnimClipChannel clip{"Extra.Knob", {clipKey(0.0, 1.0), bezier, clipKey(2.0, 3.0)}};
  CLWAnimFn transfer = window(0.0, 2.0);
  transfer.timeOffset = 0.5;
  transfer.writeKeys(idOf(*channel_), clip, 1.0, -2.0);
  EXPECT_THAT(times(), ElementsAre(0.5, 1.5));
  EXPECT_EQ(envelope().key(0).value, -4.0);  // (1 + 1) * -2
  const lwsim::EnvelopeKey &written = envelope().key(1);
  EXPECT_EQ(written.value, -6.0);
  EXPECT_EQ(written.shape, 5);
  EXPECT_EQ(written.tension, 0.75);
  EXPECT_EQ(written.params, (std::array<double, 4>{0.25, 0.0, 0.0, -0.5}));
  // A value that overflows on its way is passed over, and a key the host
  // refuses is not written: each is counted.
  LWEnvelopeFuncs refusing = *lwp::CClipGlobals::instance().envelopes();
  refusing.createKey = [](LWEnvelopeID, LWTime, double) -> LWEnvKeyframeID { return nullptr; };
  host_.globals().provideRecord(LWENVELOPEFUNCS_GLOBAL, &refusing);
  ASSERT_TRUE(lwp::acquireClipGlobals(lwsim::GlobalRegistry::function()));
  const lwp::akio::KeyWriteCount count =
      transfer.writeKeys(idOf(*channel_), {"Extra.Knob", {clipKey(1.0, 1e308), clipKey(0.25, 1.0)}}, 0.0, 10.0);
  EXPECT_EQ(count.skipped, 1u);
  EXPECT_EQ(count.refused, 1u);
  EXPECT_THAT(times(), ElementsAre(0.5, 1.5));
}

TEST_F(ClipHandlers, DeletionTakesTheWindowOrEverythingOfAChannelTheClipKeys) {
  for (const double time : {0.0, 1.0, 2.0, 3.0}) envelope().createKey(time, 0.0);
  const AnimClipChannel clip{"Extra.Knob", {clipKey(5.0, 1.0)}};

  CLWAnimFn transfer = window(0.0, 10.0);
  transfer.deleteMode = 1;
  transfer.deleteStart = 2.0;
  transfer.deleteEnd = 2.0;  // an empty window deletes nothing
  transfer.writeKeys(idOf(*channel_), clip, 0.0, 1.0);
  EXPECT_THAT(times(), ElementsAre(0.0, 1.0, 2.0, 3.0, 5.0));

  transfer.deleteStart = 1.0;
  transfer.deleteEnd = 3.0;
  transfer.writeKeys(idOf(*channel_), clip, 0.0, 1.0);
  EXPECT_THAT(times(), ElementsAre(0.0, 3.0, 5.0));

  // A clip channel without a key in the window deletes nothing, whatever the
  // mode; with one, Delete All leaves only the clip's keys.
  for (const int mode : {1, 2}) {
    transfer = window(10.0, 20.0);
    transfer.deleteMode = mode;
    transfer.deleteEnd = 10.0;
    transfer.writeKeys(idOf(*channel_), clip, 0.0, 1.0);
    EXPECT_THAT(times(), ElementsAre(0.0, 3.0, 5.0)) << mode;
  }
  transfer = window(0.0, 10.0);
  transfer.deleteMode = 2;
  transfer.writeKeys(idOf(*channel_), {"Extra.Knob", {clipKey(4.0, 1.0)}}, 0.0, 1.0);
  EXPECT_THAT(times(), ElementsAre(4.0));
}

TEST_F(ClipHandlers, FindingChannelsAndFirstValues) {
  const std::vector<AnimClipChannel> channels = {
      {"Position.X", {clipKey(0.0, 1.0)}}, {"position.x", {}}, {"Position.X", {clipKey(0.0, 2.0)}}};
  ASSERT_NE(lwp::akio::findClipChannel(channels, "Position.X"), nullptr);
  EXPECT_EQ(lwp::akio::findClipChannel(channels, "Position.X"), &channels[0]);
  EXPECT_EQ(lwp::akio::findClipChannel(channels, "position.x"), &channels[1]);
  EXPECT_EQ(lwp::akio::findClipChannel(channels, "Position.X "), nullptr);
  EXPECT_EQ(lwp::akio::firstKeyValue(channels[2]), 2.0);
  EXPECT_EQ(lwp::akio::firstKeyValue(channels[1]), 0.0);
}

TEST_F(ClipHandlers, IntegerCommandsRoundHalfUpWithinTheRangeOfInt) {
  using lwp::akio::roundedCommandArg;
  EXPECT_EQ(roundedCommandArg(639.5), 640);
  EXPECT_EQ(roundedCommandArg(-0.5), 0);
  EXPECT_EQ(roundedCommandArg(-0.51), -1);
  EXPECT_EQ(roundedCommandArg(1e20), std::numeric_limits<int>::max());
  EXPECT_EQ(roundedCommandArg(-1e20), std::numeric_limits<int>::min());
  EXPECT_EQ(roundedCommandArg(std::nan("")), 0);
}

TEST_F(ClipHandlers, CameraParametersApplyOnlyWhenComplete) {
  lwsim::SceneItem &camera = host_.scene().addCamera("Cam");
  const lwp::akio::CLWCameraFn handler(idOf(camera));
  EXPECT_EQ(handler.itemName, "Cam");
  handler.setFrameSize({{"LWParam.camera.frameSizeY", {clipKey(0.0, 200.0)}}});
  EXPECT_THAT(commands(), IsEmpty());

  // A channel without keys sends 0, which the host refuses: an error line,
  // and the work goes on.
  handler.setFrameSize({{"LWParam.camera.frameSizeX", {clipKey(0.0, 639.5)}}, {"LWParam.camera.frameSizeY", {}}});
  handler.setZoomFactor({{"LWParam.camera.zoomFactor", {clipKey(0.0, 2.5)}}});
  handler.setFrameSize(
      {{"LWParam.camera.frameSizeX", {clipKey(0.0, 719.5)}}, {"LWParam.camera.frameSizeY", {clipKey(0.0, 575.49)}}});
  const std::string select = "SelectItem 0x30000000";
  EXPECT_THAT(commands(),
              ElementsAre(select, "FrameSize 640 0", "StatusMsg *** ERROR: eval( \"FrameSize 640 0\" ) !(0) ***",
                          select, "ZoomFactor 2.5000000000", select, "FrameSize 720 575"));
  EXPECT_EQ(camera.zoomFactor, 2.5);
  EXPECT_EQ(camera.resolutionWidth, 720);
  EXPECT_EQ(camera.resolutionHeight, 575);

  // With a zoom envelope the zoom is neither captured nor applied.
  host_.scene().ensureChannel(camera, "ZoomFactor");
  EXPECT_THAT(handler.getZoomFactor(), IsEmpty());
  const std::size_t before = commands().size();
  handler.setZoomFactor({{"LWParam.camera.zoomFactor", {clipKey(0.0, 9.0)}}});
  EXPECT_EQ(commands().size(), before);
}

TEST_F(ClipHandlers, SceneRangesAndSchematicPositionsGoOutAsCommands) {
  const lwp::akio::CLWSceneFn scene;
  EXPECT_EQ(scene.itemName, "LWScene");
  EXPECT_EQ(scene.item, nullptr);
  scene.setFrameRange({{"LWParam.scene.frameStep", {clipKey(0.0, 2.4)}},
                       {"LWParam.scene.frameStart", {}},
                       {"LWParam.scene.frameEnd", {clipKey(0.0, 99.5)}}});
  scene.setPreviewRange({{"LWParam.scene.previewFrameEnd", {clipKey(0.0, 7.0)}}});
  const lwp::akio::CLWItemFn ball(idOf(*ball_));
  ball.setSchemaPos({{"LWParam.item.schemaPosX", {clipKey(0.0, 1.5)}}});
  ball.setSchemaPos(
      {{"LWParam.item.schemaPosY", {clipKey(0.0, -2.0)}}, {"LWParam.item.schemaPosX", {clipKey(0.0, 1.5)}}});
  EXPECT_THAT(commands(), ElementsAre("FirstFrame 0", "LastFrame 100", "FrameStep 2", "PreviewLastFrame 7",
                                      "SelectItem 0x10000000", "SchematicPosition 1.5000000000 -2.0000000000"));
  EXPECT_EQ(ball_->schematicX, 1.5);
  EXPECT_EQ(ball_->schematicY, -2.0);
}

TEST(ClipOptions, SaveAndLoadDefaultsDifferWhereTheLoadConvertsAndReplaces) {
  const lwp::akio::ZaduDuzAVOptions save = lwp::akio::saveDefaults();
  const lwp::akio::ZaduDuzAVOptions load = lwp::akio::loadDefaults();
  for (const auto *options : {&save, &load}) {
    EXPECT_EQ(options->targetItems, 2);
    EXPECT_EQ(options->useNull + options->useMesh + options->useBone + options->useLight + options->useCamera, 5);
    EXPECT_EQ(options->usePosition + options->useRotation + options->useScale + options->useMorph + options->useMisc,
              5);
    EXPECT_EQ(options->useSchemaPosition + options->usePreviewRange + options->useRenderRange, 0);
    EXPECT_EQ(options->rangeStart, 1);
    EXPECT_EQ(options->rangeEnd, 100);
    EXPECT_EQ(options->nameConvertMode, 0);
  }
  EXPECT_EQ(save.destKeyMode, 0);
  EXPECT_EQ(load.destKeyMode, 2);
  EXPECT_EQ(save.deleteEnd, 0);
  EXPECT_EQ(load.deleteEnd, 120);
  EXPECT_EQ(save.checkFullPath, 0);
  EXPECT_EQ(load.checkFullPath, 1);
  EXPECT_EQ(save.replaceFrom + save.replaceTo + save.regexPattern + save.regexReplace, "");
  EXPECT_EQ(load.replaceFrom, "_L_");
  EXPECT_EQ(load.replaceTo, "_R_");
  EXPECT_EQ(load.regexPattern, "(.*)_L(.*)");
  EXPECT_EQ(load.regexReplace, "$1_R$2");

  lwp::akio::ZaduDuzAVOptions loaded = load;
  loaded.clips.resize(2);
  loaded.path = "/clips";
  loaded.fileFirstFrame = 3;
  loaded.fileLastFrame = 9;
  loaded.hasBasePose = true;
  loaded.clearClip();
  EXPECT_TRUE(loaded.clips.empty());
  EXPECT_EQ(loaded.path, "");
  EXPECT_EQ(loaded.fileFirstFrame + loaded.fileLastFrame, 0);
  EXPECT_FALSE(loaded.hasBasePose);
  EXPECT_EQ(loaded.replaceFrom, "_L_");
}

}  // namespace
