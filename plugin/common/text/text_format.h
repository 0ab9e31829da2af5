// printf-style formatting of command lines and status texts.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <string>

#if defined(__GNUC__)
#define LWP_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define LWP_PRINTF(fmt, args)
#endif

namespace lwp {

// Size of the clip side's formatting buffer: at most 511 bytes of text.
inline constexpr std::size_t kBoundedBufferSize = 512;

// Formats into buffer; a text that does not fit (or a formatting failure)
// leaves the empty text. Returns whether the text fit.
bool vformatInto(char *buffer, std::size_t size, const char *format, va_list args);
bool formatInto(char *buffer, std::size_t size, const char *format, ...) LWP_PRINTF(3, 4);

// Clip side: formats in a 512-byte buffer; a text that does not fit gives "".
std::string vformatBounded(const char *format, va_list args);
std::string formatBounded(const char *format, ...) LWP_PRINTF(1, 2);

// Key-setter side: measures first, grows one process-wide buffer to fit and
// returns a copy of the text, so there is no limit.
std::string vformatGrowing(const char *format, va_list args);
std::string formatGrowing(const char *format, ...) LWP_PRINTF(1, 2);

// Host ids are written into commands as "0x%x" with their low 32 bits.
inline unsigned int idArg(const void *id) {
  return static_cast<unsigned int>(reinterpret_cast<std::uintptr_t>(id) & 0xFFFFFFFFu);
}

}  // namespace lwp
