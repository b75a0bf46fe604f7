#include "display_text.h"

#include <windows.h>

#include <cstdarg>
#include <cstring>

namespace {
constexpr int wsprintfLimit = 1024;  // wsprintfA never writes more than this
}

void writeFittedText(StringElement* element, const char* text) {
    if (element->textBuffer == nullptr || element->charCount < 0) return;
    const size_t length = strnlen(text, size_t(element->charCount));
    std::memcpy(element->textBuffer, text, length);
    element->textBuffer[length] = '\0';
}

void writeDisplayText(StringElement* element, const char* format, ...) {
    char text[wsprintfLimit + 1];
    va_list arguments;
    va_start(arguments, format);
    wvsprintfA(text, format, arguments);
    va_end(arguments);
    writeFittedText(element, text);
}
