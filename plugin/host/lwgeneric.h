/* Local record of a Layout generic server ("LayoutGeneric"). */
#ifndef LWHOST_LWGENERIC_H
#define LWHOST_LWGENERIC_H

#include "lwtypes.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct st_LWLayoutGeneric {
  int (*saveScene)(LWCStringUTF8 file);
  int (*loadScene)(LWCStringUTF8 file, LWCStringUTF8 name);
  void *data; /* the first argument of the functions below */
  LWCommandCode (*lookup)(void *data, LWCStringUTF8 commandName);
  int (*execute)(void *data, LWCommandCode command, int argc, const DynaValue *argv, DynaValue *result);
  /* Runs one Layout command line; nonzero when the host accepted it. */
  int (*evaluate)(void *data, LWCStringUTF8 command);
  /* The arguments the generic was run with ("init" in "Generic_X init"),
     or null / the empty text when there are none. */
  LWCStringUTF8 (*commandArguments)(void *data);
  int (*parsedArguments)(void *data, DynaValue **argv);
} LWLayoutGeneric;

#ifdef __cplusplus
}
#endif

#endif
