// Placeholder until the curve capture lands: the scan passes over curves as it passes over
// any entity it does not read.
#include "dxf/curve_capture.h"

namespace korvex {

void CaptureArc() {}
void CaptureCircle() {}
void CapturePolyline() {}
void CaptureLwPolyline() {}

}  // namespace korvex
