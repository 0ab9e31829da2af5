/* Handler instances, the master handler and interface records, and the
   events Layout sends a master. */
#ifndef LWHOST_LWMASTER_H
#define LWHOST_LWMASTER_H

#include "lwtypes.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Instance operations shared by every handler class. */
typedef struct st_LWInstanceFuncs {
  void *priv;
  LWInstance (*create)(void *priv, void *context, LWError *error);
  void (*destroy)(LWInstance instance);
  LWError (*copy)(LWInstance to, LWInstance from);
  LWError (*load)(LWInstance instance, const LWLoadState *state);
  LWError (*save)(LWInstance instance, const LWSaveState *state);
  LWCStringUTF8 (*descln)(LWInstance instance);
} LWInstanceFuncs;

typedef struct st_LWNameChangeData {
  LWCStringUTF8 oldName;
  LWCStringUTF8 newName;
  LWItemID id;
} LWNameChangeData;

/* Item operations of a handler; the module leaves them as the host gave. */
typedef struct st_LWItemFuncs {
  const LWItemID *(*useItems)(LWInstance instance);
  void (*changeID)(LWInstance instance, const LWItemID *ids);
  void (*changeName)(LWInstance instance, const LWNameChangeData *change);
} LWItemFuncs;

/* Events of a master's event function. Notifications (codes from 0x100)
   reach only masters whose flags ask for them. */
static const int LWEVNT_NOTHING = 0;
static const int LWEVNT_COMMAND = 1; /* data: the command line */
static const int LWEVNT_TIME = 2;
static const int LWEVNT_SELECT = 3;
static const int LWEVNT_RENDER_DONE = 4;
static const int LWEVNT_NOTIFY_SCENE_LOAD_COMPLETE = 0x116; /* data: the scene file's name */

/* What a master's event function is given. */
typedef struct st_LWMasterAccess {
  int eventCode;
  void *eventData;
  void *data; /* the first argument of the three functions */
  LWCommandCode (*lookup)(void *data, LWCStringUTF8 commandName);
  int (*execute)(void *data, LWCommandCode command, int argc, const DynaValue *argv, DynaValue *result);
  int (*evaluate)(void *data, LWCStringUTF8 command);
} LWMasterAccess;

/* Master types: a scene master goes with its scene, a Layout master stays. */
static const int LWMAST_SCENE = 0;
static const int LWMAST_LAYOUT = 1;

/* Bits of a master's flags. */
static const unsigned int LWMASTF_LAYOUT = 1 << 0;
static const unsigned int LWMASTF_RECEIVE_NOTIFICATIONS = 1 << 1;

typedef struct st_LWMasterHandler {
  LWInstanceFuncs *inst;
  LWItemFuncs *item;
  int type;
  double (*event)(LWInstance instance, const LWMasterAccess *access);
  unsigned int (*flags)(LWInstance instance);
} LWMasterHandler;

/* Local record of a handler's interface server ("MasterInterface"). */
typedef void *LWXPanelID;

typedef struct st_LWInterface {
  LWInstance inst;
  LWXPanelID panel;
  LWError (*options)(LWInstance instance);
  LWError (*command)(LWInstance instance, LWCStringUTF8 command);
} LWInterface;

#ifdef __cplusplus
}
#endif

#endif
