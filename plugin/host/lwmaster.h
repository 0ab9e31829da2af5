/* Master handler and master interface records, host event codes. */
#ifndef LWHOST_LWMASTER_H
#define LWHOST_LWMASTER_H

#include "lwtypes.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct st_LWLoadState LWLoadState;
typedef struct st_LWSaveState LWSaveState;

/* Instance operations shared by every handler class. */
typedef struct st_LWInstanceFuncs {
  void *priv;
  LWInstance (*create)(void *priv, void *context, LWError *error);
  void (*destroy)(LWInstance instance);
  LWError (*copy)(LWInstance to, LWInstance from);
  LWError (*load)(LWInstance instance, const LWLoadState *state);
  LWError (*save)(LWInstance instance, const LWSaveState *state);
  const char *(*descln)(LWInstance instance);
} LWInstanceFuncs;

/* Item operations of a handler; the module leaves them as the host gave. */
typedef struct st_LWItemFuncs {
  const LWItemID *(*useItems)(LWInstance instance);
  void (*changeID)(LWInstance instance, const LWItemID *ids);
} LWItemFuncs;

/* Host event codes delivered to a master's event function. */
#define LWEVNT_NOTHING 0
#define LWEVNT_COMMAND 1
#define LWEVNT_TIME 2
#define LWEVNT_SELECT 3
#define LWEVNT_RENDER_DONE 4
#define LWEVNT_NOTIFY_PLUGIN_CHANGED 278

/* What a master's event function is given. */
typedef struct st_LWMasterAccess {
  int eventCode;
  const void *eventData; /* the command line for LWEVNT_COMMAND */
  void *data;
  LWCommandFunc *evaluate;
} LWMasterAccess;

#define LWMAST_SCENE 0
#define LWMAST_OBJECTS 1
#define LWMAST_LAYOUT 2

typedef struct st_LWMasterHandler {
  LWInstanceFuncs *inst;
  LWItemFuncs *item;
  int type;
  double (*event)(LWInstance instance, const LWMasterAccess *access);
  unsigned int (*flags)(LWInstance instance);
} LWMasterHandler;

/* Local record of a master interface server. */
typedef struct st_LWInterface {
  LWInstance inst;
  void *panel;
  LWError (*options)(LWInstance instance);
  LWError (*command)(LWInstance instance, const char *command);
} LWInterface;

#ifdef __cplusplus
}
#endif

#endif
