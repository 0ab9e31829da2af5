/* Layout's host interface as numbers, x86-64: where each member of each
   record sits and how big it is, each record's size, each constant's value
   and each id's text. The numbers are the same on Windows and Linux but for
   the module's machine code. abi_proofs.cpp holds our declarations to them
   in every build; sdk_comparison.cpp holds them to the SDK's own headers
   where those are at hand (LWSDK_INCLUDE_DIR).

   WHOLE_RECORDS are declared in full: their sizes are the host's too.
   LEADING_RECORDS are declared as far as the module and the simulated host
   read them; the host's own go on beyond, so only their members count.
   OWN_CONSTANTS are Layout's numbers (key shapes and behaviours, as in its
   scene files) that its plug-in headers do not name. */
#ifndef LWHOST_ABI_NUMBERS_H
#define LWHOST_ABI_NUMBERS_H

#if defined(_WIN32)
#define LWHOST_MACHINE 0x300
#else
#define LWHOST_MACHINE 0x500
#endif

/* X(record, size) */
#define LWHOST_WHOLE_RECORDS(X) \
  X(LWChannelInfo, 120)         \
  X(LWComRing, 24)              \
  X(LWEnvelopeFuncs, 168)       \
  X(LWFileReqLocal, 64)         \
  X(LWLayoutGeneric, 64)        \
  X(LWInstanceFuncs, 56)        \
  X(LWNameChangeData, 24)       \
  X(LWItemFuncs, 24)            \
  X(LWMasterAccess, 48)         \
  X(LWMasterHandler, 40)        \
  X(LWInterface, 32)            \
  X(LWMessageFuncs, 64)         \
  X(ServerTagInfo, 16)          \
  X(ServerRecord, 32)           \
  X(ModuleDescriptor, 40)       \
  X(LWValString, 24)            \
  X(LWValInt, 12)               \
  X(LWValFloat, 24)             \
  X(LWValIVector, 20)           \
  X(LWValFVector, 40)           \
  X(LWValCustom, 20)            \
  X(LWValPointer, 16)           \
  X(LWValue, 40)                \
  X(LWPanStringDesc, 8)         \
  X(LWPanEditorDesc, 32)        \
  X(LWPanChoiceDesc, 24)        \
  X(LWPanTextDesc, 16)          \
  X(LWPanRangeDesc, 16)         \
  X(LWPanAreaDesc, 12)          \
  X(LWPanLWItemDesc, 40)        \
  X(LWPanPopupDesc, 48)         \
  X(LWPanListBoxDesc, 32)       \
  X(LWPanXPanDesc, 24)          \
  X(LWPanTreeDesc, 48)          \
  X(LWPanMultiListBoxDesc, 40)  \
  X(LWPanMultiTreeDesc, 56)     \
  X(LWPanControlDesc, 56)       \
  X(LWPanelFuncs, 128)          \
  X(LWControl, 32)              \
  X(LWTimeInfo, 16)

/* X(record, size of our leading part) */
#define LWHOST_LEADING_RECORDS(X) \
  X(LWInterfaceInfo, 104)         \
  X(LWItemInfo, 112)              \
  X(LWObjectInfo, 8)              \
  X(LWBoneInfo, 16)               \
  X(LWCameraInfo, 64)             \
  X(LWObjectFuncs, 64)            \
  X(LWSceneInfo, 64)

/* X(record, member, offset, size) */
#define LWHOST_MEMBERS(X)                       \
  X(LWChannelInfo, nextGroup, 0, 8)             \
  X(LWChannelInfo, nextChannel, 8, 8)           \
  X(LWChannelInfo, groupName, 16, 8)            \
  X(LWChannelInfo, channelName, 24, 8)          \
  X(LWChannelInfo, groupParent, 32, 8)          \
  X(LWChannelInfo, channelParent, 40, 8)        \
  X(LWChannelInfo, channelType, 48, 8)          \
  X(LWChannelInfo, channelEvaluate, 56, 8)      \
  X(LWChannelInfo, channelEnvelope, 64, 8)      \
  X(LWChannelInfo, setChannelEvent, 72, 8)      \
  X(LWChannelInfo, server, 80, 8)               \
  X(LWChannelInfo, serverFlags, 88, 8)          \
  X(LWChannelInfo, serverInstance, 96, 8)       \
  X(LWChannelInfo, serverApply, 104, 8)         \
  X(LWChannelInfo, serverRemove, 112, 8)        \
  X(LWComRing, ringAttach, 0, 8)                \
  X(LWComRing, ringDetach, 8, 8)                \
  X(LWComRing, ringMessage, 16, 8)              \
  X(LWEnvelopeFuncs, create, 0, 8)              \
  X(LWEnvelopeFuncs, destroy, 8, 8)             \
  X(LWEnvelopeFuncs, createGroup, 16, 8)        \
  X(LWEnvelopeFuncs, destroyGroup, 24, 8)       \
  X(LWEnvelopeFuncs, copy, 32, 8)               \
  X(LWEnvelopeFuncs, load, 40, 8)               \
  X(LWEnvelopeFuncs, save, 48, 8)               \
  X(LWEnvelopeFuncs, evaluate, 56, 8)           \
  X(LWEnvelopeFuncs, edit, 64, 8)               \
  X(LWEnvelopeFuncs, envAge, 72, 8)             \
  X(LWEnvelopeFuncs, createKey, 80, 8)          \
  X(LWEnvelopeFuncs, destroyKey, 88, 8)         \
  X(LWEnvelopeFuncs, findKey, 96, 8)            \
  X(LWEnvelopeFuncs, nextKey, 104, 8)           \
  X(LWEnvelopeFuncs, prevKey, 112, 8)           \
  X(LWEnvelopeFuncs, keySet, 120, 8)            \
  X(LWEnvelopeFuncs, keyGet, 128, 8)            \
  X(LWEnvelopeFuncs, setEnvEvent, 136, 8)       \
  X(LWEnvelopeFuncs, egSet, 144, 8)             \
  X(LWEnvelopeFuncs, egGet, 152, 8)             \
  X(LWEnvelopeFuncs, renameGroup, 160, 8)       \
  X(LWFileReqLocal, reqType, 0, 4)              \
  X(LWFileReqLocal, result, 4, 4)               \
  X(LWFileReqLocal, title, 8, 8)                \
  X(LWFileReqLocal, fileType, 16, 8)            \
  X(LWFileReqLocal, path, 24, 8)                \
  X(LWFileReqLocal, baseName, 32, 8)            \
  X(LWFileReqLocal, fullName, 40, 8)            \
  X(LWFileReqLocal, bufLen, 48, 4)              \
  X(LWFileReqLocal, pickName, 56, 8)            \
  X(LWLayoutGeneric, saveScene, 0, 8)           \
  X(LWLayoutGeneric, loadScene, 8, 8)           \
  X(LWLayoutGeneric, data, 16, 8)               \
  X(LWLayoutGeneric, lookup, 24, 8)             \
  X(LWLayoutGeneric, execute, 32, 8)            \
  X(LWLayoutGeneric, evaluate, 40, 8)           \
  X(LWLayoutGeneric, commandArguments, 48, 8)   \
  X(LWLayoutGeneric, parsedArguments, 56, 8)    \
  X(LWInterfaceInfo, curTime, 0, 8)             \
  X(LWInterfaceInfo, selItems, 8, 8)            \
  X(LWInterfaceInfo, itemFlags, 16, 8)          \
  X(LWInterfaceInfo, previewStart, 24, 4)       \
  X(LWInterfaceInfo, previewEnd, 28, 4)         \
  X(LWInterfaceInfo, previewStep, 32, 4)        \
  X(LWInterfaceInfo, dynaUpdate, 36, 4)         \
  X(LWInterfaceInfo, schemaPos, 40, 8)          \
  X(LWInterfaceInfo, itemVis, 48, 8)            \
  X(LWInterfaceInfo, displayFlags, 56, 4)       \
  X(LWInterfaceInfo, generalFlags, 60, 4)       \
  X(LWInterfaceInfo, boxThreshold, 64, 4)       \
  X(LWInterfaceInfo, itemColor, 72, 8)          \
  X(LWInterfaceInfo, setItemColorIndex, 80, 8)  \
  X(LWInterfaceInfo, setItemColorCustom, 88, 8) \
  X(LWInterfaceInfo, alertLevel, 96, 4)         \
  X(LWInterfaceInfo, autoKeyCreate, 100, 4)     \
  X(LWItemInfo, first, 0, 8)                    \
  X(LWItemInfo, next, 8, 8)                     \
  X(LWItemInfo, firstChild, 16, 8)              \
  X(LWItemInfo, nextChild, 24, 8)               \
  X(LWItemInfo, parent, 32, 8)                  \
  X(LWItemInfo, target, 40, 8)                  \
  X(LWItemInfo, goal, 48, 8)                    \
  X(LWItemInfo, type, 56, 8)                    \
  X(LWItemInfo, name, 64, 8)                    \
  X(LWItemInfo, param, 72, 8)                   \
  X(LWItemInfo, limits, 80, 8)                  \
  X(LWItemInfo, getTag, 88, 8)                  \
  X(LWItemInfo, setTag, 96, 8)                  \
  X(LWItemInfo, chanGroup, 104, 8)              \
  X(LWInstanceFuncs, priv, 0, 8)                \
  X(LWInstanceFuncs, create, 8, 8)              \
  X(LWInstanceFuncs, destroy, 16, 8)            \
  X(LWInstanceFuncs, copy, 24, 8)               \
  X(LWInstanceFuncs, load, 32, 8)               \
  X(LWInstanceFuncs, save, 40, 8)               \
  X(LWInstanceFuncs, descln, 48, 8)             \
  X(LWNameChangeData, oldName, 0, 8)            \
  X(LWNameChangeData, newName, 8, 8)            \
  X(LWNameChangeData, id, 16, 8)                \
  X(LWItemFuncs, useItems, 0, 8)                \
  X(LWItemFuncs, changeID, 8, 8)                \
  X(LWItemFuncs, changeName, 16, 8)             \
  X(LWMasterAccess, eventCode, 0, 4)            \
  X(LWMasterAccess, eventData, 8, 8)            \
  X(LWMasterAccess, data, 16, 8)                \
  X(LWMasterAccess, lookup, 24, 8)              \
  X(LWMasterAccess, execute, 32, 8)             \
  X(LWMasterAccess, evaluate, 40, 8)            \
  X(LWMasterHandler, inst, 0, 8)                \
  X(LWMasterHandler, item, 8, 8)                \
  X(LWMasterHandler, type, 16, 4)               \
  X(LWMasterHandler, event, 24, 8)              \
  X(LWMasterHandler, flags, 32, 8)              \
  X(LWInterface, inst, 0, 8)                    \
  X(LWInterface, panel, 8, 8)                   \
  X(LWInterface, options, 16, 8)                \
  X(LWInterface, command, 24, 8)                \
  X(LWMessageFuncs, info, 0, 8)                 \
  X(LWMessageFuncs, error, 8, 8)                \
  X(LWMessageFuncs, warning, 16, 8)             \
  X(LWMessageFuncs, okCancel, 24, 8)            \
  X(LWMessageFuncs, yesNo, 32, 8)               \
  X(LWMessageFuncs, yesNoCan, 40, 8)            \
  X(LWMessageFuncs, yesNoAll, 48, 8)            \
  X(LWMessageFuncs, askName, 56, 8)             \
  X(ServerTagInfo, string, 0, 8)                \
  X(ServerTagInfo, tag, 8, 4)                   \
  X(ServerRecord, className, 0, 8)              \
  X(ServerRecord, name, 8, 8)                   \
  X(ServerRecord, activate, 16, 8)              \
  X(ServerRecord, tagInfo, 24, 8)               \
  X(ModuleDescriptor, sysSync, 0, 4)            \
  X(ModuleDescriptor, sysVersion, 4, 4)         \
  X(ModuleDescriptor, sysMachine, 8, 4)         \
  X(ModuleDescriptor, startup, 16, 8)           \
  X(ModuleDescriptor, shutdown, 24, 8)          \
  X(ModuleDescriptor, serverDefs, 32, 8)        \
  X(LWObjectInfo, filename, 0, 8)               \
  X(LWBoneInfo, flags, 0, 8)                    \
  X(LWBoneInfo, restParam, 8, 8)                \
  X(LWCameraInfo, zoomFactor, 0, 8)             \
  X(LWCameraInfo, focalLength, 8, 8)            \
  X(LWCameraInfo, focalDistance, 16, 8)         \
  X(LWCameraInfo, fStop, 24, 8)                 \
  X(LWCameraInfo, blurLength, 32, 8)            \
  X(LWCameraInfo, fovAngles, 40, 8)             \
  X(LWCameraInfo, flags, 48, 8)                 \
  X(LWCameraInfo, resolution, 56, 8)            \
  X(LWObjectFuncs, numObjects, 0, 8)            \
  X(LWObjectFuncs, filename, 8, 8)              \
  X(LWObjectFuncs, maxLayers, 16, 8)            \
  X(LWObjectFuncs, layerExists, 24, 8)          \
  X(LWObjectFuncs, pivotPoint, 32, 8)           \
  X(LWObjectFuncs, layerMesh, 40, 8)            \
  X(LWObjectFuncs, numVMaps, 48, 8)             \
  X(LWObjectFuncs, vmapName, 56, 8)             \
  X(LWValString, type, 0, 4)                    \
  X(LWValString, buf, 8, 8)                     \
  X(LWValString, bufLen, 16, 4)                 \
  X(LWValInt, type, 0, 4)                       \
  X(LWValInt, value, 4, 4)                      \
  X(LWValInt, defVal, 8, 4)                     \
  X(LWValFloat, type, 0, 4)                     \
  X(LWValFloat, value, 8, 8)                    \
  X(LWValFloat, defVal, 16, 8)                  \
  X(LWValIVector, type, 0, 4)                   \
  X(LWValIVector, val, 4, 12)                   \
  X(LWValIVector, defVal, 16, 4)                \
  X(LWValFVector, type, 0, 4)                   \
  X(LWValFVector, val, 8, 24)                   \
  X(LWValFVector, defVal, 32, 8)                \
  X(LWValCustom, type, 0, 4)                    \
  X(LWValCustom, val, 4, 16)                    \
  X(LWValPointer, type, 0, 4)                   \
  X(LWValPointer, ptr, 8, 8)                    \
  X(LWValue, type, 0, 4)                        \
  X(LWValue, str, 0, 24)                        \
  X(LWValue, intv, 0, 12)                       \
  X(LWValue, flt, 0, 24)                        \
  X(LWValue, ivec, 0, 20)                       \
  X(LWValue, fvec, 0, 40)                       \
  X(LWValue, ptr, 0, 16)                        \
  X(LWValue, cust, 0, 20)                       \
  X(LWPanStringDesc, type, 0, 4)                \
  X(LWPanStringDesc, width, 4, 4)               \
  X(LWPanEditorDesc, type, 0, 4)                \
  X(LWPanEditorDesc, buf, 8, 8)                 \
  X(LWPanEditorDesc, bufLen, 16, 4)             \
  X(LWPanEditorDesc, width, 20, 4)              \
  X(LWPanEditorDesc, height, 24, 4)             \
  X(LWPanChoiceDesc, type, 0, 4)                \
  X(LWPanChoiceDesc, items, 8, 8)               \
  X(LWPanChoiceDesc, vertical, 16, 4)           \
  X(LWPanTextDesc, type, 0, 4)                  \
  X(LWPanTextDesc, text, 8, 8)                  \
  X(LWPanRangeDesc, type, 0, 4)                 \
  X(LWPanRangeDesc, width, 4, 4)                \
  X(LWPanRangeDesc, min, 8, 4)                  \
  X(LWPanRangeDesc, max, 12, 4)                 \
  X(LWPanAreaDesc, type, 0, 4)                  \
  X(LWPanAreaDesc, width, 4, 4)                 \
  X(LWPanAreaDesc, height, 8, 4)                \
  X(LWPanLWItemDesc, type, 0, 4)                \
  X(LWPanLWItemDesc, global, 8, 8)              \
  X(LWPanLWItemDesc, itemType, 16, 4)           \
  X(LWPanLWItemDesc, list, 24, 8)               \
  X(LWPanLWItemDesc, count, 32, 4)              \
  X(LWPanLWItemDesc, width, 36, 4)              \
  X(LWPanPopupDesc, type, 0, 4)                 \
  X(LWPanPopupDesc, width, 4, 4)                \
  X(LWPanPopupDesc, countFn, 8, 8)              \
  X(LWPanPopupDesc, nameFn, 16, 8)              \
  X(LWPanPopupDesc, faceFn, 24, 8)              \
  X(LWPanPopupDesc, typeFn, 32, 8)              \
  X(LWPanPopupDesc, subMFn, 40, 8)              \
  X(LWPanListBoxDesc, type, 0, 4)               \
  X(LWPanListBoxDesc, width, 4, 4)              \
  X(LWPanListBoxDesc, visItems, 8, 4)           \
  X(LWPanListBoxDesc, top, 12, 4)               \
  X(LWPanListBoxDesc, countFn, 16, 8)           \
  X(LWPanListBoxDesc, nameFn, 24, 8)            \
  X(LWPanXPanDesc, type, 0, 4)                  \
  X(LWPanXPanDesc, width, 4, 4)                 \
  X(LWPanXPanDesc, height, 8, 4)                \
  X(LWPanXPanDesc, xpan, 16, 8)                 \
  X(LWPanTreeDesc, type, 0, 4)                  \
  X(LWPanTreeDesc, width, 4, 4)                 \
  X(LWPanTreeDesc, height, 8, 4)                \
  X(LWPanTreeDesc, countFn, 16, 8)              \
  X(LWPanTreeDesc, leafFn, 24, 8)               \
  X(LWPanTreeDesc, infoFn, 32, 8)               \
  X(LWPanTreeDesc, moveFn, 40, 8)               \
  X(LWPanMultiListBoxDesc, type, 0, 4)          \
  X(LWPanMultiListBoxDesc, width, 4, 4)         \
  X(LWPanMultiListBoxDesc, visItems, 8, 4)      \
  X(LWPanMultiListBoxDesc, top, 12, 4)          \
  X(LWPanMultiListBoxDesc, countFn, 16, 8)      \
  X(LWPanMultiListBoxDesc, nameFn, 24, 8)       \
  X(LWPanMultiListBoxDesc, colWidth, 32, 8)     \
  X(LWPanMultiTreeDesc, type, 0, 4)             \
  X(LWPanMultiTreeDesc, width, 4, 4)            \
  X(LWPanMultiTreeDesc, height, 8, 4)           \
  X(LWPanMultiTreeDesc, countFn, 16, 8)         \
  X(LWPanMultiTreeDesc, leafFn, 24, 8)          \
  X(LWPanMultiTreeDesc, infoFn, 32, 8)          \
  X(LWPanMultiTreeDesc, moveFn, 40, 8)          \
  X(LWPanMultiTreeDesc, colWidth, 48, 8)        \
  X(LWPanControlDesc, type, 0, 4)               \
  X(LWPanControlDesc, string, 0, 8)             \
  X(LWPanControlDesc, choice, 0, 24)            \
  X(LWPanControlDesc, text, 0, 16)              \
  X(LWPanControlDesc, range, 0, 16)             \
  X(LWPanControlDesc, area, 0, 12)              \
  X(LWPanControlDesc, lwitem, 0, 40)            \
  X(LWPanControlDesc, popup, 0, 48)             \
  X(LWPanControlDesc, listbox, 0, 32)           \
  X(LWPanControlDesc, xpanel, 0, 24)            \
  X(LWPanControlDesc, tree, 0, 48)              \
  X(LWPanControlDesc, multiList, 0, 40)         \
  X(LWPanControlDesc, multiTree, 0, 56)         \
  X(LWPanControlDesc, editor, 0, 32)            \
  X(LWPanelFuncs, create, 0, 8)                 \
  X(LWPanelFuncs, destroy, 8, 8)                \
  X(LWPanelFuncs, open, 16, 8)                  \
  X(LWPanelFuncs, handle, 24, 8)                \
  X(LWPanelFuncs, draw, 32, 8)                  \
  X(LWPanelFuncs, close, 40, 8)                 \
  X(LWPanelFuncs, get, 48, 8)                   \
  X(LWPanelFuncs, set, 56, 8)                   \
  X(LWPanelFuncs, addControl, 64, 8)            \
  X(LWPanelFuncs, nextControl, 72, 8)           \
  X(LWPanelFuncs, drawFuncs, 80, 8)             \
  X(LWPanelFuncs, user_data, 88, 8)             \
  X(LWPanelFuncs, globalFun, 96, 8)             \
  X(LWPanelFuncs, destroyControl, 104, 8)       \
  X(LWPanelFuncs, setParent, 112, 8)            \
  X(LWPanelFuncs, getRaster, 120, 8)            \
  X(LWControl, draw, 0, 8)                      \
  X(LWControl, get, 8, 8)                       \
  X(LWControl, set, 16, 8)                      \
  X(LWControl, priv_data, 24, 8)                \
  X(LWSceneInfo, name, 0, 8)                    \
  X(LWSceneInfo, filename, 8, 8)                \
  X(LWSceneInfo, numPoints, 16, 4)              \
  X(LWSceneInfo, numPolygons, 20, 4)            \
  X(LWSceneInfo, renderType, 24, 4)             \
  X(LWSceneInfo, renderOpts, 28, 4)             \
  X(LWSceneInfo, frameStart, 32, 4)             \
  X(LWSceneInfo, frameEnd, 36, 4)               \
  X(LWSceneInfo, frameStep, 40, 4)              \
  X(LWSceneInfo, framesPerSecond, 48, 8)        \
  X(LWSceneInfo, frameWidth, 56, 4)             \
  X(LWSceneInfo, frameHeight, 60, 4)            \
  X(LWTimeInfo, time, 0, 8)                     \
  X(LWTimeInfo, frame, 8, 4)

/* X(name, value) */
#define LWHOST_CONSTANTS(X)                   \
  X(LWKEY_VALUE, 0)                           \
  X(LWKEY_TIME, 1)                            \
  X(LWKEY_SHAPE, 2)                           \
  X(LWKEY_TENSION, 3)                         \
  X(LWKEY_CONTINUITY, 4)                      \
  X(LWKEY_BIAS, 5)                            \
  X(LWKEY_PARAM_0, 6)                         \
  X(LWKEY_PARAM_1, 7)                         \
  X(LWKEY_PARAM_2, 8)                         \
  X(LWKEY_PARAM_3, 9)                         \
  X(LWKEY_TAN_IN, 10)                         \
  X(LWKEY_TAN_OUT, 11)                        \
  X(LWENVTAG_VISIBLE, 0)                      \
  X(LWENVTAG_PREBEHAVE, 1)                    \
  X(LWENVTAG_POSTBEHAVE, 2)                   \
  X(LWENVTAG_KEYCOUNT, 3)                     \
  X(LWENVTAG_VALUE, 4)                        \
  X(LWENVTAG_SUBTYPE, 5)                      \
  X(LWENVTAG_TYPE, 6)                         \
  X(FREQ_LOAD, 1)                             \
  X(FREQ_SAVE, 2)                             \
  X(FREQ_DIRECTORY, 3)                        \
  X(FREQ_MULTILOAD, 4)                        \
  X(LWFILEREQ_VERSION, 4)                     \
  X(LWLOC_LANGID, 0xFFFF)                     \
  X(LANGID_USENGLISH, 0x409)                  \
  X(LANGID_JAPANESE, 0x411)                   \
  X(LWSYS_TYPEBITS, 0xF0000000)               \
  X(LWSYS_LAYOUT, 0x0)                        \
  X(LWSYS_SCREAMERNET, 0x20000000)            \
  X(LWAKC_OFF, 0)                             \
  X(LWAKC_MODIFIED, 1)                        \
  X(LWAKC_ALL, 2)                             \
  X(LWAKC_EXISTING, 3)                        \
  X(LWI_OBJECT, 0)                            \
  X(LWI_LIGHT, 1)                             \
  X(LWI_CAMERA, 2)                            \
  X(LWI_BONE, 3)                              \
  X(LWIP_POSITION, 1)                         \
  X(LWIP_ROTATION, 5)                         \
  X(LWIP_SCALING, 6)                          \
  X(LWIP_PIVOT, 7)                            \
  X(LWIP_PIVOT_ROT, 12)                       \
  X(LWEVNT_NOTHING, 0)                        \
  X(LWEVNT_COMMAND, 1)                        \
  X(LWEVNT_TIME, 2)                           \
  X(LWEVNT_SELECT, 3)                         \
  X(LWEVNT_RENDER_DONE, 4)                    \
  X(LWEVNT_NOTIFY_SCENE_LOAD_COMPLETE, 0x116) \
  X(LWMAST_SCENE, 0)                          \
  X(LWMAST_LAYOUT, 1)                         \
  X(LWMASTF_LAYOUT, 1)                        \
  X(LWMASTF_RECEIVE_NOTIFICATIONS, 2)         \
  X(MOD_SYSSYNC, 0x4121994)                   \
  X(MOD_SYSVER, 3)                            \
  X(MOD_MACHINE, LWHOST_MACHINE)              \
  X(GFUSE_TRANSIENT, 0)                       \
  X(GFUSE_ACQUIRE, 1)                         \
  X(GFUSE_RELEASE, 2)                         \
  X(AFUNC_OK, 0)                              \
  X(AFUNC_BADVERSION, 1)                      \
  X(AFUNC_BADGLOBAL, 2)                       \
  X(AFUNC_BADLOCAL, 3)                        \
  X(AFUNC_BADAPP, 4)                          \
  X(AFUNC_BADAPP_SILENT, 5)                   \
  X(LWLAYOUTGENERIC_VERSION, 7)               \
  X(LWMASTER_VERSION, 5)                      \
  X(LWINTERFACE_VERSION, 5)                   \
  X(LWVMAP_MORF, 0x4D4F5246)                  \
  X(LWT_NULL, 0)                              \
  X(LWT_STRING, 1)                            \
  X(LWT_INTEGER, 2)                           \
  X(LWT_FLOAT, 3)                             \
  X(LWT_DISTANCE, 4)                          \
  X(LWT_VINT, 5)                              \
  X(LWT_VFLOAT, 6)                            \
  X(LWT_VDIST, 7)                             \
  X(LWT_BOOLEAN, 8)                           \
  X(LWT_CHOICE, 9)                            \
  X(LWT_SURFACE, 10)                          \
  X(LWT_FONT, 11)                             \
  X(LWT_TEXT, 12)                             \
  X(LWT_LAYERS, 13)                           \
  X(LWT_CUSTOM, 14)                           \
  X(LWT_RANGE, 15)                            \
  X(LWT_LWITEM, 16)                           \
  X(LWT_PERCENT, 17)                          \
  X(LWT_POPUP, 18)                            \
  X(LWT_AREA, 19)                             \
  X(LWT_XPANEL, 20)                           \
  X(LWT_TREE, 21)                             \
  X(LWT_MLIST, 22)                            \
  X(LWT_POINTER, 23)                          \
  X(LWT_MULTILINE, 24)                        \
  X(MX_HCHOICE, 0)                            \
  X(MX_VCHOICE, 1)                            \
  X(MX_POPUP, 2)                              \
  X(PAN_X, 0)                                 \
  X(PAN_Y, 1)                                 \
  X(PAN_W, 2)                                 \
  X(PAN_H, 3)                                 \
  X(PAN_MOUSEX, 4)                            \
  X(PAN_MOUSEY, 5)                            \
  X(PAN_FLAGS, 6)                             \
  X(PAN_USERDRAW, 7)                          \
  X(PAN_USERACTIVATE, 8)                      \
  X(PAN_USEROPEN, 9)                          \
  X(PAN_USERCLOSE, 10)                        \
  X(PAN_TITLE, 11)                            \
  X(PAN_USERDATA, 12)                         \
  X(PAN_USERKEYS, 13)                         \
  X(PAN_LWINSTANCE, 14)                       \
  X(PAN_MOUSEBUTTON, 15)                      \
  X(PAN_MOUSEMOVE, 16)                        \
  X(PAN_PANFUN, 17)                           \
  X(PAN_VERSION, 18)                          \
  X(PAN_RESULT, 19)                           \
  X(PAN_HOSTDISPLAY, 20)                      \
  X(PAN_USERKEYUPS, 21)                       \
  X(PAN_QUALIFIERS, 22)                       \
  X(PAN_TO_FRONT, 23)                         \
  X(CTL_X, 0)                                 \
  X(CTL_Y, 1)                                 \
  X(CTL_W, 2)                                 \
  X(CTL_H, 3)                                 \
  X(CTL_VALUE, 4)                             \
  X(CTL_HOTX, 5)                              \
  X(CTL_HOTY, 6)                              \
  X(CTL_HOTW, 7)                              \
  X(CTL_HOTH, 8)                              \
  X(CTL_LABELWIDTH, 9)                        \
  X(CTL_MOUSEX, 10)                           \
  X(CTL_MOUSEY, 11)                           \
  X(CTL_FLAGS, 12)                            \
  X(CTL_USERDRAW, 13)                         \
  X(CTL_USEREVENT, 14)                        \
  X(CTL_LABEL, 15)                            \
  X(CTL_USERDATA, 16)                         \
  X(CTL_PANEL, 17)                            \
  X(CTL_PANFUN, 18)                           \
  X(CTL_RANGEMIN, 19)                         \
  X(CTL_RANGEMAX, 20)                         \
  X(CTL_ACTIVATE, 21)                         \
  X(CTL_MOUSEBUTTON, 22)                      \
  X(CTL_MOUSELEFT, 1)                         \
  X(CTL_MOUSECENTER, 2)                       \
  X(CTL_MOUSERIGHT, 3)                        \
  X(DR_ERASE, 0)                              \
  X(DR_RENDER, 1)                             \
  X(DR_GHOST, 2)                              \
  X(DR_REFRESH, 3)                            \
  X(LWDK_SC_LEFT, 0x1010)                     \
  X(LWDK_SC_RIGHT, 0x1011)                    \
  X(LWDK_SC_UP, 0x1012)                       \
  X(LWDK_SC_DOWN, 0x1013)                     \
  X(LWDK_DELETE, 0x1020)                      \
  X(LWDK_RETURN, 0x1022)                      \
  X(LWDK_PAD_ENTER, 0x1057)                   \
  X(LWDK_ALT, 0x1060)                         \
  X(LWDK_SHIFT, 0x1061)                       \
  X(LWDK_CTRL, 0x1062)                        \
  X(PANF_BLOCKING, 1)                         \
  X(PANF_CANCEL, 2)                           \
  X(PANF_FRAME, 4)                            \
  X(PANF_MOUSETRAP, 8)                        \
  X(PANF_PASSALLKEYS, 16)                     \
  X(PANF_ABORT, 32)                           \
  X(PANF_NOBUTT, 64)                          \
  X(PANF_RESIZE, 128)                         \
  X(PANF_MOUSETRACK, 256)

#define LWHOST_OWN_CONSTANTS(X) \
  X(SHAPE_TCB, 0)               \
  X(SHAPE_HERM, 1)              \
  X(SHAPE_BEZI, 2)              \
  X(SHAPE_LINE, 3)              \
  X(SHAPE_STEP, 4)              \
  X(SHAPE_BEZ2, 5)              \
  X(BEH_RESET, 0)               \
  X(BEH_CONSTANT, 1)            \
  X(BEH_REPEAT, 2)              \
  X(BEH_OSCILLATE, 3)           \
  X(BEH_OFFSET, 4)              \
  X(BEH_LINEAR, 5)

/* X(name, text) */
#define LWHOST_TEXTS(X)                              \
  X(LWCOMMANDFUNC_GLOBAL, "LW Command Interface")    \
  X(LWINTERFACEINFO_GLOBAL, "LW Interface Info 8")   \
  X(LWITEMINFO_GLOBAL, "LW Item Info 9")             \
  X(LWCHANNELINFO_GLOBAL, "Channel Info 3")          \
  X(LWENVELOPEFUNCS_GLOBAL, "Animation Envelopes 4") \
  X(LWOBJECTFUNCS_GLOBAL, "Scene Objects 9")         \
  X(LWOBJECTINFO_GLOBAL, "LW Object Info 14")        \
  X(LWSCENEINFO_GLOBAL, "LW Scene Info 12")          \
  X(LWTIMEINFO_GLOBAL, "LW Time Info")               \
  X(LWBONEINFO_GLOBAL, "LW Bone Info 7")             \
  X(LWCAMERAINFO_GLOBAL, "LW Camera Info 10")        \
  X(LWPANELFUNCS_GLOBAL, "LWPanelServices 3")        \
  X(LWCOMRING_GLOBAL, "LW Communication Ring")       \
  X(LWMESSAGEFUNCS_GLOBAL, "Info Messages 4")        \
  X(LWFILEACTIVATEFUNC_GLOBAL, "File Request 3")     \
  X(LWLOCALEINFO_GLOBAL, "Locale Info")              \
  X(LWSYSTEMID_GLOBAL, "System ID")                  \
  X(LWLAYOUTGENERIC_CLASS, "LayoutGeneric")          \
  X(LWMASTER_HCLASS, "MasterHandler")                \
  X(LWMASTER_ICLASS, "MasterInterface")

#endif
