// The descriptor and server table as the host reads them from the built
// module, byte for byte.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "support/module_host.h"

namespace {

// The machine code of the system the module was built for.
#if defined(_WIN32)
constexpr std::uint32_t kMachine = 0x300;
#else
constexpr std::uint32_t kMachine = 0x500;
#endif

template <class T>
T readAt(const void *base, std::size_t offset) {
  T value;
  std::memcpy(&value, static_cast<const unsigned char *>(base) + offset, sizeof value);
  return value;
}

// The header's fields at their offsets; startup answers 4 and looks up no
// global, shutdown does nothing; the server table holds six records in
// order, then 32 zero bytes.
TEST(ModuleDescriptor, HeaderStartupAndServerTableAsTheHostReadsThem) {
  lwtest::ModuleHost fixture;
  const ModuleDescriptor &descriptor = fixture.module().descriptor();
  const void *raw = &descriptor;
  EXPECT_EQ(readAt<std::uint32_t>(raw, 0), 0x04121994u);
  EXPECT_EQ(readAt<std::uint32_t>(raw, 4), 3u);
  EXPECT_EQ(readAt<std::uint32_t>(raw, 8), kMachine);
  EXPECT_EQ(readAt<std::uint32_t>(raw, 12), 0u) << "padding is zero";
  for (const std::size_t offset : {16, 24, 32}) EXPECT_NE(readAt<void *>(raw, offset), nullptr) << offset;

  EXPECT_EQ(fixture.module().startupValue(), reinterpret_cast<void *>(4));
  EXPECT_EQ(descriptor.startup(), reinterpret_cast<void *>(4));
  descriptor.shutdown(reinterpret_cast<void *>(4));
  EXPECT_TRUE(fixture.transcript().empty());
  EXPECT_TRUE(fixture.commandLines().empty());
  EXPECT_TRUE(fixture.host().globals().lookupLog().empty()) << "loading looks up no global";

  const auto *records = static_cast<const unsigned char *>(readAt<void *>(raw, 32));
  const auto &expected = lwtest::moduleServers();
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const unsigned char *record = records + 32 * i;
    EXPECT_STREQ(readAt<const char *>(record, 0), expected[i].className) << "record " << i;
    EXPECT_STREQ(readAt<const char *>(record, 8), expected[i].name) << "record " << i;
    EXPECT_NE(readAt<void *>(record, 16), nullptr) << "record " << i;
    EXPECT_EQ(readAt<void *>(record, 24), nullptr) << "record " << i << " has no tag information";
  }
  const unsigned char *terminator = records + 32 * expected.size();
  for (std::size_t byte = 0; byte < 32; ++byte) EXPECT_EQ(terminator[byte], 0) << "terminator byte " << byte;
  EXPECT_EQ(readAt<const char *>(records + 32 * 2, 8), readAt<const char *>(records + 32 * 3, 8))
      << "the master's two records share one name string";
}

}  // namespace
