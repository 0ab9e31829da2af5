// Our host declarations held to the SDK's own headers at compile time. Built
// only when LWSDK_INCLUDE_DIR names the SDK's include folder. For every
// member of abi_numbers.h: the same offset in both, and the same type up to
// the kind of handle (any pointer counts as a pointer, any integer or enum
// by its size, functions by their result and parameters); for every whole
// record the SDK's size; for every constant and id the SDK's value, and all
// of them the numbers abi_proofs.cpp holds our declarations to.
#include <stddef.h>

#include <cstddef>
#include <string_view>
#include <type_traits>

namespace ours {
#include "lwhost.h"
}  // namespace ours
#include "abi_numbers.h"

// Our constants and texts, taken before the SDK's macros of the same names
// exist; our text macros then make way for the SDK's.
#define LWHOST_TAKE_CONSTANT(name, value) constexpr long long ours_##name = ours::name;
#define LWHOST_TAKE_TEXT(name, text) constexpr std::string_view ours_##name = name;
LWHOST_CONSTANTS(LWHOST_TAKE_CONSTANT)
LWHOST_TEXTS(LWHOST_TAKE_TEXT)
#undef LWCOMMANDFUNC_GLOBAL
#undef LWINTERFACEINFO_GLOBAL
#undef LWITEMINFO_GLOBAL
#undef LWCHANNELINFO_GLOBAL
#undef LWENVELOPEFUNCS_GLOBAL
#undef LWOBJECTFUNCS_GLOBAL
#undef LWOBJECTINFO_GLOBAL
#undef LWSCENEINFO_GLOBAL
#undef LWTIMEINFO_GLOBAL
#undef LWBONEINFO_GLOBAL
#undef LWCAMERAINFO_GLOBAL
#undef LWPANELFUNCS_GLOBAL
#undef LWCOMRING_GLOBAL
#undef LWMESSAGEFUNCS_GLOBAL
#undef LWFILEACTIVATEFUNC_GLOBAL
#undef LWLOCALEINFO_GLOBAL
#undef LWSYSTEMID_GLOBAL
#undef LWLAYOUTGENERIC_CLASS
#undef LWMASTER_HCLASS
#undef LWMASTER_ICLASS

namespace sdk {
#include <lwcommand.h>
#include <lwcomring.h>
#include <lwdialog.h>
#include <lwenvel.h>
#include <lwgeneric.h>
#include <lwhandler.h>
#include <lwhost.h>
#include <lwmaster.h>
#include <lwmeshes.h>
#include <lwmodule.h>
#include <lwpanel.h>
#include <lwrender.h>
#include <lwserver.h>
}  // namespace sdk
// The SDK's enumerators by their plain names, as its macros are.
using namespace sdk;

namespace {

// The shape of a type as the calling convention and the layout see it.
template <std::size_t Size>
struct Integer {};
template <std::size_t Size>
struct Aggregate {};
template <class Element, std::size_t Count>
struct Array {};
template <class Result, class... Parameters>
struct Function {};
struct Pointer {};

template <class T>
constexpr auto shapeOf();
template <class T>
using Shape = typename decltype(shapeOf<T>())::type;

template <class Result, class... Parameters>
constexpr auto functionShape(Result (*)(Parameters...)) {
  return std::type_identity<Function<Shape<Result>, Shape<Parameters>...>>{};
}

template <class T>
constexpr auto shapeOf() {
  using U = std::remove_cv_t<T>;
  if constexpr (std::is_pointer_v<U> && std::is_function_v<std::remove_pointer_t<U>>)
    return functionShape(static_cast<U>(nullptr));
  else if constexpr (std::is_pointer_v<U>)
    return std::type_identity<Pointer>{};
  else if constexpr (std::is_enum_v<U> || std::is_integral_v<U>)
    return std::type_identity<Integer<sizeof(U)>>{};
  else if constexpr (std::is_array_v<U>)
    return std::type_identity<Array<Shape<std::remove_extent_t<U>>, std::extent_v<U>>>{};
  else if constexpr (std::is_class_v<U> || std::is_union_v<U>)
    return std::type_identity<Aggregate<sizeof(U)>>{};
  else
    return std::type_identity<U>{};  // void and floating point
}

}  // namespace

#define LWHOST_COMPARE_SIZE(record, size) \
  static_assert(sizeof(sdk::record) == (size), #record " is " #size " bytes in the SDK");
#define LWHOST_COMPARE_MEMBER(record, member, offset, size)                                                  \
  static_assert(offsetof(sdk::record, member) == (offset), #record "." #member " sits at " #offset);         \
  static_assert(offsetof(ours::record, member) == offsetof(sdk::record, member),                             \
                #record "." #member " sits where the SDK has it");                                           \
  static_assert(std::is_same_v<Shape<decltype(ours::record::member)>, Shape<decltype(sdk::record::member)>>, \
                #record "." #member " has the SDK's type");
#define LWHOST_COMPARE_CONSTANT(name, value)                                                 \
  static_assert(static_cast<long long>(name) == (value), #name " is " #value " in the SDK"); \
  static_assert(ours_##name == static_cast<long long>(name), #name " has the SDK's value");
#define LWHOST_COMPARE_TEXT(name, text) \
  static_assert(ours_##name == std::string_view(name), #name " is the SDK's " #text);

LWHOST_WHOLE_RECORDS(LWHOST_COMPARE_SIZE)
LWHOST_MEMBERS(LWHOST_COMPARE_MEMBER)
LWHOST_CONSTANTS(LWHOST_COMPARE_CONSTANT)
LWHOST_TEXTS(LWHOST_COMPARE_TEXT)

// Callbacks the module hands the host, or the host the module, outside the
// records: ours and the SDK's name for each.
#define LWHOST_CALLBACKS(X)                     \
  X(GlobalFunc *, GlobalFunc *)                 \
  X(ActivateFunc *, ActivateFunc *)             \
  X(LWFileActivateFunc *, LWFileActivateFunc *) \
  X(LWCommandFunc *, LWCommandFunc *)           \
  X(LWRingEvent *, RingEvent)                   \
  X(LWPanHookFunc *, LWPanHook)                 \
  X(LWPanDrawFunc *, LWPanDrawHook)             \
  X(LWPanKeyFunc *, LWPanKeyHook)               \
  X(LWCtlEventFunc *, LWCtlEventHook)           \
  X(LWChanEventFunc, LWChanEventFunc)           \
  X(LWEnvEventFunc, LWEnvEventFunc)
#define LWHOST_COMPARE_CALLBACK(ourType, sdkType) \
  static_assert(std::is_same_v<Shape<ours::ourType>, Shape<sdk::sdkType>>, #ourType " is the SDK's " #sdkType);
LWHOST_CALLBACKS(LWHOST_COMPARE_CALLBACK)
