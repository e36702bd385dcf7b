// quillon_synth: writes a synthetic terminology database.
//
//   quillon_synth COUNT OUTPUT.mdb [SEED]
//
// COUNT terms (WHOART) and the 30 organ systems (LJXT); the same COUNT and SEED always give
// the same file content. Prints the time taken and the file size.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>

#include "tools/synth_terms.h"

int main(int argc, char** argv) {
  if (argc < 3 || argc > 4) {
    std::fprintf(stderr, "usage: %s COUNT OUTPUT.mdb [SEED]\n", argv[0]);
    return 2;
  }
  try {
    const size_t count = std::stoull(argv[1]);
    const uint64_t seed = argc == 4 ? std::stoull(argv[3]) : kSynthDefaultSeed;
    const auto start = std::chrono::steady_clock::now();
    WriteSynthMdb(argv[2], count, seed);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::printf("%zu terms written to %s: %ju bytes in %.2f s\n", count, argv[2],
                std::uintmax_t(std::filesystem::file_size(argv[2])), took.count());
    return 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s: %s\n", argv[0], error.what());
    return 1;
  }
}
