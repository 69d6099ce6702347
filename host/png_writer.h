// A minimal PNG writer for screenshots: 8-bit RGB, no filtering, the image
// data in stored (uncompressed) deflate blocks.  Any PNG reader accepts it.
#ifndef KORRASH_PNG_WRITER_H
#define KORRASH_PNG_WRITER_H

#include <string>

// Writes a width x height image, rows top to bottom, three bytes (red,
// green, blue) a pixel, to path; false when the file cannot be written.
bool WritePng(const std::wstring &path, int width, int height, const unsigned char *rgb);

#endif
