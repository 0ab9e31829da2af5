#include "scene_directives.h"

#include "scene_report.h"
#include "script_words.h"

namespace lwsim {

namespace {

// Three numbers from args[first]; angles given in degrees come back in radians.
Vector3 vectorArgument(const Words &args, std::size_t first, const char *what, double unit = 1.0) {
  Vector3 v{};
  for (std::size_t i = 0; i < 3; ++i) v[i] = numberArgument(args[first + i], what) * unit;
  return v;
}

FrameRange rangeArgument(const Words &args) {
  FrameRange range{integerArgument(args[0], "frame"), integerArgument(args[1], "frame"),
                   integerArgument(args[2], "frame step")};
  if (range.step <= 0) throw DirectiveError("the frame step must be positive");
  return range;
}

}  // namespace

void SceneDirectives::addTo(DirectiveTable &table) {
  const std::pair<const char *, void (SceneDirectives::*)(const Words &)> directives[] = {
      {"parent", &SceneDirectives::parent},       {"key", &SceneDirectives::key},
      {"behavior", &SceneDirectives::behavior},   {"channel", &SceneDirectives::addChannel},
      {"morph", &SceneDirectives::morph},         {"pivot", &SceneDirectives::pivot},
      {"rest", &SceneDirectives::rest},           {"camera", &SceneDirectives::camera},
      {"schematic", &SceneDirectives::schematic}, {"fps", &SceneDirectives::fps},
      {"preview", &SceneDirectives::preview},     {"render", &SceneDirectives::render},
      {"file", &SceneDirectives::file},           {"dump", &SceneDirectives::dump},
      {"eval", &SceneDirectives::eval},           {"selection", &SceneDirectives::selection},
      {"autokey", &SceneDirectives::autokey},     {"masters", &SceneDirectives::masters},
  };
  for (const auto &[name, member] : directives)
    table[name] = [this, member = member](const Words &args) { (this->*member)(args); };
}

SceneItem &SceneDirectives::item(const std::string &name) const {
  SceneItem *found = host_.scene().findByName(name);
  if (found == nullptr) throw DirectiveError("no item " + quoteWord(name));
  return *found;
}

Channel &SceneDirectives::channel(const SceneItem &owner, const std::string &path) const {
  Channel *found = host_.scene().findChannel(owner, path);
  if (found == nullptr) throw DirectiveError("no channel " + quoteWord(path) + " of " + quoteWord(owner.name));
  return *found;
}

void SceneDirectives::parent(const Words &args) {
  requireArguments(args, 2, 2, "@parent CHILD PARENT|-");
  SceneItem &child = item(args[0]);
  SceneItem *newParent = args[1] == "-" ? nullptr : &item(args[1]);
  if (!host_.scene().setParent(child, newParent)) throw DirectiveError("parenting would make a cycle");
}

// Replaces a key at exactly that time, shape and parameters included.
void SceneDirectives::key(const Words &args) {
  requireArguments(args, 4, 9, "@key ITEM PATH SECONDS VALUE [SHAPE [A B C [D]]]");
  if (args.size() == 6 || args.size() == 7) throw DirectiveError("a key's parameters come as A B C or A B C D");
  SceneItem &owner = item(args[0]);
  const double seconds = numberArgument(args[2], "time");
  const double value = numberArgument(args[3], "value");
  const int shape = args.size() > 4 ? integerArgument(args[4], "shape") : 0;
  if (shape < 0 || shape > 5) throw DirectiveError("a key's shape is 0 to 5");
  std::array<double, 4> params{};
  for (std::size_t i = 5; i < args.size(); ++i) params[i - 5] = numberArgument(args[i], "key parameter");
  EnvelopeKey &key = *host_.scene().ensureChannel(owner, args[1]).envelope().createKey(seconds, value);
  key.shape = shape;
  key.tension = shape == 0 ? params[0] : 0.0;
  key.continuity = shape == 0 ? params[1] : 0.0;
  key.bias = shape == 0 ? params[2] : 0.0;
  key.params = shape == 0 ? std::array<double, 4>{} : params;
}

void SceneDirectives::behavior(const Words &args) {
  requireArguments(args, 4, 4, "@behavior ITEM PATH PRE POST");
  Envelope &envelope = channel(item(args[0]), args[1]).envelope();
  const int pre = integerArgument(args[2], "behaviour");
  const int post = integerArgument(args[3], "behaviour");
  if (pre < 0 || pre > 5 || post < 0 || post > 5) throw DirectiveError("a behaviour is 0 to 5");
  envelope.setPreBehavior(pre);
  envelope.setPostBehavior(post);
}

void SceneDirectives::addChannel(const Words &args) {
  requireArguments(args, 2, 2, "@channel ITEM PATH");
  SceneItem &owner = item(args[0]);
  if (args[1].empty()) throw DirectiveError("a channel needs a name");
  if (host_.scene().findChannel(owner, args[1]) != nullptr)
    throw DirectiveError(quoteWord(owner.name) + " already has channel " + quoteWord(args[1]));
  host_.scene().ensureChannel(owner, args[1]);
}

void SceneDirectives::morph(const Words &args) {
  requireArguments(args, 2, 2, "@morph OBJECT VMAP");
  SceneItem &object = item(args[0]);
  if (object.type != kObject) throw DirectiveError(quoteWord(object.name) + " is not an object");
  if (args[1].empty()) throw DirectiveError("a vertex map needs a name");
  host_.scene().addMorphMap(object, args[1]);
}

void SceneDirectives::pivot(const Words &args) {
  requireArguments(args, 4, 7, "@pivot ITEM X Y Z [H P B]");
  if (args.size() != 4 && args.size() != 7) throw DirectiveError("usage: @pivot ITEM X Y Z [H P B]");
  SceneItem &target = item(args[0]);
  target.pivot = vectorArgument(args, 1, "position");
  if (args.size() == 7) target.pivotRotation = vectorArgument(args, 4, "angle", kRadiansPerDegree);
}

void SceneDirectives::rest(const Words &args) {
  requireArguments(args, 7, 7, "@rest BONE X Y Z H P B");
  SceneItem &bone = item(args[0]);
  if (bone.type != kBone) throw DirectiveError(quoteWord(bone.name) + " is not a bone");
  bone.restPosition = vectorArgument(args, 1, "position");
  bone.restRotation = vectorArgument(args, 4, "angle", kRadiansPerDegree);
}

void SceneDirectives::camera(const Words &args) {
  requireArguments(args, 4, 4, "@camera CAMERA ZOOM WIDTH HEIGHT");
  SceneItem &target = item(args[0]);
  if (target.type != kCamera) throw DirectiveError(quoteWord(target.name) + " is not a camera");
  target.zoomFactor = numberArgument(args[1], "zoom factor");
  target.resolutionWidth = integerArgument(args[2], "width");
  target.resolutionHeight = integerArgument(args[3], "height");
}

void SceneDirectives::schematic(const Words &args) {
  requireArguments(args, 3, 3, "@schematic ITEM X Y");
  SceneItem &target = item(args[0]);
  target.schematicX = numberArgument(args[1], "position");
  target.schematicY = numberArgument(args[2], "position");
}

void SceneDirectives::fps(const Words &args) {
  requireArguments(args, 1, 1, "@fps N");
  const double fps = numberArgument(args[0], "frame rate");
  if (!(fps > 0.0)) throw DirectiveError("the frame rate must be positive");
  host_.scene().setFramesPerSecond(fps);
}

void SceneDirectives::preview(const Words &args) {
  requireArguments(args, 3, 3, "@preview FIRST LAST STEP");
  host_.scene().previewRange() = rangeArgument(args);
}

void SceneDirectives::render(const Words &args) {
  requireArguments(args, 3, 3, "@render FIRST LAST STEP");
  host_.scene().renderRange() = rangeArgument(args);
}

void SceneDirectives::file(const Words &args) {
  requireArguments(args, 1, 1, "@file PATH|cancel");
  if (args[0] == "cancel")
    host_.fileRequester().queueCancel();
  else
    host_.fileRequester().queueAnswer(args[0]);
}

void SceneDirectives::dump(const Words &args) {
  requireArguments(args, 1, 2, "@dump ITEM [PATH]");
  const SceneItem &owner = item(args[0]);
  const std::vector<Channel *> channels =
      args.size() == 2 ? std::vector<Channel *>{&channel(owner, args[1])} : ownChannels(owner);
  for (const Channel *each : channels)
    for (const std::string &line : dumpChannel(owner, *each)) out_ << line << '\n';
}

void SceneDirectives::eval(const Words &args) {
  requireArguments(args, 3, 3, "@eval ITEM PATH SECONDS");
  const SceneItem &owner = item(args[0]);
  out_ << valueLine(owner, channel(owner, args[1]), numberArgument(args[2], "time")) << '\n';
}

void SceneDirectives::selection(const Words &args) {
  requireArguments(args, 0, 0, "@selection");
  out_ << selectionLine(host_.scene()) << '\n';
}

// The scene's master instances as Layout lists them: name, description line
// and flags.
void SceneDirectives::masters(const Words &args) {
  requireArguments(args, 0, 0, "@masters");
  for (const auto &master : host_.masters().instances())
    out_ << "master: " << quoteWord(master->name) << ' ' << quoteWord(master->description())
         << " flags=" << master->flags() << '\n';
}

// Layout's Auto Key Create mode.
void SceneDirectives::autokey(const Words &args) {
  static const std::pair<const char *, int> kModes[] = {
      {"off", LWAKC_OFF}, {"modified", LWAKC_MODIFIED}, {"all", LWAKC_ALL}, {"existing", LWAKC_EXISTING}};
  const char *usage = "@autokey off|modified|all|existing";
  requireArguments(args, 1, 1, usage);
  for (const auto &[name, mode] : kModes) {
    if (args[0] != name) continue;
    host_.snapshots().setAutoKeyCreate(mode);
    return;
  }
  throw DirectiveError(std::string("usage: ") + usage);
}

}  // namespace lwsim
