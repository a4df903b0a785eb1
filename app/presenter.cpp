#include "app/presenter.h"

#include <FL/fl_draw.H>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <cstring>

struct XShmSegmentInfo_ : XShmSegmentInfo {};

namespace {

bool host_is_lsb_first() {
    const uint32_t one = 1;
    unsigned char b;
    std::memcpy(&b, &one, 1);
    return b == 1;
}

// Whether the server stores a pixel of this visual exactly as the game's Rgb.
bool same_pixels(Display* d, Visual* v, int depth) {
    if (!v || v->c_class != TrueColor || depth != 24) return false;
    if (v->red_mask != 0xff0000 || v->green_mask != 0xff00 || v->blue_mask != 0xff) return false;
    if (ImageByteOrder(d) != (host_is_lsb_first() ? LSBFirst : MSBFirst)) return false;
    int n = 0;
    XPixmapFormatValues* f = XListPixmapFormats(d, &n);
    bool bpp32 = false;
    for (int i = 0; i < n; ++i)
        if (f[i].depth == depth) bpp32 = f[i].bits_per_pixel == 32;
    if (f) XFree(f);
    return bpp32;
}

// A refused shared segment shows up as an X error a round trip later.
bool g_x_error = false;
int note_x_error(Display*, XErrorEvent*) {
    g_x_error = true;
    return 0;
}

// Copies the picture enlarged `s` times into rows of `stride` pixels.
void enlarge(const Surface& pic, int s, uint32_t* dst, size_t stride) {
    const int w = pic.width(), h = pic.height();
    for (int y = 0; y < h; ++y) {
        const Rgb* src = pic.row(y);
        uint32_t* line = dst + size_t(y) * size_t(s) * stride;
        if (s == 1) {
            std::memcpy(line, src, size_t(w) * 4);
            continue;
        }
        uint32_t* p = line;
        for (int x = 0; x < w; ++x) {
            const uint32_t c = src[x];
            for (int k = 0; k < s; ++k) *p++ = c;
        }
        for (int k = 1; k < s; ++k) std::memcpy(line + size_t(k) * stride, line, size_t(w) * size_t(s) * 4);
    }
}

}  // namespace

const char* Presenter::name(Path p) {
    switch (p) {
    case Path::SharedMemory: return "shared memory";
    case Path::Image: return "image";
    case Path::Converted: return "converted";
    }
    return "?";
}

Presenter::Presenter(Display* display, Visual* visual, int depth, Path fastest)
    : display_(display), visual_(visual), depth_(depth), path_(Path::Converted) {
    if (fastest == Path::Converted || !same_pixels(display, visual, depth)) return;
    path_ = Path::Image;
    if (fastest == Path::SharedMemory && XShmQueryExtension(display)) {
        // Try one small segment now: a remote server refuses it.
        if (make_shared_image(1, 1)) path_ = Path::SharedMemory;
        free_images();
    }
}

Presenter::~Presenter() { free_images(); }

bool Presenter::make_shared_image(int w, int h) {
    auto* info = new XShmSegmentInfo_{};
    XImage* img = XShmCreateImage(display_, visual_, unsigned(depth_), ZPixmap, nullptr, info, unsigned(w), unsigned(h));
    if (!img) {
        delete info;
        return false;
    }
    info->shmid = shmget(IPC_PRIVATE, size_t(img->bytes_per_line) * size_t(h), IPC_CREAT | 0600);
    if (info->shmid < 0) {
        XDestroyImage(img);
        delete info;
        return false;
    }
    info->shmaddr = img->data = static_cast<char*>(shmat(info->shmid, nullptr, 0));
    info->readOnly = True;
    bool ok = info->shmaddr != reinterpret_cast<char*>(-1);
    if (ok) {
        XSync(display_, False);
        g_x_error = false;
        XErrorHandler previous = XSetErrorHandler(note_x_error);
        XShmAttach(display_, info);
        XSync(display_, False);
        XSetErrorHandler(previous);
        ok = !g_x_error;
    }
    // The segment goes away by itself once both sides have let go of it.
    shmctl(info->shmid, IPC_RMID, nullptr);
    if (!ok) {
        if (info->shmaddr != reinterpret_cast<char*>(-1)) shmdt(info->shmaddr);
        img->data = nullptr;
        XDestroyImage(img);
        delete info;
        return false;
    }
    image_ = img;
    shm_ = info;
    return true;
}

void Presenter::free_images() {
    if (shm_) {
        XShmDetach(display_, shm_);
        XSync(display_, False);
        shmdt(shm_->shmaddr);
        delete shm_;
        shm_ = nullptr;
        shm_busy_ = false;
    }
    if (image_) {
        image_->data = nullptr;  // the pixels are never Xlib's to free
        XDestroyImage(image_);
        image_ = nullptr;
    }
    w_ = h_ = scale_ = 0;
}

void Presenter::update(const Surface& pic, int scale) {
    const int W = pic.width() * scale, H = pic.height() * scale;
    if (path_ == Path::Converted) {
        rgb_.resize(size_t(W) * size_t(H) * 3);
        for (int y = 0; y < pic.height(); ++y) {
            const Rgb* src = pic.row(y);
            unsigned char* line = rgb_.data() + size_t(y) * size_t(scale) * size_t(W) * 3;
            unsigned char* p = line;
            for (int x = 0; x < pic.width(); ++x) {
                const Rgb c = src[x];
                for (int k = 0; k < scale; ++k) {
                    *p++ = static_cast<unsigned char>(c >> 16);
                    *p++ = static_cast<unsigned char>(c >> 8);
                    *p++ = static_cast<unsigned char>(c);
                }
            }
            for (int k = 1; k < scale; ++k)
                std::copy(line, line + size_t(W) * 3, line + size_t(k) * size_t(W) * 3);
        }
        w_ = W, h_ = H, scale_ = scale;
        return;
    }
    if (W != w_ || H != h_ || scale != scale_) {
        free_images();
        if (path_ == Path::SharedMemory && !make_shared_image(W, H)) path_ = Path::Image;
        w_ = W, h_ = H, scale_ = scale;
    }
    if (path_ == Path::SharedMemory) {
        // The server reads the segment after the request: wait for the last
        // one to be done before writing over it.
        if (shm_busy_) XSync(display_, False);
        shm_busy_ = false;
        enlarge(pic, scale, reinterpret_cast<uint32_t*>(image_->data), size_t(image_->bytes_per_line) / 4);
        return;
    }
    char* data;
    if (scale == 1) {
        data = const_cast<char*>(reinterpret_cast<const char*>(pic.pixels().data()));
    } else {
        pixels_.resize(size_t(W) * size_t(H));
        enlarge(pic, scale, pixels_.data(), size_t(W));
        data = reinterpret_cast<char*>(pixels_.data());
    }
    if (!image_) {
        image_ = XCreateImage(display_, visual_, unsigned(depth_), ZPixmap, 0, data, unsigned(W), unsigned(H), 32, W * 4);
    }
    if (image_) image_->data = data;
}

void Presenter::draw(Window window, GC gc, int x, int y) {
    if (w_ == 0) return;
    switch (path_) {
    case Path::Converted:
        fl_draw_image(rgb_.data(), x, y, w_, h_, 3, 0);
        break;
    case Path::SharedMemory:
        XShmPutImage(display_, window, gc, image_, 0, 0, x, y, unsigned(w_), unsigned(h_), False);
        shm_busy_ = true;
        break;
    case Path::Image:
        if (image_) XPutImage(display_, window, gc, image_, 0, 0, x, y, unsigned(w_), unsigned(h_));
        break;
    }
}
