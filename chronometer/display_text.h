// Writing a display text into the storage the host gives a string element.
#pragma once

#include "host_panel.h"

// Formats with wsprintfA and writes at most the element's charCount
// characters: the host's storage holds charCount + 1 bytes and no more.
void writeDisplayText(StringElement* element, const char* format, ...);

// Copies an already formatted text, cut to the element's capacity likewise.
void writeFittedText(StringElement* element, const char* text);

// The value a display callback returns: 1.0 while the value is 0.0.
inline double zeroFlag(double value) { return value == 0.0 ? 1.0 : 0.0; }
