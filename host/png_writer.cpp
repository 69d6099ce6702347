// A minimal PNG writer.  See png_writer.h.
#include "png_writer.h"

#include <windows.h>

#include <string>

namespace {

unsigned long Crc32(const unsigned char *bytes, size_t count, unsigned long crc = 0)
{
    static unsigned long table[256];
    static bool ready = false;
    if (!ready) {
        for (unsigned long n = 0; n < 256; n++) {
            unsigned long c = n;
            for (int k = 0; k < 8; k++) c = (c & 1) ? 0xEDB88320UL ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
        ready = true;
    }
    crc ^= 0xFFFFFFFFUL;
    for (size_t i = 0; i < count; i++) crc = table[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFUL;
}

void PutBigEndian(std::string *out, unsigned long value)
{
    for (int shift = 24; shift >= 0; shift -= 8) *out += (char)((value >> shift) & 0xFF);
}

// One chunk: length, type, data, and the CRC of type and data.
void PutChunk(std::string *out, const char *type, const std::string &data)
{
    std::string body = std::string(type, 4) + data;
    PutBigEndian(out, (unsigned long)data.size());
    *out += body;
    PutBigEndian(out, Crc32((const unsigned char *)body.data(), body.size()));
}

// A zlib stream of stored deflate blocks (at most 65,535 bytes each).
std::string StoredZlib(const std::string &raw)
{
    std::string out = "\x78\x01";
    size_t pos = 0;
    do {
        size_t count = raw.size() - pos < 65535 ? raw.size() - pos : 65535;
        bool last = pos + count == raw.size();
        out += (char)(last ? 1 : 0);
        out += (char)(count & 0xFF);
        out += (char)(count >> 8);
        out += (char)(~count & 0xFF);
        out += (char)((~count >> 8) & 0xFF);
        out.append(raw, pos, count);
        pos += count;
    } while (pos < raw.size());

    unsigned long a = 1, b = 0;   // Adler-32 of the uncompressed bytes
    for (unsigned char byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    PutBigEndian(&out, (b << 16) | a);
    return out;
}

}  // namespace

bool WritePng(const std::wstring &path, int width, int height, const unsigned char *rgb)
{
    if (width <= 0 || height <= 0 || rgb == nullptr) return false;

    std::string header;
    PutBigEndian(&header, (unsigned long)width);
    PutBigEndian(&header, (unsigned long)height);
    header += std::string("\x08\x02\x00\x00\x00", 5);   // 8 bits, RGB, deflate, no filter, no interlace

    std::string raw;
    raw.reserve((size_t)height * (width * 3 + 1));
    for (int y = 0; y < height; y++) {
        raw += '\0';   // filter type: none
        raw.append((const char *)rgb + (size_t)y * width * 3, (size_t)width * 3);
    }

    std::string file = "\x89PNG\r\n\x1a\n";
    PutChunk(&file, "IHDR", header);
    PutChunk(&file, "IDAT", StoredZlib(raw));
    PutChunk(&file, "IEND", std::string());

    HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (out == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = WriteFile(out, file.data(), (DWORD)file.size(), &written, nullptr);
    CloseHandle(out);
    return ok && written == file.size();
}
