// Shapes read from a compiled file written back as shape source text, in this project's
// layout: "*n,bytes,NAME" headers, bodies of decimal bytes with each command's operands in
// a parenthesised group ("8,(dx,dy)", "12,(dx,dy,bulge)", "11,(0,0,0,r,000)") as the
// shape encoder writes them, and octant bytes as (-)0SC, the one form all readers agree on.
#pragma once

#include <cstdint>
#include <cstdio>

#include "shape_files/shp_source.h"

namespace korvex {

// The longest a byte's text can be: "(-128," and a closing ")" with an octant's "-080".
inline constexpr int kMaxCharsPerByte = 8;
inline constexpr int kShapeBodyTextCapacity = kShapeByteLimit * kMaxCharsPerByte;

// Writes the bytes (values -128 to 255, at most kShapeByteLimit of them) as body text;
// returns its length. A font description (description) is written as plain bytes; bytes the
// command walk cannot take (an unknown code, a command cut short) are written plain too.
int FormatShapeBody(const std::int16_t* bytes, int count, bool wideSubshapeNumbers,
                    bool description, char (&text)[kShapeBodyTextCapacity]);

// Writes every shape of the tables, in their order, to the open output (binary mode), the
// font description of a Unicode font as "*UNIFONT,bytes,name". The tables must come from a
// compiled file other than a big font. False when the output failed.
bool WriteShapeSourceText(const ShapeSource& source, std::FILE* output);

}  // namespace korvex
