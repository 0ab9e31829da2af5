/* "Info Messages 4": the host's message boxes and questions. The module
   shows error boxes only. */
#ifndef LWHOST_LWMESSAGE_H
#define LWHOST_LWMESSAGE_H

#include "lwtypes.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct st_LWMessageFuncs {
  void (*info)(LWCStringUTF8 first, LWCStringUTF8 second);
  void (*error)(LWCStringUTF8 first, LWCStringUTF8 second);
  void (*warning)(LWCStringUTF8 first, LWCStringUTF8 second);
  int (*okCancel)(LWCStringUTF8 title, LWCStringUTF8 first, LWCStringUTF8 second);
  int (*yesNo)(LWCStringUTF8 title, LWCStringUTF8 first, LWCStringUTF8 second);
  int (*yesNoCan)(LWCStringUTF8 title, LWCStringUTF8 first, LWCStringUTF8 second);
  int (*yesNoAll)(LWCStringUTF8 title, LWCStringUTF8 first, LWCStringUTF8 second);
  LWCStringUTF8 (*askName)(LWCStringUTF8 title, LWCStringUTF8 label, LWCStringUTF8 initialName);
} LWMessageFuncs;

#ifdef __cplusplus
}
#endif

#endif
