// korvex-bench-drawing: writes a benchmark drawing of a given number of records.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>

#include "drawing_generator.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: korvex-bench-drawing RECORDS SEED OUT.dxf\n";
    return 2;
  }
  const int records = std::atoi(argv[1]);
  const unsigned seed = static_cast<unsigned>(std::strtoul(argv[2], nullptr, 10));
  const korvex::bench::GeneratedDrawing drawing = korvex::bench::GenerateDrawing(records, seed);
  std::ofstream out(argv[3], std::ios::binary);
  out.write(drawing.text.data(), static_cast<std::streamsize>(drawing.text.size()));
  if (!out) {
    std::cerr << "korvex-bench-drawing: cannot write " << argv[3] << '\n';
    return 1;
  }
  std::cout << argv[3] << ": " << drawing.entities << " entities, " << drawing.records
            << " records, " << drawing.text.size() << " bytes\n";
  return 0;
}
