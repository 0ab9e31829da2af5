// The shared tool layer of both tools.
#pragma once

#include "../host/lwhost.h"
#include "clip_commands.h"
#include "clip_globals.h"
#include "entry_guard.h"
#include "exceptions.h"
#include "host_globals.h"
#include "interface_refetch.h"
#include "key_commands.h"
#include "label_unit.h"
#include "server_names.h"
#include "text_format.h"
