// SPDX-License-Identifier: GPL-3.0-or-later
// lexovo-contact-sheet OUT.png [DATA_DIR] [STORED_DIR] [--only NAME,NAME...] [--zoom N]
//
// Lays every stored picture of the catalogue at twice its size with its
// name under it (a sprite's image is shown as the game puts it, through its
// mask onto a stone-grey ground, with the mask itself at its own size beside
// it; the tallest pictures at their own size), the book pages at half size,
// and, when DATA_DIR holds the world background and its collision map, a
// reduced view of both side by side. For looking at the artwork in one go.
// --only keeps the named pictures (prefixes: "Picture52" keeps all its
// elements), --zoom multiplies every scale, for a close look.
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "game/picture_catalogue.h"
#include "datagen/paint/brush.h"
#include "core/bmp_load.h"

namespace {

struct Item {
    std::string label;
    Surface pic;
    double scale;
};

cairo_surface_t* to_cairo(const Surface& s) {
    cairo_surface_t* c = cairo_image_surface_create(CAIRO_FORMAT_RGB24, s.width(), s.height());
    cairo_surface_flush(c);
    unsigned char* data = cairo_image_surface_get_data(c);
    int stride = cairo_image_surface_get_stride(c);
    for (int y = 0; y < s.height(); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + y * stride);
        for (int x = 0; x < s.width(); ++x) row[x] = s.get(x, y);
    }
    cairo_surface_mark_dirty(c);
    return c;
}

bool try_load(const std::string& path, Surface& out) {
    try {
        out = load_bmp_file(path);
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> positional, only;
    double zoom = 1;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--zoom" && i + 1 < argc) {
            zoom = std::atof(argv[++i]);
        } else if (a == "--only" && i + 1 < argc) {
            std::string list = argv[++i];
            for (size_t at = 0; at <= list.size();) {
                size_t comma = list.find(',', at);
                if (comma == std::string::npos) comma = list.size();
                if (comma > at) only.push_back(list.substr(at, comma - at));
                at = comma + 1;
            }
        } else {
            positional.push_back(a);
        }
    }
    if (positional.empty() || positional.size() > 3 || zoom <= 0) {
        std::fprintf(stderr, "usage: lexovo-contact-sheet OUT.png [DATA_DIR] [STORED_DIR] [--only NAME,...] [--zoom N]\n");
        return 2;
    }
    std::string out = positional[0];
    std::string data = positional.size() > 1 ? positional[1] : "";
    std::string stored = positional.size() > 2 ? positional[2] : LEXOVO_STORED_DIR;
    auto wanted = [&](const std::string& name) {
        if (only.empty()) return true;
        for (const std::string& o : only)
            if (name.rfind(o, 0) == 0 && (name.size() == o.size() || name[o.size()] == '_')) return true;
        return false;
    };

    std::vector<Item> items;
    int missing = 0;
    for (const PictureEntry& e : kPictureCatalogue) {
        if (!wanted(e.name)) continue;
        Item it{e.name, {}, 2.0};
        if (!try_load(stored + "/" + e.name + ".bmp", it.pic)) {
            ++missing;
            it.label += " (missing)";
            it.pic = Surface(e.w, e.h, rgb(255, 0, 0));
        }
        // The tall ones at their own size, or the sheet gets too long.
        if (e.h > 200 || e.w > 300) it.scale = 1.0;
        if (e.kind == PicKind::Mask) it.scale = 1.0;
        if (e.kind == PicKind::Image) {
            Surface mask;
            if (try_load(stored + "/" + e.mask + ".bmp", mask) && mask.width() == it.pic.width() &&
                mask.height() == it.pic.height()) {
                Surface ground(it.pic.width(), it.pic.height(), rgb(118, 112, 104));
                draw_sprite(ground, 0, 0, mask, it.pic);
                it.pic = std::move(ground);
            }
        }
        items.push_back(std::move(it));
    }
    if (!data.empty())
        for (int i = 1; i <= 13; ++i) {
            if (!wanted("lib" + std::to_string(i))) continue;
            Item it{"lib" + std::to_string(i), {}, 0.5};
            if (!try_load(data + "/lib" + std::to_string(i) + ".bmp", it.pic)) continue;
            // The game puts the fly on its page at (200, 250).
            Surface fm, fi;
            if (i == 3 && try_load(stored + "/Picture37_0.bmp", fm) && try_load(stored + "/Picture37_1.bmp", fi)) {
                draw_sprite(it.pic, 200, 250, fm, fi);
                it.label += " (with the fly)";
            }
            items.push_back(std::move(it));
        }

    // The screen as the game composes it: the frame, the play area (the
    // start of the world, or the first book page while there is no world),
    // the bar with four objects in their slots as the bar step puts them.
    if (only.empty()) {
        Surface frame, bar, view;
        if (try_load(stored + "/Picture64.bmp", frame) && try_load(stored + "/Picture12.bmp", bar)) {
            Surface world;
            if (!data.empty() && try_load(data + "/gameb2.bmp", world) && world.height() >= 400) {
                view = Surface(400, 400);
                blit(view, 0, 0, 400, 400, world, 0, world.height() - 400, Rop::SrcCopy);
            } else if (data.empty() || !try_load(data + "/lib1.bmp", view)) {
                view = Surface(400, 400, rgb(60, 50, 40));
            }
            const struct { const char* pic; int top; } slots[] = {
                {"Picture37", 15}, {"Picture39", 5}, {"Picture41", 5}, {"Picture44", 5}};
            for (int i = 0; i < 4; ++i) {
                Surface m, im;
                std::string base = std::string(stored) + "/" + slots[i].pic;
                if (!try_load(base + "_0.bmp", m) || !try_load(base + "_1.bmp", im)) continue;
                double left = 100.0 * i + 50 - m.width() / 2.0;
                draw_sprite(bar, int(std::nearbyint(left)), slots[i].top, m, im);
            }
            blit(frame, 40, 440, bar, Rop::SrcCopy);
            blit(frame, 40, 40, view, Rop::SrcCopy);
            items.insert(items.begin(), Item{"the screen as composed", frame, 1.0});
        }
    }

    for (Item& it : items) it.scale *= zoom;

    // Shelf packing, left to right, row by row.
    const double pad = 10, label_h = 14;
    double sheet_w = 1400;
    for (const Item& it : items) sheet_w = std::max(sheet_w, it.pic.width() * it.scale + 2 * pad);
    struct Placed { double x, y; };
    std::vector<Placed> at;
    double x = pad, y = pad, row_h = 0;
    for (const Item& it : items) {
        double w = it.pic.width() * it.scale, h = it.pic.height() * it.scale + label_h;
        double cell_w = std::max(w, 80.0);
        if (x + cell_w > sheet_w - pad) {
            x = pad;
            y += row_h + pad;
            row_h = 0;
        }
        at.push_back({x, y});
        x += cell_w + pad;
        row_h = std::max(row_h, h);
    }
    y += row_h + pad;
    Surface world, map;
    bool have_world = only.empty() && !data.empty() && try_load(data + "/gameb2.bmp", world) && try_load(data + "/gamemap1.bmp", map);
    double world_scale = 0, world_y = y;
    if (have_world) {
        world_scale = std::min(1.0, (sheet_w - 3 * pad) / 2 / std::max(1, world.width()));
        y += world.height() * world_scale + label_h + pad;
    }

    cairo_surface_t* sheet = cairo_image_surface_create(CAIRO_FORMAT_RGB24, int(sheet_w), int(y));
    cairo_t* cr = cairo_create(sheet);
    // A mid-grey checker so black and white edges both show.
    for (int cy = 0; cy < int(y); cy += 16)
        for (int cx = 0; cx < int(sheet_w); cx += 16) {
            cairo_rectangle(cr, cx, cy, 16, 16);
            double v = ((cx + cy) / 16) % 2 ? 0.42 : 0.48;
            cairo_set_source_rgb(cr, v, v, v + 0.03);
            cairo_fill(cr);
        }
    auto put = [&](const Surface& s, double px, double py, double scale, const std::string& label) {
        cairo_surface_t* img = to_cairo(s);
        cairo_save(cr);
        cairo_translate(cr, px, py);
        cairo_scale(cr, scale, scale);
        cairo_set_source_surface(cr, img, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), scale >= 1 ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_GOOD);
        cairo_paint(cr);
        cairo_restore(cr);
        cairo_surface_destroy(img);
        draw_text(cr, label, "DejaVu Sans 8", px, py + s.height() * scale + 1, 300, Align::Left, hex(0xffffff));
    };
    for (size_t i = 0; i < items.size(); ++i) put(items[i].pic, at[i].x, at[i].y, items[i].scale, items[i].label);
    if (have_world) {
        put(world, pad, world_y, world_scale, "gameb2.bmp");
        put(map, pad * 2 + world.width() * world_scale, world_y, world_scale, "gamemap1.bmp");
    }
    cairo_destroy(cr);
    cairo_status_t st = cairo_surface_write_to_png(sheet, out.c_str());
    cairo_surface_destroy(sheet);
    if (st != CAIRO_STATUS_SUCCESS) {
        std::fprintf(stderr, "lexovo-contact-sheet: cannot write %s\n", out.c_str());
        return 1;
    }
    if (missing) std::fprintf(stderr, "lexovo-contact-sheet: %d pictures missing (shown red)\n", missing);
    return 0;
}
