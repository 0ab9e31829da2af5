#include "exported_names.h"

#include <elf.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

namespace lwtest {

namespace {

template <class T>
bool readStruct(const std::vector<char> &file, std::size_t offset, T &out) {
  if (offset > file.size() || file.size() - offset < sizeof out) return false;
  std::memcpy(&out, file.data() + offset, sizeof out);
  return true;
}

}  // namespace

std::vector<std::string> exportedNames(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<char> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  Elf64_Ehdr header{};
  if (!readStruct(file, 0, header) || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
      header.e_ident[EI_CLASS] != ELFCLASS64) {
    ADD_FAILURE() << path << " is not a 64-bit ELF file";
    return {};
  }
  std::vector<Elf64_Shdr> sections(header.e_shnum);
  for (std::size_t i = 0; i < sections.size(); ++i)
    if (!readStruct(file, header.e_shoff + i * header.e_shentsize, sections[i])) {
      ADD_FAILURE() << path << " has a truncated section table";
      return {};
    }
  std::vector<std::string> names;
  for (const Elf64_Shdr &section : sections) {
    if (section.sh_type != SHT_DYNSYM || section.sh_link >= sections.size()) continue;
    const Elf64_Shdr &strings = sections[section.sh_link];
    for (std::size_t offset = section.sh_offset; offset + sizeof(Elf64_Sym) <= section.sh_offset + section.sh_size;
         offset += sizeof(Elf64_Sym)) {
      Elf64_Sym symbol{};
      readStruct(file, offset, symbol);
      const int binding = ELF64_ST_BIND(symbol.st_info);
      if (symbol.st_shndx == SHN_UNDEF || binding == STB_LOCAL || symbol.st_name == 0) continue;
      if (strings.sh_offset + symbol.st_name >= file.size()) continue;
      names.emplace_back(file.data() + strings.sh_offset + symbol.st_name);
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace lwtest
