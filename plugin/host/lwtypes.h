/* Basic types shared by every host record: text, opaque ids, time. */
#ifndef LWHOST_LWTYPES_H
#define LWHOST_LWTYPES_H

#ifdef __cplusplus
extern "C" {
#endif

/* Text the host hands over or takes, by its encoding. The host's own text is
   UTF-8; ASCII is for names that never leave that range; ANSI is the system's
   code page, taken only by the legacy command function. */
typedef const char *LWCStringUTF8;
typedef const char *LWCStringASCII;
typedef const char *LWCStringANSI;
typedef char *LWMutableCStringUTF8;

/* Opaque 64-bit host handles; 0 means none. The module borrows them. The
   host declares them all as void pointers; distinct types here keep one kind
   of handle from being passed for another. */
typedef void *LWItemID;
typedef struct st_LWChannelID *LWChannelID;
typedef struct st_LWChanGroupID *LWChanGroupID;
typedef struct st_LWEnvelopeID *LWEnvelopeID;
typedef struct st_LWEnvKeyframeID *LWEnvKeyframeID;
typedef void *LWInstance;

typedef double LWTime; /* seconds */
typedef int LWFrame;
typedef double LWDVector[3];
typedef unsigned int LWID;        /* four characters packed, the first in the top byte */
typedef int LWCommandCode;        /* a command looked up by name */
typedef unsigned short LWDualKey; /* a key code of the panel key callbacks */

/* An error text returned by instance operations; null means success. */
typedef LWCStringUTF8 LWError;

/* A parsed command argument; the module never looks inside one. */
typedef union un_DynaValue DynaValue;

/* Saved-scene readers and writers handed to instance load and save. */
typedef struct st_LWLoadState LWLoadState;
typedef struct st_LWSaveState LWSaveState;

/* "LW Command Interface" (the legacy command function): runs one command
   line written in the system's code page; nonzero when accepted. */
typedef int LWCommandFunc(LWCStringANSI command);

#ifdef __cplusplus
}
#endif

#endif
