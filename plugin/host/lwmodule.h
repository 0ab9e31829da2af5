/* Module descriptor, server records, global lookup and activation protocol. */
#ifndef LWHOST_LWMODULE_H
#define LWHOST_LWMODULE_H

#include <stddef.h>

#include "lwtypes.h"

#ifdef __cplusplus
extern "C" {
#endif

#define MOD_SYSSYNC 0x04121994u
#define MOD_SYSVER 3u
#define MOD_MACHINE 0x300u

/* Use mode of a global lookup; the module always asks transiently. */
#define GFUSE_TRANSIENT 0

typedef void *GlobalFunc(const char *serviceName, int useMode);

/* Activation results. */
#define AFUNC_OK 0
#define AFUNC_BADVERSION 1
#define AFUNC_BADGLOBAL 2

typedef int ActivateFunc(int version, GlobalFunc *global, void *local, void *serverData);

typedef struct st_ServerRecord {
  const char *className;
  const char *name;
  ActivateFunc *activate;
  const void *tagInfo;
} ServerRecord;

typedef struct st_ModuleDescriptor {
  unsigned int sysSync;
  unsigned int sysVersion;
  unsigned int sysMachine;
  /* 4 bytes of padding sit here on 64-bit targets */
  void *(*startup)(void);
  void (*shutdown)(void *serverData);
  ServerRecord *serverDefs;
} ModuleDescriptor;

LW_STATIC_ASSERT(sizeof(void *) == 8, "the host is a 64-bit program");
LW_STATIC_ASSERT(offsetof(ModuleDescriptor, sysSync) == 0, "sysSync at 0");
LW_STATIC_ASSERT(offsetof(ModuleDescriptor, sysVersion) == 4, "sysVersion at 4");
LW_STATIC_ASSERT(offsetof(ModuleDescriptor, sysMachine) == 8, "sysMachine at 8");
LW_STATIC_ASSERT(offsetof(ModuleDescriptor, startup) == 16, "startup at 16");
LW_STATIC_ASSERT(offsetof(ModuleDescriptor, shutdown) == 24, "shutdown at 24");
LW_STATIC_ASSERT(offsetof(ModuleDescriptor, serverDefs) == 32, "serverDefs at 32");
LW_STATIC_ASSERT(sizeof(ModuleDescriptor) == 40, "descriptor is 40 bytes");
LW_STATIC_ASSERT(offsetof(ServerRecord, className) == 0, "className at 0");
LW_STATIC_ASSERT(offsetof(ServerRecord, name) == 8, "name at 8");
LW_STATIC_ASSERT(offsetof(ServerRecord, activate) == 16, "activate at 16");
LW_STATIC_ASSERT(offsetof(ServerRecord, tagInfo) == 24, "tagInfo at 24");
LW_STATIC_ASSERT(sizeof(ServerRecord) == 32, "server record is 32 bytes");

/* Server classes this module registers. */
#define LWLAYOUTGENERIC_CLASS "LayoutGeneric"
#define LWMASTER_HCLASS "MasterHandler"
#define LWMASTER_ICLASS "MasterInterface"

/* Interface versions the module accepts. */
#define LWLAYOUTGENERIC_VERSION 7
#define LWMASTER_VERSION 5

#ifdef __cplusplus
}
#endif

#endif
