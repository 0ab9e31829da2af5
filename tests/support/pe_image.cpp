#include "pe_image.h"

#include "exported_names.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace lwtest {

namespace {

// Offsets and values of the PE/COFF format.
constexpr std::size_t kNewHeaderOffset = 0x3C;
constexpr std::size_t kCoffHeaderSize = 20;
constexpr std::uint16_t kPe32PlusMagic = 0x20B;
constexpr std::uint16_t kDllCharacteristic = 0x2000;
constexpr std::size_t kPe32PlusDirectoryCount = 108;  // in the optional header
constexpr std::size_t kPe32PlusDirectories = 112;
constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::size_t kImportDescriptorSize = 20;

class PeFile {
 public:
  explicit PeFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    bytes_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  template <class T>
  T at(std::size_t offset) const {
    T value{};
    if (offset > bytes_.size() || bytes_.size() - offset < sizeof value) throw std::runtime_error("truncated");
    std::memcpy(&value, bytes_.data() + offset, sizeof value);
    return value;
  }

  std::string textAt(std::size_t offset) const {
    if (offset >= bytes_.size()) throw std::runtime_error("name outside the file");
    const auto end = std::find(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), bytes_.end(), '\0');
    return std::string(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), end);
  }

 private:
  std::vector<char> bytes_;
};

struct Section {
  std::uint32_t virtualAddress, virtualSize, rawOffset, rawSize;
};

class PeReader {
 public:
  explicit PeReader(const std::string &path) : file_(path) {
    if (file_.at<std::uint16_t>(0) != 0x5A4D) throw std::runtime_error("no MZ header");
    const std::size_t pe = file_.at<std::uint32_t>(kNewHeaderOffset);
    if (file_.at<std::uint32_t>(pe) != 0x00004550) throw std::runtime_error("no PE signature");
    const std::size_t coff = pe + 4;
    image_.machine = file_.at<std::uint16_t>(coff);
    const std::uint16_t sectionCount = file_.at<std::uint16_t>(coff + 2);
    const std::uint16_t optionalSize = file_.at<std::uint16_t>(coff + 16);
    image_.isDll = (file_.at<std::uint16_t>(coff + 18) & kDllCharacteristic) != 0;
    optional_ = coff + kCoffHeaderSize;
    image_.isPe32Plus = file_.at<std::uint16_t>(optional_) == kPe32PlusMagic;
    const std::size_t sectionTable = optional_ + optionalSize;
    for (std::size_t i = 0; i < sectionCount; ++i) {
      const std::size_t header = sectionTable + i * kSectionHeaderSize;
      sections_.push_back({file_.at<std::uint32_t>(header + 12), file_.at<std::uint32_t>(header + 8),
                           file_.at<std::uint32_t>(header + 20), file_.at<std::uint32_t>(header + 16)});
    }
  }

  PeImage read() {
    if (!image_.isPe32Plus) return image_;  // the directories below are those of PE32+
    readExports();
    readImports();
    std::sort(image_.exportedNames.begin(), image_.exportedNames.end());
    return image_;
  }

 private:
  // The RVA and size of data directory number index; zeros when absent.
  std::pair<std::uint32_t, std::uint32_t> directory(std::size_t index) const {
    if (index >= file_.at<std::uint32_t>(optional_ + kPe32PlusDirectoryCount)) return {0, 0};
    const std::size_t entry = optional_ + kPe32PlusDirectories + index * 8;
    return {file_.at<std::uint32_t>(entry), file_.at<std::uint32_t>(entry + 4)};
  }

  std::size_t fileOffset(std::uint32_t rva) const {
    for (const Section &section : sections_) {
      const std::uint32_t size = std::max(section.virtualSize, section.rawSize);
      if (rva >= section.virtualAddress && rva - section.virtualAddress < size)
        return section.rawOffset + (rva - section.virtualAddress);
    }
    throw std::runtime_error("address outside every section");
  }

  void readExports() {
    const auto [rva, size] = directory(0);
    if (rva == 0 || size == 0) return;
    const std::size_t table = fileOffset(rva);
    const std::uint32_t nameCount = file_.at<std::uint32_t>(table + 24);
    const std::size_t names = fileOffset(file_.at<std::uint32_t>(table + 32));
    for (std::size_t i = 0; i < nameCount; ++i)
      image_.exportedNames.push_back(file_.textAt(fileOffset(file_.at<std::uint32_t>(names + i * 4))));
  }

  void readImports() {
    const auto [rva, size] = directory(1);
    if (rva == 0 || size == 0) return;
    for (std::size_t entry = fileOffset(rva);; entry += kImportDescriptorSize) {
      const std::uint32_t name = file_.at<std::uint32_t>(entry + 12);
      if (name == 0) break;
      image_.importedLibraries.push_back(file_.textAt(fileOffset(name)));
    }
  }

  PeFile file_;
  PeImage image_;
  std::size_t optional_ = 0;
  std::vector<Section> sections_;
};

}  // namespace

PeImage readPeImage(const std::string &path) {
  try {
    return PeReader(path).read();
  } catch (const std::exception &error) {
    ADD_FAILURE() << path << " is not a well-formed PE image: " << error.what();
    return {};
  }
}

std::vector<std::string> exportedNames(const std::string &path) { return readPeImage(path).exportedNames; }

}  // namespace lwtest
