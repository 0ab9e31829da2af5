// Working the controls of a host panel: creation descriptors, values,
// placement, events and draw states. Both tools' panels use it, each with
// its own panel service record.
#pragma once

#include <string>

#include "../../host/lwpanel.h"
#include "label_unit.h"

namespace lwp {

LWPanControlDesc areaDesc(int width, int height);
LWPanControlDesc popupDesc(ChoiceList items);
// A text field so many characters wide.
LWPanControlDesc textDesc(int characters);
// A field described by its value type alone (LWT_INTEGER, LWT_FLOAT, LWT_BOOLEAN).
LWPanControlDesc numberDesc(int type);
// A text control showing the lines of a null-terminated list.
LWPanControlDesc textLinesDesc(const char **lines);

int intValue(LWControl *control);
void setIntValue(LWControl *control, int value);
double floatValue(LWControl *control);
void setFloatValue(LWControl *control, double value);
std::string textValue(LWControl *control);
void setTextValue(LWControl *control, const std::string &text);

// An integer attribute of the control (CTL_X, CTL_W, CTL_LABELWIDTH...).
int controlAttribute(LWControl *control, int attribute);
// The right edge of the control: its left edge, its label and its body.
int controlRight(LWControl *control);

// Adds a control with its left edge (its label's, when it has one) at x.
// A control the host could not add raises lw::ex::CBaseEx.
LWControl *addControlAt(LWPanelFuncs &panels, LWPanelID panel, const char *typeName, LWPanControlDesc desc,
                        const char *label, int x, int y);
// Adds a control whose body starts at column, its label to the left.
LWControl *addControlAtColumn(LWPanelFuncs &panels, LWPanelID panel, const char *typeName, LWPanControlDesc desc,
                              const char *label, int column, int y);

// The control calls event with userData when the user works it.
void setControlEvent(LWControl *control, LWCtlEventFunc *event, void *userData);

// A panel hook as the panel's set takes it. Only a function of the hook's
// own type converts, so a hook of another signature fails to compile.
inline void *panelHook(LWPanHookFunc *hook) { return reinterpret_cast<void *>(hook); }
inline void *panelHook(LWPanKeyFunc *hook) { return reinterpret_cast<void *>(hook); }

// Drawn and usable, or drawn greyed out.
void enableControl(LWControl *control, bool enabled);
// Drawn and usable, or not drawn at all.
void showControl(LWControl *control, bool shown);

}  // namespace lwp
