// Hostile and damaged clip files through "File Open..." and Load in lwsim,
// each in a process of its own under an address-space limit: every one ends
// in the load's message or a load, never a crash, and the memory the load
// takes grows with the file, never faster. The files are made here, at test
// time; LWP_HOSTILE_SCALE=10 makes them as large as the ones first reported
// (a 200 MB attribute, ten million keys).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "support/child_process.h"
#include "support/script_session.h"

namespace {

namespace fs = std::filesystem;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

constexpr std::size_t kMiB = 1024 * 1024;
constexpr std::size_t kAddressSpaceLimit = 2048 * kMiB;
// What the load may take beside the file: the parser streams it, and the
// clip read from it stays within three times its size.
constexpr std::size_t kBytesPerFileByte = 3;

std::size_t scale() {
  const char *text = std::getenv("LWP_HOSTILE_SCALE");
  const long value = text != nullptr ? std::strtol(text, nullptr, 10) : 1;
  return value > 0 ? static_cast<std::size_t>(value) : 1;
}

const std::string kHead = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
const std::string kCategoryStart = "<docroot><category type=\"LW_animClip\" format=\"1.0\">\n";
const std::string kCategoryEnd = "</category></docroot>\n";

std::string clipOf(const std::string &inside) {
  return "<clip item=\"Null\"><targets><param channel=\"Position.X\"/></targets>" + inside + "</clip>\n";
}

std::string repeated(const std::string &text, std::size_t count) {
  std::string out;
  out.reserve(text.size() * count);
  for (std::size_t index = 0; index < count; ++index) out += text;
  return out;
}

void writeFile(const fs::path &path, const std::string &bytes) { std::ofstream(path, std::ios::binary) << bytes; }

// A file's name in the scratch folder and a line its load ends with.
using Hostile = std::pair<std::string, std::string>;

// Makes the hostile set in dir; returns each input with the line it must
// end in.
std::vector<Hostile> makeHostileSet(const fs::path &dir) {
  std::string laughs = kHead + "<!DOCTYPE docroot [<!ENTITY l0 \"lol\">";
  for (int level = 1; level < 10; ++level)
    laughs +=
        "<!ENTITY l" + std::to_string(level) + " \"" + repeated("&l" + std::to_string(level - 1) + ";", 10) + "\">";
  writeFile(dir / "laughs.xml", laughs + "]>\n" + kCategoryStart + clipOf("") + "<note>&l9;</note>" + kCategoryEnd);
  writeFile(dir / "external.xml", kHead + "<!DOCTYPE docroot [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>\n" +
                                      kCategoryStart + "<clip item=\"&x;\"/>" + kCategoryEnd);
  writeFile(dir / "dtd.xml", kHead + "<!DOCTYPE docroot SYSTEM \"http://example.invalid/clip.dtd\">\n" +
                                 kCategoryStart + clipOf("") + kCategoryEnd);
  writeFile(dir / "attribute.xml",
            kHead + kCategoryStart + "<clip item=\"" + std::string(20 * kMiB * scale(), 'A') + "\"/>" + kCategoryEnd);
  writeFile(dir / "deep.xml",
            kHead + kCategoryStart + repeated("<g>", 100000) + repeated("</g>", 100000) + kCategoryEnd);
  // Categories inside the clip category, each holding clips nested in clips.
  const std::string nested =
      repeated("<clip><targets><param/></targets><sources><fcurve><key/></fcurve></sources>", 40) +
      repeated("</clip>", 40);
  writeFile(dir / "nested.xml",
            kHead + kCategoryStart + repeated("<category>" + nested + "</category>\n", 250 * scale()) + kCategoryEnd);
  std::string keys;
  for (std::size_t key = 0; key < 1000000 * scale(); ++key)
    keys += "<key time=\"" + std::to_string(key) + "\" value=\"1\"/>\n";
  writeFile(dir / "keys.xml",
            kHead + kCategoryStart + clipOf("<sources><fcurve>" + keys + "</fcurve></sources>") + kCategoryEnd);
  writeFile(dir / "utf16.xml", std::string("\xFF\xFE<\0d\0o\0c\0r\0o\0o\0t\0/\0>\0\n", 23));
  mkfifo((dir / "fifo.xml").c_str(), 0600);
  fs::create_directory(dir / "folder.xml");
  writeFile(dir / "unreadable.xml", kHead + kCategoryStart + clipOf("") + kCategoryEnd);
  fs::permissions(dir / "unreadable.xml", fs::perms::none);

  const std::string noData = "status: No animetion data !";
  const std::string unmatched = "status: No item matched the clip !";
  const std::string overgrown =
      "message: Debug Window: The file holds more clips, channels or keys than a file of its size can.";
  std::vector<Hostile> set = {{"laughs.xml", noData},       {"external.xml", noData}, {"dtd.xml", unmatched},
                              {"attribute.xml", unmatched}, {"deep.xml", noData},     {"nested.xml", overgrown},
                              {"keys.xml", unmatched},      {"utf16.xml", noData},    {"fifo.xml", noData},
                              {"folder.xml", noData}};
  // Permissions do not hold the superuser back.
  if (geteuid() != 0) set.push_back({"unreadable.xml", noData});
  return set;
}

// Loads file onto an item of another name in lwsim; what it printed.
std::vector<std::string> load(const fs::path &dir, const std::string &file, lwtest::ChildResources &resources) {
  writeFile(dir / "load.lwsim", "AddNull Other\nSelectByName Other\n@run QD:ZaduDuzAVLoad\n@file " + file +
                                    "\n@press \"File Open...\"\n@press Load\n@close\n");
  const std::optional<int> code =
      lwtest::runChild({LWSIM_PATH, "load.lwsim"}, dir, {std::nullopt, dir / "out.txt", dir / "err.txt"}, &resources);
  EXPECT_EQ(code, 0) << file << " ended the host: " << lwtest::readBytes(dir / "err.txt");
  std::vector<std::string> lines;
  std::ifstream out(dir / "out.txt");
  for (std::string line; std::getline(out, line);) lines.push_back(line);
  return lines;
}

TEST(HostileClips, EachEndsInAMessageOrALoadWithMemoryGrowingWithTheFile) {
  const lwtest::ScratchDirectory dir;
  const std::vector<Hostile> set = makeHostileSet(dir.path());
  lwtest::ChildResources resources;
  resources.addressSpaceLimit = kSanitized ? 0 : kAddressSpaceLimit * scale();
  load(dir.path(), "dtd.xml", resources);
  const std::size_t baseline = resources.peakResidentBytes;
  for (const auto &[name, outcome] : set) {
    SCOPED_TRACE(name);
    EXPECT_THAT(load(dir.path(), name, resources), ::testing::Contains(outcome));
    if (kSanitized) continue;
    std::error_code noSize;
    const std::uintmax_t size = fs::is_regular_file(dir / name) ? fs::file_size(dir / name, noSize) : 0;
    EXPECT_LE(resources.peakResidentBytes, baseline + 16 * kMiB + kBytesPerFileByte * size);
  }
  fs::permissions(dir / "unreadable.xml", fs::perms::owner_all);
}

}  // namespace

#endif
