// scripts/bench-documents: where the CPU time of converting a Word document
// goes, stage by stage, for its word/document.xml alone. What no rewrite of
// the zip can avoid (inflating the part, parsing it, deflating what comes
// out at zlib's default level) is printed beside what converting adds, so
// that the floor under the whole is plain.
//   lk_docx_stages IN.docx
// Each stage is run a few times and its least CPU time (user + system) kept:
// on a shared machine the least is the one other programs disturbed least.
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <string>

#include "documents/docx_part.h"
#include "documents/docx_styles.h"
#include "documents/package.h"

namespace {

using namespace lk::documents;

constexpr int kRounds = 3;
constexpr char kBody[] = "word/document.xml";
constexpr char kStyles[] = "word/styles.xml";

// The process's CPU time where std::clock counts it (Linux, where the
// script runs); Windows' counts the wall clock.
double CpuSeconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

double Least(const std::function<void()>& stage) {
  double least = 1e300;
  for (int i = 0; i < kRounds; ++i) {
    const double start = CpuSeconds();
    stage();
    least = std::min(least, CpuSeconds() - start);
  }
  return least;
}

struct Discard : pugi::xml_writer {
  std::size_t size = 0;
  void write(const void*, size_t bytes) override { size += bytes; }
};

struct Keep : pugi::xml_writer {
  std::string text;
  void write(const void* data, size_t bytes) override { text.append(static_cast<const char*>(data), bytes); }
};

// Deflated as the package writer does it (raw, default level, 64 KiB at a
// time); the compressed size.
std::size_t Deflate(const std::string& text) {
  z_stream z{};
  if (deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) return 0;
  static unsigned char out[64 * 1024];
  std::size_t produced = 0;
  for (std::size_t at = 0;;) {
    const std::size_t slice = std::min<std::size_t>(sizeof out, text.size() - at);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data() + at));
    z.avail_in = static_cast<uInt>(slice);
    at += slice;
    const int flush = at == text.size() ? Z_FINISH : Z_NO_FLUSH;
    do {
      z.next_out = out;
      z.avail_out = sizeof out;
      deflate(&z, flush);
      produced += sizeof out - z.avail_out;
    } while (z.avail_out == 0);
    if (flush == Z_FINISH) break;
  }
  deflateEnd(&z);
  return produced;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: lk_docx_stages IN.docx\n");
    return 2;
  }
  try {
    PackageReader reader(argv[1], Limits{});
    const docx::WordFonts fonts(reader.Has(kStyles) ? reader.Read(kStyles) : std::string(), kStyles, {}, {});
    const ConvertSettings settings;

    std::string xml;
    const double read = Least([&] { xml = reader.Read(kBody); });
    const std::size_t size = xml.size();
    double parse = 1e300;
    for (int i = 0; i < kRounds; ++i) {
      std::string copy = xml;
      const double start = CpuSeconds();
      const docx::WordPart part(std::move(copy), kBody, fonts, settings);
      parse = std::min(parse, CpuSeconds() - start);
    }
    const docx::WordPart part(std::move(xml), kBody, fonts, settings);
    Tally tally;
    Discard discard;
    const double convert = Least([&] { part.Write(discard, tally); });
    Keep kept;
    part.Write(kept, tally);
    std::size_t deflated = 0;
    const double deflate = Least([&] { deflated = Deflate(kept.text); });

    std::printf("stages:    %s %zu bytes: inflate %.3f s, parse %.3f s, convert and write %.3f s (%zu bytes), "
                "deflate %.3f s (%zu bytes)\n",
                kBody, size, read, parse, convert, kept.text.size(), deflate, deflated);
    std::printf("floor:     inflate + parse + deflate %.3f s CPU, before any converting\n", read + parse + deflate);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "lk_docx_stages: %s: %s\n", argv[1], e.what());
    return 1;
  }
  return 0;
}
