/* Module descriptor, server records, global lookup and activation protocol. */
#ifndef LWHOST_LWMODULE_H
#define LWHOST_LWMODULE_H

#include "lwtypes.h"

#ifdef __cplusplus
extern "C" {
#endif

/* What the descriptor says of the module; the host refuses other values. */
static const unsigned int MOD_SYSSYNC = 0x04121994;
static const unsigned int MOD_SYSVER = 3;
#if defined(_WIN32)
static const unsigned int MOD_MACHINE = 0x300; /* Windows */
#else
static const unsigned int MOD_MACHINE = 0x500; /* Linux */
#endif

/* Use modes of a global lookup; the module always asks transiently. */
static const int GFUSE_TRANSIENT = 0;
static const int GFUSE_ACQUIRE = 1;
static const int GFUSE_RELEASE = 2;

/* The host's lookup: a service by its id, or null when the host lacks it. */
typedef void *GlobalFunc(LWCStringASCII serviceName, int useMode);

/* Activation results. */
static const int AFUNC_OK = 0;
static const int AFUNC_BADVERSION = 1;
static const int AFUNC_BADGLOBAL = 2;
static const int AFUNC_BADLOCAL = 3;
static const int AFUNC_BADAPP = 4;
static const int AFUNC_BADAPP_SILENT = 5;

typedef int ActivateFunc(int version, GlobalFunc *global, void *local, void *serverData);

/* A tagged text of a server (user name, menu, ...); a zero tag ends a list. */
typedef struct st_ServerTagInfo {
  LWCStringASCII string;
  unsigned int tag;
} ServerTagInfo;

typedef struct st_ServerRecord {
  LWCStringASCII className;
  LWCStringASCII name;
  ActivateFunc *activate;
  ServerTagInfo *tagInfo; /* null: no tagged texts */
} ServerRecord;

typedef struct st_ModuleDescriptor {
  unsigned int sysSync;
  unsigned int sysVersion;
  unsigned int sysMachine;
  void *(*startup)(void);
  void (*shutdown)(void *serverData);
  ServerRecord *serverDefs; /* ends with a record of null class */
} ModuleDescriptor;

/* Server classes this module registers, and the interface versions of each. */
#define LWLAYOUTGENERIC_CLASS "LayoutGeneric"
#define LWMASTER_HCLASS "MasterHandler"
#define LWMASTER_ICLASS "MasterInterface"

static const int LWLAYOUTGENERIC_VERSION = 7;
static const int LWMASTER_VERSION = 5;
static const int LWINTERFACE_VERSION = 5;

#ifdef __cplusplus
}
#endif

#endif
