#pragma once
// Shift-JIS double-byte text: what counts as one character on screen.

// 1 when p[0] is a Shift-JIS lead byte (0x81-0x9F, 0xE0-0xFC) and p[1] a
// trail byte (0x40-0x7E, 0x80-0xFC); p[1] is read only after a lead byte.
int IsDbcsPair(const char* p);

// Displayed characters of one NUL-terminated Shift-JIS text: a double-byte
// pair counts 1, a line feed 0, every other byte (CR, a lone lead byte) 1.
int CountChars(const char* text);
