// The clip file against its floors: the writer against fwrite of the same
// bytes line by line, the reader against a bare pugixml parse of the same
// file. x_floor is the path's time over the floor's; x_file_memory the
// memory a read takes at its peak over the file's size.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "curve_data.h"
#include "paired_timing.h"
#include "peak_memory.h"
#include "plugin/clip_io/format/clip_reader.h"
#include "plugin/clip_io/format/clip_writer.h"
#include "plugin/common/globals/clip_globals.h"
#include "sim/host.h"
#include "sim/services/global_registry.h"

namespace {

using lwp_bench::secondsOf;

std::vector<std::string> linesOf(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < bytes.size();) {
    const std::size_t end = bytes.find('\n', start);
    const std::size_t next = end == std::string::npos ? bytes.size() : end + 1;
    lines.push_back(bytes.substr(start, next - start));
    start = next;
  }
  return lines;
}

void writeLines(const std::vector<std::string> &lines, const std::string &path) {
  std::FILE *file = std::fopen(path.c_str(), "wb");
  for (const std::string &line : lines) std::fwrite(line.data(), 1, line.size(), file);
  std::fclose(file);
}

// range(0) items of nine channels of 1000 keys.
void ClipWriterVsFwrite(benchmark::State &state) {
  lwsim::Host host;
  lwp::acquireClipGlobals(lwsim::GlobalRegistry::function());
  const lwp::akio::AnimClip clip = lwp_bench::curveClip(static_cast<int>(state.range(0)), 1000);
  const lwp_bench::TemporaryFile written("writer.xml");
  const lwp_bench::TemporaryFile floor("writer_floor.xml");
  lwp::akio::writeClipFile(clip, written.path());
  const std::vector<std::string> lines = linesOf(written.path());
  lwp_bench::PairTotals totals;
  for (auto _ : state) {
    const double path = secondsOf([&] { lwp::akio::writeClipFile(clip, written.path()); });
    totals.first += path;
    totals.second += secondsOf([&] { writeLines(lines, floor.path()); });
    state.SetIterationTime(path);
  }
  lwp_bench::reportAgainstFloor(state, totals);
}
BENCHMARK(ClipWriterVsFwrite)->Arg(20)->UseManualTime()->Unit(benchmark::kMillisecond);

void ClipReaderVsPugixml(benchmark::State &state) {
  lwsim::Host host;
  lwp::acquireClipGlobals(lwsim::GlobalRegistry::function());
  const lwp_bench::TemporaryFile file("reader.xml");
  lwp::akio::writeClipFile(lwp_bench::curveClip(static_cast<int>(state.range(0)), 1000), file.path());
  const std::optional<std::size_t> peak = lwp_bench::peakResidentGrowth([&] {
    int result = 0;
    benchmark::DoNotOptimize(lwp::akio::readClipFile(file.path(), result).size());
  });
  if (peak) state.counters["x_file_memory"] = static_cast<double>(*peak) / std::filesystem::file_size(file.path());
  lwp_bench::PairTotals totals;
  // Each parse starts with the memory earlier ones freed handed back, as
  // in a fresh process: otherwise whichever runs second reuses the pages
  // the first one touched, and the ratio depends on the order.
  for (auto _ : state) {
    malloc_trim(0);
    const double path = secondsOf([&] {
      int result = 0;
      benchmark::DoNotOptimize(lwp::akio::readClipFile(file.path(), result).size());
    });
    totals.first += path;
    malloc_trim(0);
    totals.second += secondsOf([&] {
      pugi::xml_document document;
      benchmark::DoNotOptimize(document.load_file(file.path().c_str()));
    });
    state.SetIterationTime(path);
  }
  lwp_bench::reportAgainstFloor(state, totals);
}
BENCHMARK(ClipReaderVsPugixml)->Arg(20)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
