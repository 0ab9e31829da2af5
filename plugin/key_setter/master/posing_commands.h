// The Layout commands the master watches while the user poses items.
#pragma once

#include <cstddef>
#include <string_view>

namespace lwp::cks {

enum class PosingCommand {
  kNone,      // any other command
  kReset,     // "Reset": every motion group of the selection
  kPosition,  // "Position", "AddPosition"
  kRotation,  // "Rotation", "AddRotation"
  kScale,     // "Scale", "AddScale"
};

// The longest first word the master looks at; a longer one is no watched
// command.
inline constexpr std::size_t kLongestCommandWord = 255;

// Reads the command line's first word (up to the first blank) and names the
// watched command it is, comparing case-sensitively.
PosingCommand posingCommandOf(std::string_view line);

}  // namespace lwp::cks
