/* "File Request 3": the file and directory requester. */
#ifndef LWHOST_LWFILEREQ_H
#define LWHOST_LWFILEREQ_H

#ifdef __cplusplus
extern "C" {
#endif

#define FREQ_LOAD 0
#define FREQ_SAVE 1
#define FREQ_DIRECTORY 2
#define FREQ_MULTILOAD 3

#define LWFILEREQ_VERSION 4

typedef struct st_LWFileReqLocal {
  int reqType;
  int result; /* > 0 chosen, 0 cancelled, < 0 failed */
  const char *title;
  const char *fileType;
  char *path;
  char *baseName;
  char *fullName;
  int bufLen;
  int (*pickName)(void);
} LWFileReqLocal;

/* The global's answer: run a request; AFUNC_OK when it could be shown. */
typedef int LWFileActivateFunc(int version, LWFileReqLocal *request);

#ifdef __cplusplus
}
#endif

#endif
