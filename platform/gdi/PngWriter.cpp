#include "platform/gdi/PngWriter.h"

#include <png.h>

#include <csetjmp>
#include <fstream>

namespace {

void Append(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void Flush(png_structp) {}

// Kept out of the function that calls setjmp, so that no object with a
// destructor lives across the jump.
bool Encode(const PixelSurface& s, std::vector<std::uint8_t>* out, std::vector<png_byte>* row) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, out, Append, Flush);
    png_set_IHDR(png, info, png_uint_32(s.width), png_uint_32(s.height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < s.height; ++y) {
        const std::uint32_t* src = s.Row(y);
        for (int x = 0; x < s.width; ++x) {
            (*row)[std::size_t(3 * x)] = png_byte(src[x] >> 16);
            (*row)[std::size_t(3 * x + 1)] = png_byte(src[x] >> 8);
            (*row)[std::size_t(3 * x + 2)] = png_byte(src[x]);
        }
        png_write_row(png, row->data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

std::vector<std::uint8_t> EncodePng(const PixelSurface& surface) {
    std::vector<std::uint8_t> out;
    if (!surface.IsValid())
        return out;
    std::vector<png_byte> row(std::size_t(surface.width) * 3);
    if (!Encode(surface, &out, &row))
        out.clear();
    return out;
}

bool WritePng(const PixelSurface& surface, const std::string& path) {
    const std::vector<std::uint8_t> bytes = EncodePng(surface);
    if (bytes.empty())
        return false;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(file);
}
