// libpng glue. Compression is always level 9; for each picture several row filters are tried and
// the smallest file kept, which matters for the large backgrounds.
#include "png_io.h"

#include <png.h>

#include <cstdio>
#include <map>
#include <stdexcept>

namespace img {

namespace {

constexpr int kBestCompression = 9;
// Paeth and Average filters are left out: they save little on these smooth pictures but are the
// slowest to undo, and the game decodes every texture at start-up.
constexpr int kFilterChoices[] = {PNG_FILTER_NONE, PNG_FILTER_SUB, PNG_FILTER_UP,
                                  PNG_FILTER_NONE | PNG_FILTER_SUB | PNG_FILTER_UP};

struct Encoded {
    int color_type = PNG_COLOR_TYPE_RGB;
    int channels = 3;
    std::vector<uint8_t> rows;
    std::vector<png_color> palette;
};

void append_bytes(png_structp png, png_bytep data, png_size_t len) {
    auto* buf = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    buf->insert(buf->end(), data, data + len);
}

void no_flush(png_structp) {}

[[noreturn]] void on_error(png_structp png, png_const_charp msg) {
    *static_cast<std::string*>(png_get_error_ptr(png)) = msg;
    png_longjmp(png, 1);
}

void on_warning(png_structp, png_const_charp) {}

Encoded encode_direct(const Image& im, bool alpha) {
    Encoded e;
    e.color_type = alpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB;
    e.channels = alpha ? 4 : 3;
    e.rows.reserve(im.px.size() * e.channels);
    for (const Color& c : im.px) {
        e.rows.push_back(to_byte(c.r));
        e.rows.push_back(to_byte(c.g));
        e.rows.push_back(to_byte(c.b));
        if (alpha) {
            e.rows.push_back(to_byte(c.a));
        }
    }
    return e;
}

Encoded encode_palette(const Image& im) {
    Encoded e;
    e.color_type = PNG_COLOR_TYPE_PALETTE;
    e.channels = 1;
    e.palette.push_back(png_color{0, 0, 0}); // entry 0 is the one transparent entry
    std::map<uint32_t, uint8_t> index;
    for (const Color& c : im.px) {
        if (c.a < 0.5f) {
            e.rows.push_back(0);
            continue;
        }
        png_color pc{to_byte(c.r), to_byte(c.g), to_byte(c.b)};
        uint32_t key = (pc.red << 16) | (pc.green << 8) | pc.blue;
        auto it = index.find(key);
        if (it == index.end()) {
            if (e.palette.size() >= 256) {
                throw std::runtime_error("palette picture has more than 255 colours");
            }
            it = index.emplace(key, static_cast<uint8_t>(e.palette.size())).first;
            e.palette.push_back(pc);
        }
        e.rows.push_back(it->second);
    }
    return e;
}

std::vector<uint8_t> compress(const Image& im, const Encoded& e, int filters) {
    std::vector<uint8_t> out;
    std::string error;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &error, on_error, on_warning);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("libpng: " + error);
    }
    png_set_write_fn(png, &out, append_bytes, no_flush);
    png_set_compression_level(png, kBestCompression);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, filters);
    png_set_IHDR(png, info, im.w, im.h, 8, e.color_type, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (e.color_type == PNG_COLOR_TYPE_PALETTE) {
        png_set_PLTE(png, info, e.palette.data(), static_cast<int>(e.palette.size()));
        png_byte alpha[1] = {0}; // entries after the first default to fully opaque
        png_set_tRNS(png, info, alpha, 1, nullptr);
    }
    png_write_info(png, info);
    size_t stride = static_cast<size_t>(im.w) * e.channels;
    for (int y = 0; y < im.h; ++y) {
        png_write_row(png, const_cast<png_bytep>(e.rows.data() + stride * y));
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

} // namespace

void write_png(const std::string& path, const Image& im, Layout layout) {
    Encoded e =
        layout == Layout::Palette ? encode_palette(im) : encode_direct(im, layout == Layout::Rgba);
    std::vector<uint8_t> best;
    for (int filters : kFilterChoices) {
        std::vector<uint8_t> bytes = compress(im, e, filters);
        if (best.empty() || bytes.size() < best.size()) {
            best.swap(bytes);
        }
    }
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        throw std::runtime_error("cannot open " + path + " for writing");
    }
    size_t written = std::fwrite(best.data(), 1, best.size(), f);
    bool ok = std::fclose(f) == 0 && written == best.size();
    if (!ok) {
        throw std::runtime_error("cannot write " + path);
    }
}

bool read_png(const std::string& path, PngFile& out, std::string& error) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        error = "cannot open " + path;
        return false;
    }
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &error, on_error, on_warning);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        std::fclose(f);
        return false;
    }
    png_init_io(png, f);
    png_read_info(png, info);
    png_uint_32 w = 0;
    png_uint_32 h = 0;
    png_get_IHDR(png, info, &w, &h, &out.bit_depth, &out.color_type, &out.interlace, nullptr,
                 nullptr);
    out.w = static_cast<int>(w);
    out.h = static_cast<int>(h);
    png_colorp pal = nullptr;
    int npal = 0;
    if (png_get_PLTE(png, info, &pal, &npal)) {
        for (int i = 0; i < npal; ++i) {
            out.palette.insert(out.palette.end(), {pal[i].red, pal[i].green, pal[i].blue});
        }
    }
    png_bytep trans = nullptr;
    int ntrans = 0;
    if (png_get_tRNS(png, info, &trans, &ntrans, nullptr) && trans) {
        out.trns.assign(trans, trans + ntrans);
    }
    size_t stride = png_get_rowbytes(png, info);
    out.channels = out.bit_depth == 8 ? static_cast<int>(stride / w) : 0;
    out.data.resize(stride * h);
    std::vector<png_bytep> rows(h);
    for (png_uint_32 y = 0; y < h; ++y) {
        rows[y] = out.data.data() + stride * y;
    }
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(f);
    return true;
}

Image to_image(const PngFile& f) {
    Image im = make_image(f.w, f.h, Color{0, 0, 0, 0});
    for (int i = 0; i < f.w * f.h; ++i) {
        const uint8_t* p = f.data.data() + static_cast<size_t>(i) * f.channels;
        uint8_t r = 0, g = 0, b = 0, a = 255;
        if (f.color_type == PNG_COLOR_TYPE_PALETTE) {
            r = f.palette[p[0] * 3];
            g = f.palette[p[0] * 3 + 1];
            b = f.palette[p[0] * 3 + 2];
            a = p[0] < f.trns.size() ? f.trns[p[0]] : 255;
        } else if (f.channels >= 3) {
            r = p[0];
            g = p[1];
            b = p[2];
            a = f.channels == 4 ? p[3] : 255;
        }
        im.px[i] = Color{r / 255.0f, g / 255.0f, b / 255.0f, a / 255.0f};
    }
    return im;
}

} // namespace img
