// The BLOCKS section of a drawing, read into the block table before its entities, with the
// reader's own method and group readers: every line compared whole, each entity's groups
// read by the reader of its kind, into a fresh set of holders (a block's entity takes nothing
// from the one before it).
//
// Kept: each block's LINE, ARC, CIRCLE, POLYLINE, LWPOLYLINE, ELLIPSE, SPLINE, TEXT, one-line
// MTEXT, POINT and INSERT entities, by their numbers; what the scan would leave out of them
// (an extrusion direction, a kind Korvex does not read, a multi-line MTEXT ...) as a note for
// every INSERT of the block. The template's box block, the model and paper space blocks and
// those of dimensions and hatches are never inserted by a user: passed over.
#pragma once

namespace korvex {

// Reads from the line after the section's name up to and including its ENDSEC line (or the
// end of the file).
void ReadBlocksSection();

}  // namespace korvex
