/* "LWPanelServices 3" (panels API 23): classic panels made of controls. */
#ifndef LWHOST_LWPANEL_H
#define LWHOST_LWPANEL_H

#include "lwmodule.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct st_LWPanel *LWPanelID;
/* A control as its own functions take it: the LWControl record itself. */
typedef void *LWControlID;

/* Value and descriptor types. */
static const int LWT_NULL = 0;
static const int LWT_STRING = 1;
static const int LWT_INTEGER = 2;
static const int LWT_FLOAT = 3;
static const int LWT_DISTANCE = 4;
static const int LWT_VINT = 5;
static const int LWT_VFLOAT = 6;
static const int LWT_VDIST = 7;
static const int LWT_BOOLEAN = 8;
static const int LWT_CHOICE = 9;
static const int LWT_SURFACE = 10;
static const int LWT_FONT = 11;
static const int LWT_TEXT = 12;
static const int LWT_LAYERS = 13;
static const int LWT_CUSTOM = 14;
static const int LWT_RANGE = 15;
static const int LWT_LWITEM = 16;
static const int LWT_PERCENT = 17;
static const int LWT_POPUP = 18;
static const int LWT_AREA = 19;
static const int LWT_XPANEL = 20;
static const int LWT_TREE = 21;
static const int LWT_MLIST = 22;
static const int LWT_POINTER = 23;
static const int LWT_MULTILINE = 24;
typedef int LWType;

/* ---- Values passed to and from controls ---- */

typedef struct st_LWValString {
  LWType type;
  LWMutableCStringUTF8 buf;
  int bufLen;
} LWValString;

typedef struct st_LWValInt {
  LWType type;
  int value;
  int defVal;
} LWValInt;

typedef struct st_LWValFloat {
  LWType type;
  double value;
  double defVal;
} LWValFloat;

typedef struct st_LWValIVector {
  LWType type;
  int val[3];
  int defVal;
} LWValIVector;

typedef struct st_LWValFVector {
  LWType type;
  double val[3];
  double defVal;
} LWValFVector;

typedef struct st_LWValCustom {
  LWType type;
  int val[4];
} LWValCustom;

typedef struct st_LWValPointer {
  LWType type;
  void *ptr;
} LWValPointer;

/* The host writes as much of it as the control's kind holds, so a value is
   always allocated whole. */
typedef union un_LWValue {
  LWType type;
  LWValString str;
  LWValInt intv;
  LWValFloat flt;
  LWValIVector ivec;
  LWValFVector fvec;
  LWValPointer ptr;
  LWValCustom cust;
} LWValue;

/* ---- Control descriptors, by kind ---- */

typedef struct st_LWPanStringDesc {
  LWType type;
  int width; /* in characters */
} LWPanStringDesc;

typedef struct st_LWPanEditorDesc {
  LWType type;
  LWMutableCStringUTF8 buf;
  int bufLen;
  int width;
  int height;
} LWPanEditorDesc;

/* Orientations of the "ChoiceControl" kinds. A "PopupControl" reads the
   same member as its width in pixels. */
static const int MX_HCHOICE = 0;
static const int MX_VCHOICE = 1;
static const int MX_POPUP = 2;

typedef struct st_LWPanChoiceDesc {
  LWType type;
  LWCStringUTF8 *items; /* null-terminated */
  int vertical;
} LWPanChoiceDesc;

typedef struct st_LWPanTextDesc {
  LWType type;
  LWCStringUTF8 *text; /* null-terminated lines */
} LWPanTextDesc;

typedef struct st_LWPanRangeDesc {
  LWType type;
  int width;
  int min;
  int max;
} LWPanRangeDesc;

typedef struct st_LWPanAreaDesc {
  LWType type;
  int width;
  int height;
} LWPanAreaDesc;

typedef struct st_LWPanLWItemDesc {
  LWType type;
  void *global;
  int itemType;
  LWMutableCStringUTF8 *list;
  int count;
  int width;
} LWPanLWItemDesc;

typedef struct st_LWPanPopupDesc {
  LWType type;
  int width;
  int (*countFn)(void *data);
  LWCStringUTF8 (*nameFn)(void *data, int index);
  LWCStringUTF8 (*faceFn)(void *data, int index);
  int (*typeFn)(void *data, int index);
  void *(*subMFn)(void *data, int index);
} LWPanPopupDesc;

typedef struct st_LWPanListBoxDesc {
  LWType type;
  int width;
  int visItems;
  int top;
  int (*countFn)(void *data);
  LWCStringUTF8 (*nameFn)(void *data, int index);
} LWPanListBoxDesc;

typedef struct st_LWPanXPanDesc {
  LWType type;
  int width;
  int height;
  void *xpan;
} LWPanXPanDesc;

typedef struct st_LWPanTreeDesc {
  LWType type;
  int width;
  int height;
  int (*countFn)(void *data, void *node);
  void *(*leafFn)(void *data, void *node, int index);
  LWCStringUTF8 (*infoFn)(void *data, void *node, int *nodeFlags);
  void (*moveFn)(void *data, void *node, void *parentNode, int index);
} LWPanTreeDesc;

typedef struct st_LWPanMultiListBoxDesc {
  LWType type;
  int width;
  int visItems;
  int top;
  int (*countFn)(void *data);
  LWCStringUTF8 (*nameFn)(void *data, int item, int column);
  int (*colWidth)(void *data, int column);
} LWPanMultiListBoxDesc;

typedef struct st_LWPanMultiTreeDesc {
  LWType type;
  int width;
  int height;
  int (*countFn)(void *data, void *node);
  void *(*leafFn)(void *data, void *node, int index);
  LWCStringUTF8 (*infoFn)(void *data, void *node, int column, int *nodeFlags);
  void (*moveFn)(void *data, void *node, void *parentNode, int index);
  int (*colWidth)(void *data, int column);
} LWPanMultiTreeDesc;

/* The host reads as much of it as the control's kind needs, so a
   descriptor is always allocated whole. */
typedef union un_LWPanControlDesc {
  LWType type;
  LWPanStringDesc string;
  LWPanChoiceDesc choice;
  LWPanTextDesc text;
  LWPanRangeDesc range;
  LWPanAreaDesc area;
  LWPanLWItemDesc lwitem;
  LWPanPopupDesc popup;
  LWPanListBoxDesc listbox;
  LWPanXPanDesc xpanel;
  LWPanTreeDesc tree;
  LWPanMultiListBoxDesc multiList;
  LWPanMultiTreeDesc multiTree;
  LWPanEditorDesc editor;
} LWPanControlDesc;

/* ---- Panel and control attributes ---- */

/* Panel attributes of get/set. Values pass by pointer: PAN_USERDATA is the
   pointer itself, the hooks their function pointers. */
static const int PAN_X = 0;
static const int PAN_Y = 1;
static const int PAN_W = 2;
static const int PAN_H = 3;
static const int PAN_MOUSEX = 4;
static const int PAN_MOUSEY = 5;
static const int PAN_FLAGS = 6;
static const int PAN_USERDRAW = 7; /* LWPanDrawFunc * */
static const int PAN_USERACTIVATE = 8;
static const int PAN_USEROPEN = 9;   /* LWPanHookFunc * */
static const int PAN_USERCLOSE = 10; /* LWPanHookFunc * */
static const int PAN_TITLE = 11;
static const int PAN_USERDATA = 12;
static const int PAN_USERKEYS = 13; /* LWPanKeyFunc * */
static const int PAN_LWINSTANCE = 14;
static const int PAN_MOUSEBUTTON = 15;
static const int PAN_MOUSEMOVE = 16;
static const int PAN_PANFUN = 17;
static const int PAN_VERSION = 18;
static const int PAN_RESULT = 19;
static const int PAN_HOSTDISPLAY = 20;
static const int PAN_USERKEYUPS = 21; /* LWPanKeyFunc * */
static const int PAN_QUALIFIERS = 22;
static const int PAN_TO_FRONT = 23;
/* An int, as the host's enum type is int-sized: any value can be passed. */
typedef int LWPanelTag;

/* Control attributes of LWControl get/set; values pass in an LWValue. */
static const int CTL_X = 0;
static const int CTL_Y = 1;
static const int CTL_W = 2;
static const int CTL_H = 3;
static const int CTL_VALUE = 4;
static const int CTL_HOTX = 5;
static const int CTL_HOTY = 6;
static const int CTL_HOTW = 7;
static const int CTL_HOTH = 8;
static const int CTL_LABELWIDTH = 9;
static const int CTL_MOUSEX = 10;
static const int CTL_MOUSEY = 11;
static const int CTL_FLAGS = 12;
static const int CTL_USERDRAW = 13;
static const int CTL_USEREVENT = 14; /* LWCtlEventFunc * in ptr */
static const int CTL_LABEL = 15;
static const int CTL_USERDATA = 16;
static const int CTL_PANEL = 17;
static const int CTL_PANFUN = 18;
static const int CTL_RANGEMIN = 19;
static const int CTL_RANGEMAX = 20;
static const int CTL_ACTIVATE = 21;
static const int CTL_MOUSEBUTTON = 22; /* read only: a CTL_MOUSE button */
typedef int LWControlTag;

/* Mouse buttons of CTL_MOUSEBUTTON. */
static const int CTL_MOUSELEFT = 1;
static const int CTL_MOUSECENTER = 2;
static const int CTL_MOUSERIGHT = 3;

/* Drawing modes of the panel's and the controls' draw. */
static const int DR_ERASE = 0;
static const int DR_RENDER = 1;
static const int DR_GHOST = 2;
static const int DR_REFRESH = 3;
typedef int LWDrawMode;

typedef void LWPanHookFunc(LWPanelID panel, void *userData);
typedef void LWPanDrawFunc(LWPanelID panel, void *userData, LWDrawMode drawMode);
/* Nonzero when the panel used the key; other keys go on to the host. */
typedef int LWPanKeyFunc(LWPanelID panel, void *userData, LWDualKey key);
typedef void LWCtlEventFunc(LWControlID control, void *userData);

/* Key codes of the key callbacks besides plain characters, which arrive as
   their own codes (Backspace 8, Enter 13, Escape 27). */
static const int LWDK_SC_LEFT = 0x1010;
static const int LWDK_SC_RIGHT = 0x1011;
static const int LWDK_SC_UP = 0x1012;
static const int LWDK_SC_DOWN = 0x1013;
static const int LWDK_DELETE = 0x1020;
static const int LWDK_RETURN = 0x1022;
static const int LWDK_PAD_ENTER = 0x1057;
static const int LWDK_ALT = 0x1060;
static const int LWDK_SHIFT = 0x1061;
static const int LWDK_CTRL = 0x1062;

/* Open flags. */
static const int PANF_BLOCKING = 1 << 0;
static const int PANF_CANCEL = 1 << 1;
static const int PANF_FRAME = 1 << 2;
static const int PANF_MOUSETRAP = 1 << 3;
static const int PANF_PASSALLKEYS = 1 << 4; /* Enter and Escape go to the key callback too */
static const int PANF_ABORT = 1 << 5;
static const int PANF_NOBUTT = 1 << 6;
static const int PANF_RESIZE = 1 << 7;
static const int PANF_MOUSETRACK = 1 << 8;

struct st_LWControl {
  void (*draw)(LWControlID control, LWDrawMode drawMode);
  void (*get)(LWControlID control, LWControlTag attribute, LWValue *value);
  void (*set)(LWControlID control, LWControlTag attribute, LWValue *value);
  void *priv_data;
};
typedef struct st_LWControl LWControl;

/* The panel's own drawing functions; the module draws nothing itself. */
typedef struct st_DrawFuncs DrawFuncs;
typedef void *LWRasterID;

typedef struct st_LWPanelFuncs {
  LWPanelID (*create)(LWCStringUTF8 title, void *reserved);
  void (*destroy)(LWPanelID panel);
  /* Nonzero when the panel opened; a blocking open returns once it closed. */
  int (*open)(LWPanelID panel, int flags);
  int (*handle)(LWPanelID panel, int flags);
  void (*draw)(LWPanelID panel, LWDrawMode drawMode);
  void (*close)(LWPanelID panel);
  void (*get)(LWPanelID panel, LWPanelTag attribute, void *value);
  void (*set)(LWPanelID panel, LWPanelTag attribute, void *value);
  LWControl *(*addControl)(LWPanelID panel, LWCStringASCII typeName, LWPanControlDesc *desc, LWCStringUTF8 label);
  LWControl *(*nextControl)(LWPanelID panel, LWControlID control);
  DrawFuncs *drawFuncs;
  void *user_data;
  /* Written by a client with its own lookup function before use. */
  GlobalFunc *globalFun;
  void (*destroyControl)(LWPanelID panel, LWControlID control);
  void (*setParent)(LWPanelID panel, LWPanelID parent);
  LWRasterID (*getRaster)(LWPanelID panel);
} LWPanelFuncs;

#ifdef __cplusplus
}
#endif

#endif
