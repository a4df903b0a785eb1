#include "app/presenter.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>
#include <FL/x.H>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

struct XShmSegmentInfo_ : XShmSegmentInfo {};

namespace {

// The presenters with a shared segment, by segment, for the completion
// events: the server says when it has read a segment, and whichever of
// FLTK's event loop or a presenter meets that event marks it free.
std::vector<Presenter*>& presenters() {
    static std::vector<Presenter*> all;
    return all;
}

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

// One row of game pixels, each repeated `S` times across.
template <int S>
void widen(const uint32_t* src, int w, uint32_t* out) {
    for (int x = 0; x < w; ++x) {
        const uint32_t c = src[x];
        for (int k = 0; k < S; ++k) out[x * S + k] = c;
    }
}

#if defined(__SSE2__)
// Four pixels at a time: 2x and 3x are what most screens ask for.
void widen2(const uint32_t* src, int w, uint32_t* out) {
    int x = 0;
    for (; x + 4 <= w; x += 4) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + x));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * x), _mm_unpacklo_epi32(v, v));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * x + 4), _mm_unpackhi_epi32(v, v));
    }
    widen<2>(src + x, w - x, out + 2 * x);
}

void widen3(const uint32_t* src, int w, uint32_t* out) {
    int x = 0;
    for (; x + 4 <= w; x += 4) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + x));
        __m128i* o = reinterpret_cast<__m128i*>(out + 3 * x);
        _mm_storeu_si128(o, _mm_shuffle_epi32(v, _MM_SHUFFLE(1, 0, 0, 0)));
        _mm_storeu_si128(o + 1, _mm_shuffle_epi32(v, _MM_SHUFFLE(2, 2, 1, 1)));
        _mm_storeu_si128(o + 2, _mm_shuffle_epi32(v, _MM_SHUFFLE(3, 3, 3, 2)));
    }
    widen<3>(src + x, w - x, out + 3 * x);
}
#else
void widen2(const uint32_t* src, int w, uint32_t* out) { widen<2>(src, w, out); }
void widen3(const uint32_t* src, int w, uint32_t* out) { widen<3>(src, w, out); }
#endif

void widen_any(const uint32_t* src, int w, int s, uint32_t* out) {
    switch (s) {
    case 2: widen2(src, w, out); return;
    case 3: widen3(src, w, out); return;
    case 4: widen<4>(src, w, out); return;
    default:
        for (int x = 0; x < w; ++x)
            for (int k = 0; k < s; ++k) out[x * s + k] = src[x];
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
    if (path_ == Path::SharedMemory) {
        completion_type_ = XShmGetEventBase(display) + ShmCompletion;
        presenters().push_back(this);
        if (!handler_added_) {
            Fl::add_handler(fltk_event);
            handler_added_ = true;
        }
    }
}

Presenter::~Presenter() {
    free_images();
    auto& all = presenters();
    all.erase(std::remove(all.begin(), all.end(), this), all.end());
    if (all.empty() && handler_added_) {
        Fl::remove_handler(fltk_event);
        handler_added_ = false;
    }
}

bool Presenter::handler_added_ = false;

// FLTK hands the X events it does not know to its handlers as event 0.
int Presenter::fltk_event(int e) {
    if (e == 0 && fl_xevent) completed(*fl_xevent);
    return 0;
}

void Presenter::completed(const XEvent& ev) {
    for (Presenter* p : presenters())
        if (p->shm_ && ev.type == p->completion_type_ &&
            reinterpret_cast<const XShmCompletionEvent&>(ev).shmseg == p->shm_->shmseg)
            p->shm_busy_ = false;
}

void Presenter::wait_for_server() {
    if (!shm_busy_) return;
    XEvent ev;
    // The completion may be waiting in the queue already: no round trip then.
    while (shm_busy_ && XCheckTypedEvent(display_, completion_type_, &ev)) completed(ev);
    if (!shm_busy_) return;
    XSync(display_, False);  // the completion comes before the reply
    while (XCheckTypedEvent(display_, completion_type_, &ev)) completed(ev);
    shm_busy_ = false;
}

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
        wait_for_server();
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
    const int pw = pic.width(), ph = pic.height();
    bool all = false;
    if (W != w_ || H != h_ || scale != scale_) {
        free_images();
        if (path_ == Path::SharedMemory && !make_shared_image(W, H)) path_ = Path::Image;
        w_ = W, h_ = H, scale_ = scale;
        last_.assign(size_t(pw) * size_t(ph), 0);
        all = true;
    }
    uint32_t* out;
    size_t stride;
    if (path_ == Path::SharedMemory) {
        // The server reads the segment after the request: the last one must
        // be done before it is written over.
        wait_for_server();
        out = reinterpret_cast<uint32_t*>(image_->data);
        stride = size_t(image_->bytes_per_line) / 4;
    } else if (scale == 1) {
        // The game's own pixels go to the server as they are.
        char* data = const_cast<char*>(reinterpret_cast<const char*>(pic.pixels().data()));
        if (!image_)
            image_ = XCreateImage(display_, visual_, unsigned(depth_), ZPixmap, 0, data, unsigned(W), unsigned(H), 32, W * 4);
        if (image_) image_->data = data;
        out = nullptr;
        stride = 0;
    } else {
        pixels_.resize(size_t(W) * size_t(H));
        if (!image_)
            image_ = XCreateImage(display_, visual_, unsigned(depth_), ZPixmap, 0,
                                  reinterpret_cast<char*>(pixels_.data()), unsigned(W), unsigned(H), 32, W * 4);
        out = pixels_.data();
        stride = size_t(W);
    }
    // Only the rows that changed since the last picture are enlarged and sent.
    for (int y = 0; y < ph; ++y) {
        const uint32_t* src = pic.row(y);
        uint32_t* last = last_.data() + size_t(y) * size_t(pw);
        if (!all && std::memcmp(src, last, size_t(pw) * 4) == 0) continue;
        std::memcpy(last, src, size_t(pw) * 4);
        changed_from_ = std::min(changed_from_, y * scale);
        changed_to_ = std::max(changed_to_, (y + 1) * scale);
        if (!out) continue;
        // The first of its rows is widened in place, the others copied from
        // it while it is still in the cache.
        uint32_t* first = out + size_t(y) * size_t(scale) * stride;
        if (scale == 1) std::memcpy(first, src, size_t(pw) * 4);
        else widen_any(src, pw, scale, first);
        for (int k = 1; k < scale; ++k) std::memcpy(first + size_t(k) * stride, first, size_t(W) * 4);
    }
}

void Presenter::draw(Window window, GC gc, int x, int y, bool changed_only) {
    if (w_ == 0) return;
    int from = 0, to = h_;
    if (changed_only && path_ != Path::Converted) {
        from = changed_from_, to = std::min(changed_to_, h_);
        if (from >= to) return;  // nothing new to show
    }
    changed_from_ = INT32_MAX, changed_to_ = 0;
    const unsigned rows = unsigned(to - from);
    switch (path_) {
    case Path::Converted:
        fl_draw_image(rgb_.data(), x, y, w_, h_, 3, 0);
        break;
    case Path::SharedMemory:
        XShmPutImage(display_, window, gc, image_, 0, from, x, y + from, unsigned(w_), rows, True);
        shm_busy_ = true;
        break;
    case Path::Image:
        if (image_) XPutImage(display_, window, gc, image_, 0, from, x, y + from, unsigned(w_), rows);
        break;
    }
}
