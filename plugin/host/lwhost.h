/* The whole host interface the module uses. */
#ifndef LWHOST_LWHOST_H
#define LWHOST_LWHOST_H

#include "lwchannel.h"
#include "lwcomring.h"
#include "lwenvelope.h"
#include "lwfilereq.h"
#include "lwgeneric.h"
#include "lwglobals.h"
#include "lwinterface.h"
#include "lwitem.h"
#include "lwmaster.h"
#include "lwmessage.h"
#include "lwmodule.h"
#include "lwobjects.h"
#include "lwpanel.h"
#include "lwscene.h"
#include "lwtypes.h"

#endif
