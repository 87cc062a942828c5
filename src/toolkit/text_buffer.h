#pragma once
// The platform's item records take a writable text pointer, so a text is first copied into a
// buffer on the caller's stack: byte for byte, cut after 1023 bytes, NUL-terminated.
#include <cstddef>
#include <cstring>

struct TextBuffer {
    explicit TextBuffer(const char* text)
    {
        std::size_t length = 0;
        while (length < sizeof bytes - 1 && text[length] != '\0')
            ++length;
        std::memcpy(bytes, text, length);
        bytes[length] = '\0';
    }
    char bytes[1024];
};
