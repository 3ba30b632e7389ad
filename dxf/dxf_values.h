// Values read after a group code beyond a plain number: a text of any length, and a number
// with its float noise taken off. Apart from the line reader, whose loop they would otherwise
// share a body with.
#pragma once

namespace korvex {

// Reads the value line after a group code as text: all of it, its pieces too, without its
// line end, at most capacity - 1 characters of it and a NUL into the target. Returns the
// length of the whole value; -1 at the end of the file.
int ReadDxfTextValue(char* target, int capacity);

// As ReadDxfValue, with a whole number written with float noise (262.9999999999999) taken
// as that number: for the values of entities that are transformed or fitted, whose results
// would otherwise follow the noise across a half unit.
void ReadDxfWholeValue(double& holder);

}  // namespace korvex
