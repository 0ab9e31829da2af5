/* Ids of the host globals the module calls, and the integers two of them
   answer in place of a pointer. Both global sets look up more ids than
   these; their full lists live with the sets. */
#ifndef LWHOST_LWGLOBALS_H
#define LWHOST_LWGLOBALS_H

#include "lwmodule.h"

#define LWCOMMANDFUNC_GLOBAL "LW Command Interface"
#define LWINTERFACEINFO_GLOBAL "LW Interface Info 8"
#define LWITEMINFO_GLOBAL "LW Item Info 9"
#define LWCHANNELINFO_GLOBAL "Channel Info 3"
#define LWENVELOPEFUNCS_GLOBAL "Animation Envelopes 4"
#define LWOBJECTFUNCS_GLOBAL "Scene Objects 9"
#define LWOBJECTINFO_GLOBAL "LW Object Info 14"
#define LWSCENEINFO_GLOBAL "LW Scene Info 12"
#define LWTIMEINFO_GLOBAL "LW Time Info"
#define LWBONEINFO_GLOBAL "LW Bone Info 7"
#define LWCAMERAINFO_GLOBAL "LW Camera Info 10"
#define LWPANELFUNCS_GLOBAL "LWPanelServices 3"
#define LWCOMRING_GLOBAL "LW Communication Ring"
#define LWMESSAGEFUNCS_GLOBAL "Info Messages 4"
#define LWFILEACTIVATEFUNC_GLOBAL "File Request 3"
#define LWLOCALEINFO_GLOBAL "Locale Info"
#define LWSYSTEMID_GLOBAL "System ID"

#ifdef __cplusplus
extern "C" {
#endif

/* "Locale Info": the language id sits in the low 16 bits. */
static const int LWLOC_LANGID = 0x0000FFFF;
static const int LANGID_USENGLISH = 0x0409;
static const int LANGID_JAPANESE = 0x0411;

/* "System ID": the product sits in the top four bits; the render node
   (ScreamerNet) is one product. */
static const unsigned int LWSYS_TYPEBITS = 0xF0000000u;
static const unsigned int LWSYS_LAYOUT = 0x00000000;
static const unsigned int LWSYS_SCREAMERNET = 0x20000000;

#ifdef __cplusplus
}
#endif

#endif
