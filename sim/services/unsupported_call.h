// Members of the host's records that the simulation does not carry out. The
// host still sets every one: calling it records "unsupported host call:
// RECORD.member" in the transcript and answers a neutral value (zero, null,
// nothing), so a module that relies on one is seen at once.
#pragma once

#include <algorithm>
#include <cstddef>
#include <type_traits>

namespace lwsim {

// Records the call in the current host's transcript, if a host runs.
void recordUnsupportedCall(const char *member) noexcept;

// A member's name as a template argument ("LWItemInfo.target").
template <std::size_t N>
struct MemberName {
  constexpr MemberName(const char (&text)[N]) { std::copy_n(text, N, name); }  // NOLINT: implicit by design
  char name[N];
};

template <MemberName Name, typename Function>
struct Unsupported;

template <MemberName Name, typename Result, typename... Arguments>
struct Unsupported<Name, Result (*)(Arguments...)> {
  static Result call(Arguments...) noexcept {
    recordUnsupportedCall(Name.name);
    if constexpr (!std::is_void_v<Result>) return Result{};
  }
};

}  // namespace lwsim

// The stub of one member, for the record's initialiser:
// .target = LWSIM_UNSUPPORTED(LWItemInfo, target).
#define LWSIM_UNSUPPORTED(Record, member) (&::lwsim::Unsupported<#Record "." #member, decltype(Record::member)>::call)
