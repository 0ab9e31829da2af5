/* Local record of a Layout generic server. */
#ifndef LWHOST_LWGENERIC_H
#define LWHOST_LWGENERIC_H

#ifdef __cplusplus
extern "C" {
#endif

typedef struct st_LWLayoutGeneric {
  void *data;
  /* Runs one Layout command line; nonzero when the host accepted it. */
  int (*evaluate)(void *data, const char *command);
  /* The arguments the generic was run with ("init" in "Generic_X init"),
     or null / the empty text when there are none. */
  const char *(*commandArguments)(void *data);
} LWLayoutGeneric;

#ifdef __cplusplus
}
#endif

#endif
