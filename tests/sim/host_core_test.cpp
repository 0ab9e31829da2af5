// The host's core: one host at a time, its globals as a module looks them up
// (through the lookup function handed to activations), the refusals of its
// command interface, loading modules (what the host refuses to load, the
// real module's servers, a fresh module state for every host), master
// instances and the communication ring, and the panel and file-request
// services where the module's own tests do not reach.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "plugin/host/lwcomring.h"
#include "plugin/host/lwfilereq.h"
#include "plugin/host/lwglobals.h"
#include "plugin/host/lwhost.h"
#include "plugin/host/lwmodule.h"
#include "sim/host.h"
#include "sim/host_error.h"
#include "support/module_host.h"

namespace {

using lwsim::Control;
using lwsim::Panel;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::UnorderedElementsAre;

void *lookup(const char *id) { return lwsim::GlobalRegistry::function()(id, GFUSE_TRANSIENT); }
std::uint64_t integerAnswer(const char *id) { return reinterpret_cast<std::uintptr_t>(lookup(id)); }
int command(const std::string &line) { return lwsim::CommandInterpreter::function()(line.c_str()); }
// One host at a time (a refused second leaves the first current; no host, no
// globals, commands or ring); every offered global answers; the locale and
// system ids are whole integers; a member the host does not simulate answers
// a neutral value and is recorded.
TEST(Host, OneAtATimeWithItsGlobals) {
  EXPECT_THROW(lwsim::Host::current(), lwsim::HostError);
  EXPECT_EQ(command("StatusMsg nobody"), 0);
  EXPECT_EQ(lwsim::CommRing::record()->ringAttach(
                "topic", nullptr, +[](void *, void *, int, void *) {}),
            0);
  {
    lwsim::Host first;
    EXPECT_THROW(lwsim::Host second, lwsim::HostError);
    EXPECT_EQ(&lwsim::Host::current(), &first);
  }
  EXPECT_EQ(lwsim::Host::currentOrNull(), nullptr);
  EXPECT_EQ(lookup(LWPANELFUNCS_GLOBAL), nullptr);
  lwsim::Host host;
  EXPECT_EQ(lookup(LWCOMMANDFUNC_GLOBAL), reinterpret_cast<void *>(lwsim::CommandInterpreter::function()));
  for (const char *id : lwsim::Host::offeredGlobals()) EXPECT_NE(lookup(id), nullptr) << id;
  EXPECT_EQ(lookup("No Such Global"), nullptr);
  host.setLocaleId(0x7A5C'0000'0001'0411ull);
  host.setSystemId(LWSYS_SCREAMERNET | 0x42u);
  EXPECT_EQ(std::vector<std::uint64_t>({integerAnswer(LWLOCALEINFO_GLOBAL), integerAnswer(LWSYSTEMID_GLOBAL)}),
            std::vector<std::uint64_t>({0x7A5C'0000'0001'0411ull, LWSYS_SCREAMERNET | 0x42u}));

  EXPECT_EQ(static_cast<LWItemInfo *>(lookup(LWITEMINFO_GLOBAL))->target(nullptr), nullptr);
  EXPECT_EQ(static_cast<LWCameraInfo *>(lookup(LWCAMERAINFO_GLOBAL))->focalLength(nullptr, 1.0), 0.0);
  static_cast<LWPanelFuncs *>(lookup(LWPANELFUNCS_GLOBAL))->setParent(nullptr, nullptr);
  EXPECT_THAT(host.transcript().formatted(),
              ElementsAre("unsupported: LWItemInfo.target", "unsupported: LWCameraInfo.focalLength",
                          "unsupported: LWPanelFuncs.setParent"));
}

// A handler's result is the command's (one that throws refuses); a generic
// server needs a loaded module and runs with its arguments. (The module's
// tests read the command log and refuse and allow words.)
TEST(CommandInterpreter, RefusalsAndModuleServers) {
  lwsim::Host host;
  host.commands().define("Check", [](const std::string &argument) { return argument == "good"; });
  host.commands().define("Fails", [](const std::string &) -> bool { throw std::runtime_error("no such item"); });
  EXPECT_EQ(command("Generic_Probe"), 0);
  host.loadModule(LWSIM_FIXTURE_PROBE);
  const std::pair<const char *, int> lines[] = {
      {"Check good", 1},      {"Check bad", 0}, {"", 0}, {"Fails now", 0}, {"Generic_Probe first second", 1},
      {"Generic_Absent x", 0}};
  for (auto [line, result] : lines) EXPECT_EQ(command(line), result) << line;
  EXPECT_THAT(host.transcript().formatted(),
              ElementsAre("refused: Generic_Probe", "refused: Check bad", "refused: ", "refused: Fails now",
                          "status: probe locale=0x409 args=first second", "refused: Generic_Absent x"));
}

// The message of the HostError that loading path throws, or "" when none.
std::string loadError(lwsim::Host &host, const std::string &path) {
  try {
    host.loadModule(path);
  } catch (const lwsim::HostError &error) {
    return error.what();
  }
  return "";
}

// A missing file, no library, or a bad descriptor: refused naming the path
// and the reason; a refused module replaces the loaded one with none.
TEST(ModuleLoader, BadModulesAreRefused) {
  const std::string missing = testing::TempDir() + "no_such_module.p", text = testing::TempDir() + "text_module.p";
  std::ofstream(text) << "not a library\n";
  // clang-format off
  const std::pair<std::string, const char *> cases[] = {
      {missing, ""}, {text, ""}, {LWSIM_FIXTURE_NO_DESCRIPTOR, "_mod_descrip"},
      {LWSIM_FIXTURE_WRONG_SYNC, "sysSync 0x4121995"}, {LWSIM_FIXTURE_WRONG_VERSION, "sysVersion 0x2"},
      {LWSIM_FIXTURE_WRONG_MACHINE, "sysMachine 0x200"}, {LWSIM_FIXTURE_NULL_STARTUP, "failed to start"}};
  // clang-format on
  lwsim::Host host;
  for (const auto &[path, reason] : cases) {
    host.loadModule(LWSIM_FIXTURE_PROBE);
    const std::string message = loadError(host, path);
    EXPECT_THAT(message, HasSubstr(path));
    EXPECT_THAT(message, HasSubstr(reason)) << path;
    EXPECT_EQ(host.module(), nullptr) << path;
  }
  std::filesystem::remove(text);
  host.loadModule(LWSIM_FIXTURE_PROBE);
  ASSERT_NE(host.module(), nullptr);
  EXPECT_EQ(host.module()->servers().size(), 1u);
}

// A server of another class or name is refused, a master is no generic
// server nor the reverse; unloading drops the module's panels. The key setter
// looks its globals up once per loaded module, and every new host loads the
// module anew, so its first activation looks them all up again.
TEST(ModuleLoader, RealModuleServersPanelsAndAFreshModuleForEveryHost) {
  const auto activationLookups = [](lwsim::Host &host) {
    host.globals().clearLookupLog();
    EXPECT_EQ(host.activate("LayoutGeneric", "QD:VaruDudEdodav", 7), AFUNC_OK);
    return host.globals().lookupLog();
  };
  std::vector<std::string> first, repeated;
  {
    lwtest::ModuleHost fixture;
    first = activationLookups(fixture.host());
    repeated = activationLookups(fixture.host());
    EXPECT_THROW(fixture.activate("LayoutGeneric", "QD:NoSuchServer", 7), lwsim::HostError);
    EXPECT_THROW(fixture.activate("MasterHandler", "QD:VaruDudEdodav", 5), lwsim::HostError);
    EXPECT_EQ(command("Generic_.QD:ZaraRazEzedud") + command("ActivateMasterUnique QD:VaruDudEdodav"), 0);
    ASSERT_EQ(fixture.activate("LayoutGeneric", "QD:ZaduDuzAVSave", 7), AFUNC_OK);
    ASSERT_GT(fixture.host().panels().panelsCreated(), 0);
    fixture.host().unloadModule();
    EXPECT_EQ(fixture.host().panels().panelsCreated(), 0) << "unloading drops the module's panels";
    EXPECT_EQ(fixture.host().panels().openPanel(), nullptr);
    EXPECT_THROW(fixture.activate("LayoutGeneric", "QD:VaruDudEdodav", 7), lwsim::HostError);
  }
  ASSERT_GT(first.size(), repeated.size()) << "the first activation looks up more than later ones";
  lwtest::ModuleHost again;
  EXPECT_EQ(activationLookups(again.host()), first);
}

// ---- masters and the communication ring ----

// What listeners heard, as "name code" (and a command event's line).
class RingTest : public ::testing::Test {
 protected:
  void listen(const std::string &topic, const std::string &name) {
    host_.ring().attach(topic, client(name), [this, name](int code, void *data) { heard(name, code, data); });
  }
  void heard(const std::string &name, int code, void *data) {
    calls_.push_back(name + " " + std::to_string(code) +
                     (data == &payload_ ? " payload"
                      : data            ? std::string(" ") + static_cast<char *>(data)
                                        : ""));
  }
  // A client's data: one stable address per name.
  void *client(const std::string &name) { return const_cast<std::string *>(&*clients_.insert(name).first); }
  std::vector<std::string> take() { return std::exchange(calls_, {}); }

  // Declared before the host so that they outlive it: the fixture's masters
  // report their destruction while it goes.
  std::set<std::string> clients_;
  std::vector<std::string> calls_;
  char payload_ = 0;
  lwsim::Host host_;
};

class MasterServiceTest : public RingTest {
 protected:
  void SetUp() override {
    for (const char *name : {"events", "second", "failing"}) listen(std::string("probe.") + name, name);
    host_.loadModule(LWSIM_FIXTURE_MASTER_PROBE);
  }
  std::vector<std::string> reportsOf(const std::string &line, int result = 1) {
    take();
    EXPECT_EQ(host_.commands().run(line), result) << line;
    return take();
  }
};

// ActivateMasterUnique refuses unknown names, other servers and a failing
// create (tried anew each time) and makes each master once; masters hear
// accepted commands in creation order (the module's master tests follow the
// other events), a refused command tells nothing; unloading or reloading the
// module ends them.
TEST_F(MasterServiceTest, MastersAreMadeOnceHearTheSceneAndGoWithTheirModule) {
  std::vector<std::string> refusals;
  for (const char *line :
       {"ActivateMasterUnique Nobody", "ActivateMasterUnique Probe", "ActivateMasterUnique Failing Master",
        "ActivateMasterUnique", "ActivateMasterUnique Failing Master"}) {
    for (const std::string &report : reportsOf(line, 0)) refusals.push_back(report);
    EXPECT_THAT(host_.transcript().formatted(), Contains(std::string("refused: ") + line));
  }
  EXPECT_THAT(refusals, ElementsAre("failing -3", "failing -3"));
  EXPECT_THAT(host_.masters().instances(), IsEmpty());
  EXPECT_THAT(reportsOf("ActivateMasterUnique Probe Master"), Contains("events -1"));
  EXPECT_THAT(reportsOf("ActivateMasterUnique Probe Master"), Not(Contains("events -1"))) << "accepted, not made again";

  for (const char *refused : {"Position 1 2", "Bogus", "SelectItem 0x10000009"})
    EXPECT_THAT(reportsOf(refused, 0), IsEmpty()) << refused;
  ASSERT_EQ(host_.commands().run("ActivateMasterUnique Second Probe"), 1);
  EXPECT_THAT(reportsOf("StatusMsg both"), ElementsAre("events 1 StatusMsg both", "second 1 StatusMsg both"))
      << "in creation order";
  host_.unloadModule();
  EXPECT_THAT(take(), UnorderedElementsAre("events -2", "second -2"));
  EXPECT_THAT(host_.masters().instances(), IsEmpty());
  EXPECT_EQ(host_.commands().run("ActivateMasterUnique Probe Master"), 0) << "no module";
  host_.loadModule(LWSIM_FIXTURE_MASTER_PROBE);
  EXPECT_THAT(reportsOf("ActivateMasterUnique Probe Master"), Contains("events -1")) << "a new module, a new instance";
  host_.loadModule(LWSIM_FIXTURE_MASTER_PROBE);
  EXPECT_THAT(take(), ElementsAre("events -2"));
  EXPECT_THAT(host_.masters().instances(), IsEmpty());
}

// A listener may detach itself or a later one during a delivery; a message
// sent during a delivery is delivered before it returns; topics match exactly.
// (The module's tests follow C listeners' client data and replies.)
TEST_F(RingTest, MessagesReachTheListenersOfTheirTopicInAttachOrder) {
  lwsim::CommRing &ring = host_.ring();
  listen("clip", "first");
  listen("other", "first");
  ring.attach("clip", client("once"), [this, &ring](int code, void *data) {
    heard("once", code, data);
    ring.detach("clip", client("once"));
  });
  ring.attach("clip", client("remover"), [this, &ring](int code, void *data) {
    heard("remover", code, data);
    ring.detach("clip", client("victim"));
  });
  ring.attach("clip", client("relay"), [&ring](int code, void *) { ring.message("inner", code + 1, nullptr); });
  listen("clip", "victim");
  listen("clip", "last");
  listen("inner", "inner");
  ring.message("clip", 5, &payload_);
  EXPECT_THAT(take(),
              ElementsAre("first 5 payload", "once 5 payload", "remover 5 payload", "inner 6", "last 5 payload"));
  EXPECT_EQ(ring.listenerCount("clip"), 4u);

  ring.detach("clip", client("first"));
  ring.detach("clip", client("never attached"));
  ring.detach("absent", client("last"));
  for (const char *topic : {"clip", "other", "Clip", "clip ", "nobody"}) ring.message(topic, 1, nullptr);
  EXPECT_THAT(take(), ElementsAre("remover 1", "inner 2", "last 1", "first 1"));

  // Through the global's record: a listener needs a topic and a callback; it
  // is the module's code and goes with it, while the host's own stay.
  LWComRing *record = lwsim::CommRing::record();
  const auto callback = +[](void *, void *, int, void *) {};
  EXPECT_EQ(record->ringAttach("clip", &payload_, nullptr) + record->ringAttach(nullptr, &payload_, callback), 0);
  EXPECT_EQ(record->ringAttach("clip", &payload_, callback), 1);
  host_.unloadModule();
  EXPECT_EQ(ring.listenerCount("clip"), 3u);
}

// ---- panels and file requests ----

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
  EXPECT_EQ(panelOf(id).findControl("Scale"), Control::from(hidden)) << "a refresh keeps the state";

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
  Dialog older(FREQ_LOAD, 48);
  EXPECT_EQ(older.open(LWFILEREQ_VERSION - 1), AFUNC_BADVERSION);
  EXPECT_EQ(older.local.result, -7);
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
