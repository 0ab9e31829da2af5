/* "LWPanelServices 3": classic panels made of controls. */
#ifndef LWHOST_LWPANEL_H
#define LWHOST_LWPANEL_H

#include "lwmodule.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct st_LWPanel *LWPanelID;
typedef struct st_LWControl LWControl;

/* Value and descriptor types. */
#define LWT_NULL 0
#define LWT_STRING 1
#define LWT_INTEGER 2
#define LWT_FLOAT 3
#define LWT_DISTANCE 4
#define LWT_VINT 5
#define LWT_VFLOAT 6
#define LWT_VDIST 7
#define LWT_BOOLEAN 8
#define LWT_CHOICE 9
#define LWT_SURFACE 10
#define LWT_FONT 11
#define LWT_TEXT 12
#define LWT_LAYERS 13
#define LWT_CUSTOM 14
#define LWT_RANGE 15
#define LWT_LWITEM 16
#define LWT_PERCENT 17
#define LWT_POPUP 18
#define LWT_AREA 19

/* A value passed to and from controls. */
typedef union un_LWValue {
  int type;
  struct {
    int type;
    char *buf;
    int bufLen;
  } str;
  struct {
    int type;
    int value;
    int defVal;
  } intv;
  struct {
    int type;
    double value;
    double defVal;
  } flt;
  struct {
    int type;
    void *ptr;
  } ptr;
} LWValue;

/* Describes a control at creation. */
#define PCHOICE_VERTICAL 0
#define PCHOICE_HORIZONTAL 1
#define PCHOICE_POPUP 200

typedef union un_LWPanControlDesc {
  int type;
  struct {
    int type;
    int width; /* in characters */
  } string;
  struct {
    int type;
    const char **items; /* null-terminated */
    int style;
  } choice;
  struct {
    int type;
    const char **text; /* null-terminated lines */
  } text;
  struct {
    int type;
    int width;
    int height;
  } area;
} LWPanControlDesc;

/* Control attributes of LWControl get/set. */
#define CTL_X 0
#define CTL_Y 1
#define CTL_W 2
#define CTL_H 3
#define CTL_VX 4
#define CTL_VY 5
#define CTL_VALUE 6
#define CTL_HOTX 7
#define CTL_HOTY 8
#define CTL_HOTW 9
#define CTL_HOTH 10
#define CTL_LABELWIDTH 11
#define CTL_MOUSEX 12
#define CTL_MOUSEY 13
#define CTL_FLAGS 14
#define CTL_ACTIVATE 15
#define CTL_USERDRAW 16
#define CTL_USEREVENT 17 /* LWCtlEventFunc */
#define CTL_USERDATA 18
#define CTL_PANEL 19
#define CTL_PANFUN 20
#define CTL_LABEL 21
/* Which mouse button pressed the control: 1 left, 2 middle, 3 right. */
#define CTL_MOUSEBUTTON 22

typedef void LWCtlEventFunc(LWControl *control, void *userData);

/* Drawing modes of LWControl draw. */
#define DR_ERASE 0
#define DR_RENDER 1
#define DR_GHOST 2
#define DR_REFRESH 3

struct st_LWControl {
  void (*draw)(LWControl *control, int drawMode);
  void (*get)(LWControl *control, int attribute, LWValue *value);
  void (*set)(LWControl *control, int attribute, LWValue *value);
  void *priv;
};

/* Panel attributes of get/set; values are passed by pointer. */
#define PAN_X 0
#define PAN_Y 1
#define PAN_W 2
#define PAN_H 3
#define PAN_TITLE 4
#define PAN_USERDATA 5    /* void * */
#define PAN_USERDRAW 6    /* LWPanDrawFunc * */
#define PAN_USEROPEN 7    /* LWPanHookFunc * */
#define PAN_USERCLOSE 8   /* LWPanHookFunc * */
#define PAN_USERKEYS 9    /* LWPanKeyFunc * */
#define PAN_USERKEYUPS 10 /* LWPanKeyFunc * */
#define PAN_TO_FRONT 11

typedef void LWPanHookFunc(LWPanelID panel, void *userData);
typedef void LWPanDrawFunc(LWPanelID panel, void *userData, int drawMode);
typedef void LWPanKeyFunc(LWPanelID panel, void *userData, int key);

/* Key codes delivered to the key callbacks besides plain characters. */
#define LWDK_BACKSPACE 0x08
#define LWDK_RETURN 0x0D
#define LWDK_ESCAPE 0x1B
#define LWDK_LEFT 0x1010
#define LWDK_RIGHT 0x1011
#define LWDK_UP 0x1012
#define LWDK_DOWN 0x1013
#define LWDK_DELETE 0x1020
#define LWDK_CTRL 0x1061

/* Open flags. */
#define PANF_BLOCKING 1
#define PANF_CANCEL 2
#define PANF_FRAME 4
#define PANF_MOUSETRAP 8
#define PANF_PASSALLKEYS 16
#define PANF_ABORT 32
#define PANF_NOBUTT 64
#define PANF_RESIZE 128

typedef struct st_LWPanelFuncs {
  LWPanelID (*create)(const char *title, void *reserved);
  void (*destroy)(LWPanelID panel);
  /* Nonzero when the panel opened; a blocking open returns once it closed. */
  int (*open)(LWPanelID panel, int flags);
  int (*handle)(LWPanelID panel, int flags);
  void (*draw)(LWPanelID panel, int drawMode);
  void (*close)(LWPanelID panel);
  void (*get)(LWPanelID panel, int attribute, void *value);
  void (*set)(LWPanelID panel, int attribute, void *value);
  LWControl *(*addControl)(LWPanelID panel, const char *typeName, LWPanControlDesc *desc, const char *label);
  LWControl *(*nextControl)(LWPanelID panel, LWControl *control);
  void *user_data;
  /* Written by a client with its own lookup function before use. */
  GlobalFunc *globalFun;
} LWPanelFuncs;

#ifdef __cplusplus
}
#endif

#endif
