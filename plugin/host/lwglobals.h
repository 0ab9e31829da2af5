/* Ids of the host globals the module reads. Both global sets look up more
   ids than these; their full lists live with the sets. */
#ifndef LWHOST_LWGLOBALS_H
#define LWHOST_LWGLOBALS_H

#define LWCOMMANDINTERFACE_GLOBAL "LW Command Interface"
#define LWINTERFACEINFO_GLOBAL "LW Interface Info 8"
#define LWITEMINFO_GLOBAL "LW Item Info 9"
#define LWCHANNELINFO_GLOBAL "Channel Info 3"
#define LWENVELOPEFUNCS_GLOBAL "Animation Envelopes 4"
#define LWSCENEOBJECTS_GLOBAL "Scene Objects 9"
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
#define LWUNIVERSALREQUESTER_GLOBAL "LSUniversalRequester"

/* "Locale Info" answers a language identifier in place of a pointer. */
#define LWLOCALEID_JAPANESE 0x0411
#define LWLOCALEID_ENGLISH 0x0409

/* "System ID" answers an integer; its top four bits name the product. */
#define LWSYS_TYPEBITS 0xF0000000u
#define LWSYS_RENDERNODE 0x20000000u

#endif
