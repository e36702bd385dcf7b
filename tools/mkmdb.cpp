// quillon_mkmdb: builds the terminology database from its tab-separated sources.
//
//   quillon_mkmdb WHOART.tsv LJXT.tsv OUTPUT.mdb
//
// Writes tables WHOART and LJXT (all columns text) into a new Jet 4 file, each column sized
// to the longest value it holds (rounded up to tens of characters). A malformed source
// is reported as "file:line: problem" and nothing is written; the exit code is then 1.
#include <cstdio>
#include <exception>

#include "tools/mdb_writer.h"
#include "tools/terminology_schema.h"
#include "tools/terminology_tsv.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s WHOART.tsv LJXT.tsv OUTPUT.mdb\n", argv[0]);
    return 2;
  }
  try {
    TTsvTable whoart = ReadTsvTable(argv[1], WhoartColumns());
    TTsvTable ljxt = ReadTsvTable(argv[2], LjxtColumns());
    CheckTerminology(whoart, ljxt);
    std::vector<TMdbColumn> whoartColumns = SizedToRows(WhoartColumns(), whoart.Rows);
    std::vector<TMdbColumn> ljxtColumns = SizedToRows(LjxtColumns(), ljxt.Rows);
    WriteMdbFile(argv[3], {{kWhoartTableName, std::move(whoartColumns), std::move(whoart.Rows), {}},
                           {kLjxtTableName, std::move(ljxtColumns), std::move(ljxt.Rows), {}}});
    return 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s: %s\n", argv[0], error.what());
    return 1;
  }
}
