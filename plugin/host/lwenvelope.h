/* "Animation Envelopes 4": keys of an envelope and its behaviours. */
#ifndef LWHOST_LWENVELOPE_H
#define LWHOST_LWENVELOPE_H

#include "lwtypes.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Key tags of keySet/keyGet. The shape is an int, every other tag a double. */
enum {
  LWKEY_VALUE = 0,
  LWKEY_TIME = 1,
  LWKEY_SHAPE = 2,
  LWKEY_TENSION = 3,
  LWKEY_CONTINUITY = 4,
  LWKEY_BIAS = 5,
  LWKEY_PARAM_0 = 6,
  LWKEY_PARAM_1 = 7,
  LWKEY_PARAM_2 = 8,
  LWKEY_PARAM_3 = 9
};
/* An int, so that any value a caller passes is a valid one to test. */
typedef int LWKeyTag;

/* Key shapes. */
#define SHAPE_TCB 0
#define SHAPE_HERM 1
#define SHAPE_BEZI 2
#define SHAPE_LINE 3
#define SHAPE_STEP 4
#define SHAPE_BEZ2 5

/* Envelope tags of egSet/egGet; the behaviours are ints. */
enum {
  LWENVTAG_VISIBLE = 0,
  LWENVTAG_PREBEHAVE = 1,
  LWENVTAG_POSTBEHAVE = 2,
  LWENVTAG_KEYCOUNT = 3
};
typedef int LWEnvTag;

/* Pre/post behaviours. */
#define BEH_RESET 0
#define BEH_CONSTANT 1
#define BEH_REPEAT 2
#define BEH_OSCILLATE 3
#define BEH_OFFSET 4
#define BEH_LINEAR 5

typedef struct st_LWEnvelopeFuncs {
  double (*evaluate)(LWEnvelopeID env, LWTime time);
  LWEnvKeyframeID (*createKey)(LWEnvelopeID env, LWTime time, double value);
  void (*destroyKey)(LWEnvelopeID env, LWEnvKeyframeID key);
  LWEnvKeyframeID (*findKey)(LWEnvelopeID env, LWTime time);
  LWEnvKeyframeID (*nextKey)(LWEnvelopeID env, LWEnvKeyframeID key);
  int (*keySet)(LWEnvelopeID env, LWEnvKeyframeID key, LWKeyTag tag, void *value);
  int (*keyGet)(LWEnvelopeID env, LWEnvKeyframeID key, LWKeyTag tag, void *value);
  int (*egSet)(LWEnvelopeID env, LWChanGroupID group, int tag, void *value);
  int (*egGet)(LWEnvelopeID env, LWChanGroupID group, int tag, void *value);
} LWEnvelopeFuncs;

#ifdef __cplusplus
}
#endif

#endif
