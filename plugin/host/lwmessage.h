/* "Info Messages 4": the host's message boxes. */
#ifndef LWHOST_LWMESSAGE_H
#define LWHOST_LWMESSAGE_H

#ifdef __cplusplus
extern "C" {
#endif

typedef struct st_LWMessageFuncs {
  void (*info)(const char *first, const char *second);
  void (*error)(const char *first, const char *second);
  void (*warning)(const char *first, const char *second);
} LWMessageFuncs;

#ifdef __cplusplus
}
#endif

#endif
