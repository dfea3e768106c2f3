// Packs PNG pictures into one Windows icon file, each picture kept as PNG.
// Usage: veldrix-makeico OUT.ico IN.png...  (at most 255 pictures, each at
// most 256 pixels wide and high).
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace
{

struct Picture {
    std::string path;
    std::vector<unsigned char> bytes;
    uint32_t width = 0;
    uint32_t height = 0;
};

uint32_t bigEndian32(const unsigned char *p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

// A PNG file starts with its signature and then its header chunk, which
// gives the size.
bool readPicture(Picture &picture)
{
    std::ifstream in(picture.path, std::ios::binary);
    if (!in)
        return false;
    picture.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    static const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    const std::vector<unsigned char> &b = picture.bytes;
    if (b.size() < 24 || !std::equal(signature, signature + 8, b.begin()) ||
        std::string(b.begin() + 12, b.begin() + 16) != "IHDR")
        return false;
    picture.width = bigEndian32(&b[16]);
    picture.height = bigEndian32(&b[20]);
    return picture.width >= 1 && picture.width <= 256 && picture.height >= 1 &&
           picture.height <= 256;
}

void put16(std::vector<unsigned char> &out, uint32_t value)
{
    out.push_back(value & 0xff);
    out.push_back((value >> 8) & 0xff);
}

void put32(std::vector<unsigned char> &out, uint32_t value)
{
    put16(out, value & 0xffff);
    put16(out, value >> 16);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3 || argc - 2 > 255) {
        std::fprintf(stderr, "usage: %s OUT.ico IN.png...\n", argv[0]);
        return 2;
    }
    std::vector<Picture> pictures(argc - 2);
    for (int i = 2; i < argc; ++i) {
        Picture &picture = pictures[i - 2];
        picture.path = argv[i];
        if (!readPicture(picture)) {
            std::fprintf(stderr, "%s: not a PNG picture of 1 to 256 pixels\n", argv[i]);
            return 1;
        }
    }

    // Directory, then one entry of 16 bytes per picture, then the pictures.
    std::vector<unsigned char> out;
    put16(out, 0); // reserved
    put16(out, 1); // icon
    put16(out, uint32_t(pictures.size()));
    uint32_t offset = uint32_t(6 + 16 * pictures.size());
    for (const Picture &picture : pictures) {
        out.push_back(picture.width & 0xff); // 256 is written as 0
        out.push_back(picture.height & 0xff);
        out.push_back(0); // no palette
        out.push_back(0); // reserved
        put16(out, 1);    // planes
        put16(out, 32);   // bits per pixel
        put32(out, uint32_t(picture.bytes.size()));
        put32(out, offset);
        offset += uint32_t(picture.bytes.size());
    }
    for (const Picture &picture : pictures)
        out.insert(out.end(), picture.bytes.begin(), picture.bytes.end());

    std::ofstream file(argv[1], std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char *>(out.data()), std::streamsize(out.size()));
    file.close();
    if (!file) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
