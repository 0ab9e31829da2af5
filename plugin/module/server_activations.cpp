#include "server_activations.h"

#include "../clip_io/panels/load_labels.h"
#include "../clip_io/panels/load_panel.h"
#include "../clip_io/panels/save_labels.h"
#include "../clip_io/panels/save_panel.h"
#include "../common/commands/key_commands.h"
#include "../common/lwtool2.h"
#include "../key_setter/master/master.h"
#include "../key_setter/panel/key_setter_labels.h"
#include "../key_setter/panel/key_setter_server.h"

namespace lwp {

namespace {

// Process-wide buffer of the master activation command.
char gMasterCommand[256];

void reportClipError(const std::string &text) { errorMsg(text); }

// The key setter and the key deleter share everything up to their work:
// globals, labels, and making sure the one master is in the scene.
template <class Work>
int activateKeyTool(int version, GlobalFunc *global, void *local, Work work) noexcept {
  if (version != LWLAYOUTGENERIC_VERSION) return AFUNC_BADVERSION;
  return guardEntry(
      AFUNC_OK,
      [&] {
        CHostGlobals::instance().acquire(global);
        cks::keySetterLabels().choose(global);
        if (const char *missing = CHostGlobals::instance().missingToolService()) {
          keyErrorMsg(std::string("The host did not give \"") + missing + "\".");
          return AFUNC_OK;
        }
        auto *generic = static_cast<LWLayoutGeneric *>(local);
        if (generic == nullptr || generic->evaluate == nullptr) return AFUNC_OK;
        formatInto(gMasterCommand, sizeof gMasterCommand, "ActivateMasterUnique %s", kMasterName);
        generic->evaluate(generic->data, gMasterCommand);
        work(generic);
        return AFUNC_OK;
      },
      keyErrorMsg);
}

// Both clip servers set up both clip units before their own panel.
template <class OpenPanel>
int activateClipTool(int version, GlobalFunc *global, OpenPanel openPanel) noexcept {
  if (version != LWLAYOUTGENERIC_VERSION) return AFUNC_BADVERSION;
  return guardEntry(
      AFUNC_BADGLOBAL,
      [&] {
        if (!acquireClipGlobals(global)) return AFUNC_BADGLOBAL;
        akio::saveLabels().choose(global);
        akio::loadLabels().choose(global);
        return openPanel();
      },
      reportClipError);
}

}  // namespace

int activateKeySetter(int version, GlobalFunc *global, void *local, void *) noexcept {
  return activateKeyTool(version, global, local, cks::runKeySetter);
}

int activateKeyDeleter(int version, GlobalFunc *global, void *local, void *) noexcept {
  return activateKeyTool(version, global, local, cks::runKeyDeleter);
}

int activateMasterHandler(int version, GlobalFunc *global, void *local, void *) noexcept {
  if (version != LWMASTER_VERSION) return AFUNC_BADVERSION;
  return guardEntry(
      AFUNC_OK,
      [&] {
        CHostGlobals::instance().acquire(global);
        cks::fillMasterHandler(static_cast<LWMasterHandler *>(local), global);
        return AFUNC_OK;
      },
      keyErrorMsg);
}

// The master has no user interface.
int activateMasterInterface(int version, GlobalFunc *, void *local, void *) noexcept {
  if (version != LWMASTER_VERSION) return AFUNC_BADVERSION;
  auto *ui = static_cast<LWInterface *>(local);
  if (ui == nullptr) return AFUNC_OK;
  ui->panel = nullptr;
  ui->options = nullptr;
  ui->command = nullptr;
  return AFUNC_OK;
}

int activateClipSave(int version, GlobalFunc *global, void *, void *) noexcept {
  return activateClipTool(version, global, akio::activateSavePanel);
}

int activateClipLoad(int version, GlobalFunc *global, void *, void *) noexcept {
  return activateClipTool(version, global, akio::activateLoadPanel);
}

}  // namespace lwp
