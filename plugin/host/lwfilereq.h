/* "File Request 3": the file and directory requester. */
#ifndef LWHOST_LWFILEREQ_H
#define LWHOST_LWFILEREQ_H

#include "lwtypes.h"

#ifdef __cplusplus
extern "C" {
#endif

static const int FREQ_LOAD = 1;
static const int FREQ_SAVE = 2;
static const int FREQ_DIRECTORY = 3;
static const int FREQ_MULTILOAD = 4;

static const int LWFILEREQ_VERSION = 4;

typedef struct st_LWFileReqLocal {
  int reqType;
  int result; /* > 0 chosen, 0 cancelled, < 0 failed */
  LWCStringUTF8 title;
  LWCStringUTF8 fileType;
  LWMutableCStringUTF8 path;
  LWMutableCStringUTF8 baseName;
  LWMutableCStringUTF8 fullName;
  int bufLen;
  int (*pickName)(void);
} LWFileReqLocal;

/* The global's answer: run a request; AFUNC_OK when it could be shown. */
typedef int LWFileActivateFunc(int version, LWFileReqLocal *request);

#ifdef __cplusplus
}
#endif

#endif
