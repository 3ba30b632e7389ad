#include "dxf/dxf_values.h"

#include <cstddef>
#include <cstring>

#include "dxf/dxf_line_reader.h"
#include "sheet/whole_units.h"

namespace korvex {

int ReadDxfTextValue(char* target, int capacity) {
  if (!ReadDxfLine()) return -1;
  int length = 0;  // of the whole value
  int kept = 0;    // of what the target holds
  while (true) {
    const DxfLine& line = CurrentDxfLine();
    int count = line.length;
    const bool ended = count > 0 && line.text[count - 1] == '\n';
    if (ended) --count;
    const int taken = count < capacity - 1 - kept ? count : capacity - 1 - kept;
    if (taken > 0) {
      std::memcpy(target + kept, line.text, static_cast<std::size_t>(taken));
      kept += taken;
    }
    length += count;
    if (ended || !ReadDxfLine()) break;
  }
  if (capacity > 0) target[kept] = '\0';
  return length;
}

void ReadDxfWholeValue(double& holder) {
  ReadDxfValue(holder);
  holder = WithoutFloatNoise(holder);
}

}  // namespace korvex
