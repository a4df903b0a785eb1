// Every picture stored with the game window: its name, its size and what
// kind of picture it is. The build-time painter paints exactly these; the game
// loads them by name; the data checks hold the generated files to it.
#pragma once
#include <array>

enum class PicKind {
    Mask,   // black silhouette on pure white
    Image,  // colours on pure black, black wherever its mask is white
    Plain,  // copied as it is
    Icon,   // pointer icon: pure magenta (255, 0, 255) is transparent
};

struct PictureEntry {
    const char* name;   // "PictureN" or "PictureN_k"
    int w, h;
    PicKind kind;
    const char* mask;   // for an Image: the name of its mask; else nullptr
};

#define PAIR(n, w, h) {"Picture" #n "_0", w, h, PicKind::Mask, nullptr}, \
                      {"Picture" #n "_1", w, h, PicKind::Image, "Picture" #n "_0"}
#define SPLIT(img, msk, k, w, h) {"Picture" #msk "_" #k, w, h, PicKind::Mask, nullptr}, \
                                 {"Picture" #img "_" #k, w, h, PicKind::Image, "Picture" #msk "_" #k}
#define PLAIN(name, w, h) {name, w, h, PicKind::Plain, nullptr}

inline constexpr PictureEntry kPictureCatalogue[] = {
    // The professor (80 x 120 unless said otherwise).
    PAIR(2, 80, 120), PAIR(3, 80, 120), PAIR(4, 80, 120), PAIR(6, 80, 120), PAIR(7, 80, 120),
    PAIR(9, 80, 120), PAIR(10, 80, 120), PAIR(11, 80, 120), PAIR(13, 80, 120), PAIR(14, 80, 120),
    PAIR(16, 80, 120), PAIR(17, 80, 120), PAIR(18, 80, 120), PAIR(19, 80, 120), PAIR(20, 80, 120),
    PAIR(34, 80, 120), PAIR(68, 80, 120), PAIR(42, 67, 151),
    SPLIT(61, 62, 0, 70, 94), SPLIT(61, 62, 1, 70, 94), SPLIT(61, 62, 2, 70, 94),
    SPLIT(74, 73, 0, 80, 120), SPLIT(74, 73, 1, 80, 120), SPLIT(74, 73, 2, 80, 120),
    PAIR(76, 71, 369), PAIR(75, 33, 350),
    // The spider and its thread.
    SPLIT(32, 31, 0, 105, 60), SPLIT(32, 31, 1, 105, 60), SPLIT(32, 31, 2, 105, 60),
    PLAIN("Picture33", 3, 100),
    // Objects.
    PAIR(37, 61, 29), PAIR(39, 53, 47), PAIR(41, 65, 46), PAIR(44, 50, 49), PAIR(54, 64, 21),
    PAIR(55, 34, 50), PAIR(65, 31, 48), PAIR(66, 43, 48), PAIR(67, 50, 46), PAIR(71, 43, 48),
    // The bean plant and the rope at three heights.
    SPLIT(53, 52, 0, 23, 180), SPLIT(53, 52, 1, 34, 270), SPLIT(53, 52, 2, 45, 360),
    SPLIT(69, 70, 0, 50, 60), SPLIT(69, 70, 1, 50, 111), SPLIT(69, 70, 2, 50, 232),
    // Storm: 0 small bolt, 1 ball with lightning, 2-4 rain.
    PLAIN("Picture56_0", 50, 50), PLAIN("Picture56_1", 50, 50), PLAIN("Picture56_2", 50, 50),
    PLAIN("Picture56_3", 50, 50), PLAIN("Picture56_4", 50, 50),
    // The book at the bottom of the well, two looks; the crumbling steps.
    PLAIN("Picture57_0", 31, 28), PLAIN("Picture57_1", 31, 28),
    PLAIN("Picture38_0", 48, 63), PLAIN("Picture38_1", 48, 63), PLAIN("Picture38_2", 48, 63),
    PLAIN("Picture38_3", 48, 63),
    // Railing.
    PAIR(15, 400, 60),
    // Book spines (book 1, 4, 5, 3, 6, 9, 7, 8, 11, 13, 12) and the flat red book.
    PLAIN("Picture21", 17, 32), PLAIN("Picture24", 14, 20), PLAIN("Picture27", 13, 25),
    PLAIN("Picture29", 17, 26), PLAIN("Picture45", 15, 30), PLAIN("Picture49", 15, 25),
    PLAIN("Picture50", 14, 25), PLAIN("Picture51", 14, 25), PLAIN("Picture58", 15, 25),
    PLAIN("Picture59", 15, 25), PLAIN("Picture60", 14, 25),
    PLAIN("Picture23_0", 35, 12), PLAIN("Picture23_1", 35, 12),
    // Gold title plates (book 1, 4, 5, 3, 6, 7, 8, 9).
    PLAIN("Picture22", 180, 38), PLAIN("Picture25", 150, 32), PLAIN("Picture26", 150, 32),
    PLAIN("Picture28", 150, 32), PLAIN("Picture43", 150, 32), PLAIN("Picture46", 150, 32),
    PLAIN("Picture47", 150, 32), PLAIN("Picture48", 150, 32),
    // Banners: "Fine della partita!", "Tempo scaduto!", "Complimenti, hai vinto!".
    PLAIN("Picture35", 200, 58), PLAIN("Picture36", 174, 52), PLAIN("Picture77", 245, 69),
    // The empty bar and the wooden frame.
    PLAIN("Picture12", 400, 60), PLAIN("Picture64", 480, 540),
    // Pointer icons: 1 right, 2 left, 3 up, 4 down (0 is a plain arrow, unused).
    {"Picture30_0", 32, 32, PicKind::Icon, nullptr}, {"Picture30_1", 32, 32, PicKind::Icon, nullptr},
    {"Picture30_2", 32, 32, PicKind::Icon, nullptr}, {"Picture30_3", 32, 32, PicKind::Icon, nullptr},
    {"Picture30_4", 32, 32, PicKind::Icon, nullptr},
    // The game window's own icon.
    {"WindowIcon", 32, 32, PicKind::Icon, nullptr},
};

#undef PAIR
#undef SPLIT
#undef PLAIN
