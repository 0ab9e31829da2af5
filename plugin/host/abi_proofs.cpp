// Our host declarations held to the numbers of abi_numbers.h: a member that
// moves, a record that grows or a constant that changes fails the build.
#include <cstddef>
#include <string_view>

#include "abi_numbers.h"
#include "lwhost.h"

#define LWHOST_PROVE_SIZE(record, size) static_assert(sizeof(record) == (size), #record " is " #size " bytes");
#define LWHOST_PROVE_MEMBER(record, member, offset, size)                                       \
  static_assert(offsetof(record, member) == (offset), #record "." #member " sits at " #offset); \
  static_assert(sizeof(record::member) == (size), #record "." #member " is " #size " bytes");
#define LWHOST_PROVE_CONSTANT(name, value) static_assert(name == (value), #name " is " #value);
#define LWHOST_PROVE_TEXT(name, text) static_assert(std::string_view(name) == (text), #name " is " #text);

LWHOST_WHOLE_RECORDS(LWHOST_PROVE_SIZE)
LWHOST_LEADING_RECORDS(LWHOST_PROVE_SIZE)
LWHOST_MEMBERS(LWHOST_PROVE_MEMBER)
LWHOST_CONSTANTS(LWHOST_PROVE_CONSTANT)
LWHOST_OWN_CONSTANTS(LWHOST_PROVE_CONSTANT)
LWHOST_TEXTS(LWHOST_PROVE_TEXT)
