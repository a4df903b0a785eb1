// Puts the game's 480 x 540 picture on an X window, enlarged by a whole
// factor without smoothing. Three ways, fastest first:
//   SharedMemory  the 32-bit pixels as they are, through MIT-SHM (XShmPutImage)
//   Image         the 32-bit pixels as they are, through plain XPutImage (at
//                 1x straight from the game's own buffer, no copy)
//   Converted     24-bit RGB drawn by fl_draw_image, which converts it again
//                 for the server: works on any visual
// The first two need a server whose pixels are the game's own (TrueColor, 32
// bits a pixel, masks ff0000 / ff00 / ff, this machine's byte order); shared
// memory also needs a local server that accepts the segment.
#pragma once
#include <X11/Xlib.h>

#include <cstdint>
#include <climits>
#include <vector>

#include "core/surface.h"

struct XShmSegmentInfo_;  // XShmSegmentInfo, kept out of this header

class Presenter {
public:
    enum class Path { SharedMemory, Image, Converted };

    // Picks the fastest way the display allows, but none faster than `fastest`.
    Presenter(Display* display, Visual* visual, int depth, Path fastest = Path::SharedMemory);
    ~Presenter();
    Presenter(const Presenter&) = delete;
    Presenter& operator=(const Presenter&) = delete;

    Path path() const { return path_; }
    static const char* name(Path p);

    // Takes a new picture at `scale`. At 1x on the Image path the picture's
    // own pixels are sent, so it must stay alive until the next update. The
    // two fast ways enlarge only the rows that changed since the last one.
    void update(const Surface& picture, int scale);
    // Sends the last picture with its top-left corner at window pixel (x, y),
    // inside FLTK's draw() (fl_window, fl_gc) or with a window and GC of one's
    // own: all of it, or only the rows changed since the last draw.
    void draw(Window window, GC gc, int x, int y, bool changed_only = false);

    int width() const { return w_; }
    int height() const { return h_; }

private:
    bool make_shared_image(int w, int h);
    void free_images();
    void wait_for_server();
    static void completed(const XEvent& ev);
    static int fltk_event(int e);
    static bool handler_added_;

    Display* display_;
    Visual* visual_;
    int depth_;
    Path path_;
    int w_ = 0, h_ = 0, scale_ = 0;
    XImage* image_ = nullptr;
    XShmSegmentInfo_* shm_ = nullptr;
    bool shm_busy_ = false;               // the server may still be reading the segment
    int completion_type_ = -1;            // the event that says it has read it
    std::vector<uint32_t> pixels_;        // the enlarged picture (Image path, above 1x)
    std::vector<uint32_t> last_;          // the last picture at 1x, to find the rows that changed
    int changed_from_ = INT32_MAX, changed_to_ = 0;  // rows of the enlarged picture not yet drawn
    std::vector<unsigned char> rgb_;      // Converted path: 3 bytes a pixel
};
