/* Basic types shared by every host record: opaque ids, time, commands. */
#ifndef LWHOST_LWTYPES_H
#define LWHOST_LWTYPES_H

#ifdef __cplusplus
#define LW_STATIC_ASSERT(cond, msg) static_assert(cond, msg)
#else
#define LW_STATIC_ASSERT(cond, msg) _Static_assert(cond, msg)
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Opaque 64-bit host handles; 0 means none. The module borrows them. */
typedef void *LWItemID;
typedef struct st_LWChannelID *LWChannelID;
typedef struct st_LWChanGroupID *LWChanGroupID;
typedef struct st_LWEnvelopeID *LWEnvelopeID;
typedef struct st_LWEnvKeyframeID *LWEnvKeyframeID;
typedef void *LWInstance;

typedef double LWTime; /* seconds */
typedef int LWFrame;
typedef double LWDVector[3];

/* An error text returned by instance operations; null means success. */
typedef const char *LWError;

/* "LW Command Interface": runs one command line, nonzero when accepted. */
typedef int LWCommandFunc(const char *command);

#ifdef __cplusplus
}
#endif

#endif
