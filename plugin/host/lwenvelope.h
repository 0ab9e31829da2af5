/* "Animation Envelopes 4": envelopes, their keys and behaviours. */
#ifndef LWHOST_LWENVELOPE_H
#define LWHOST_LWENVELOPE_H

#include "lwtypes.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Key tags of keySet/keyGet. The shape is an int, every other tag a double. */
static const int LWKEY_VALUE = 0;
static const int LWKEY_TIME = 1;
static const int LWKEY_SHAPE = 2;
static const int LWKEY_TENSION = 3;
static const int LWKEY_CONTINUITY = 4;
static const int LWKEY_BIAS = 5;
static const int LWKEY_PARAM_0 = 6;
static const int LWKEY_PARAM_1 = 7;
static const int LWKEY_PARAM_2 = 8;
static const int LWKEY_PARAM_3 = 9;
static const int LWKEY_TAN_IN = 10;
static const int LWKEY_TAN_OUT = 11;
/* The host's enum type is int-sized; an int lets any value a caller passes
   be tested. */
typedef int LWKeyTag;

/* Envelope tags of egSet/egGet; the behaviours and the key count are ints. */
static const int LWENVTAG_VISIBLE = 0;
static const int LWENVTAG_PREBEHAVE = 1;
static const int LWENVTAG_POSTBEHAVE = 2;
static const int LWENVTAG_KEYCOUNT = 3;
static const int LWENVTAG_VALUE = 4;
static const int LWENVTAG_SUBTYPE = 5;
static const int LWENVTAG_TYPE = 6;
typedef int LWEnvTag;

/* Key shapes as Layout numbers them (its scene files use the same codes). */
static const int SHAPE_TCB = 0;
static const int SHAPE_HERM = 1;
static const int SHAPE_BEZI = 2;
static const int SHAPE_LINE = 3;
static const int SHAPE_STEP = 4;
static const int SHAPE_BEZ2 = 5;

/* Pre/post behaviours, numbered alike. */
static const int BEH_RESET = 0;
static const int BEH_CONSTANT = 1;
static const int BEH_REPEAT = 2;
static const int BEH_OSCILLATE = 3;
static const int BEH_OFFSET = 4;
static const int BEH_LINEAR = 5;

/* Told of changes to an envelope; the module sets none. */
typedef int (*LWEnvEventFunc)(void *data, LWEnvelopeID envelope, int event, void *eventData);

typedef struct st_LWEnvelopeFuncs {
  LWEnvelopeID (*create)(LWChanGroupID group, LWCStringUTF8 name, int type);
  void (*destroy)(LWEnvelopeID envelope);
  LWChanGroupID (*createGroup)(LWChanGroupID parent, LWCStringUTF8 name);
  void (*destroyGroup)(LWChanGroupID group);
  LWError (*copy)(LWEnvelopeID to, LWEnvelopeID from);
  LWError (*load)(LWEnvelopeID envelope, const LWLoadState *state);
  LWError (*save)(LWEnvelopeID envelope, const LWSaveState *state);
  double (*evaluate)(LWEnvelopeID envelope, LWTime time);
  int (*edit)(LWChanGroupID group, LWEnvelopeID envelope, int flags, void *data);
  int (*envAge)(LWEnvelopeID envelope);
  LWEnvKeyframeID (*createKey)(LWEnvelopeID envelope, LWTime time, double value);
  void (*destroyKey)(LWEnvelopeID envelope, LWEnvKeyframeID key);
  LWEnvKeyframeID (*findKey)(LWEnvelopeID envelope, LWTime time);
  LWEnvKeyframeID (*nextKey)(LWEnvelopeID envelope, LWEnvKeyframeID key);
  LWEnvKeyframeID (*prevKey)(LWEnvelopeID envelope, LWEnvKeyframeID key);
  int (*keySet)(LWEnvelopeID envelope, LWEnvKeyframeID key, LWKeyTag tag, void *value);
  int (*keyGet)(LWEnvelopeID envelope, LWEnvKeyframeID key, LWKeyTag tag, void *value);
  int (*setEnvEvent)(LWEnvelopeID envelope, LWEnvEventFunc event, void *data);
  int (*egSet)(LWEnvelopeID envelope, LWChanGroupID group, int tag, void *value);
  int (*egGet)(LWEnvelopeID envelope, LWChanGroupID group, int tag, void *value);
  void (*renameGroup)(LWChanGroupID group, LWCStringUTF8 name);
} LWEnvelopeFuncs;

#ifdef __cplusplus
}
#endif

#endif
