// Every picture of the game window. The numbers are the game's own
// (Picture1 ... Picture77): first each picture by its role, then the
// catalogue of the stored ones with their names, sizes and kinds. The
// build-time painter paints exactly the catalogue; the game loads it by name;
// the data checks hold the generated files to it. Plain data: the game and
// the painters both read this header.
#pragma once
#include <array>
#include <string_view>

// --- the pictures by role ---------------------------------------------------
// Drawing surfaces filled at run time (the game window reaches them through
// picture1_play_area() and the like):
inline constexpr int kPicture1PlayArea = 1;        // 400 x 400, redrawn every tick
inline constexpr int kPicture5Background = 5;      // "gameb2.bmp", the whole world
inline constexpr int kPicture8CollisionMap = 8;    // "gamemap1.bmp", read pixel by pixel
inline constexpr int kPicture40Bar = 40;           // 400 x 60, the inventory bar being assembled
inline constexpr int kPicture63Page = 63;          // an opened book's page ("libN.bmp")
inline constexpr int kPicture72Forest = 72;        // (0 to 2) "j1.bmp" to "j3.bmp"
// Stored plain pictures with a fixed role:
inline constexpr int kPicture12BarBackground = 12;  // the empty bar
inline constexpr int kPicture64Frame = 64;          // the wooden frame, also the surface the screen is assembled on

// Sprites. A pair lives in one array, element 0 the mask and element 1 the
// image; a split sprite has its masks in one array and its images in another,
// element k of each belonging together.
// The professor:
inline constexpr int kPicture2ProfStandingRight = 2;
inline constexpr int kPicture3ProfWalkingRight1 = 3, kPicture4ProfWalkingRight2 = 4;
inline constexpr int kPicture6ProfStepsRight1 = 6, kPicture7ProfStepsRight2 = 7;
inline constexpr int kPicture9ProfWalkingLeft1 = 9, kPicture10ProfWalkingLeft2 = 10;
inline constexpr int kPicture11ProfStandingLeft = 11;
inline constexpr int kPicture13ProfClimbing1 = 13, kPicture14ProfClimbing2 = 14;
inline constexpr int kPicture16ProfFromBehind = 16;
inline constexpr int kPicture17ProfStepsLeft1 = 17, kPicture18ProfStepsLeft2 = 18;
inline constexpr int kPicture19ProfJumpingRight = 19, kPicture20ProfJumpingLeft = 20;
inline constexpr int kPicture34ProfCaught = 34;     // seen from the front, in the spider's grip
inline constexpr int kPicture42ProfUmbrella = 42;   // hanging from the open umbrella
inline constexpr int kPicture68ProfFlute = 68;
inline constexpr int kPicture61ProfDazed = 61, kPicture62ProfDazedMask = 62;  // split, three frames
inline constexpr int kPicture73TarzanMask = 73, kPicture74Tarzan = 74;        // split, three frames
inline constexpr int kPicture75Vine = 75;
inline constexpr int kPicture76TarzanOnVine = 76;
// The spider (split, three frames) and its thread (plain):
inline constexpr int kPicture31SpiderMask = 31, kPicture32Spider = 32;
inline constexpr int kPicture33SpiderThread = 33;
// The ten objects, as they lie in the bar, under the pointer and in the world:
inline constexpr int kPicture37Fly = 37, kPicture39Vase = 39, kPicture41Umbrella = 41, kPicture44Seed = 44,
                     kPicture54Cloud = 54, kPicture55Fork = 55, kPicture65TarzanCostume = 65, kPicture66Flute = 66,
                     kPicture67CoiledRope = 67, kPicture71JungleBook = 71;
// The bean plant and the rising rope, split, at three heights:
inline constexpr int kPicture52PlantMask = 52, kPicture53Plant = 53;
inline constexpr int kPicture69RisingRope = 69, kPicture70RisingRopeMask = 70;
// Plain pictures of the world: the storm (five), the crumbling steps (four),
// the railing (a pair):
inline constexpr int kPicture56Storm = 56, kPicture38CrumblingSteps = 38, kPicture15Railing = 15;
// The books on the shelves (plain): spines, title plates, book 2 lying flat
// (two shades) and book 10 at the bottom of the well (two looks):
inline constexpr int kPicture21Book1Spine = 21, kPicture22Book1Plate = 22, kPicture23Book2Flat = 23,
                     kPicture29Book3Spine = 29, kPicture28Book3Plate = 28, kPicture24Book4Spine = 24,
                     kPicture25Book4Plate = 25, kPicture27Book5Spine = 27, kPicture26Book5Plate = 26,
                     kPicture45Book6Spine = 45, kPicture43Book6Plate = 43, kPicture50Book7Spine = 50,
                     kPicture46Book7Plate = 46, kPicture51Book8Spine = 51, kPicture47Book8Plate = 47,
                     kPicture49Book9Spine = 49, kPicture48Book9Plate = 48, kPicture57Book10 = 57,
                     kPicture58Book11Spine = 58, kPicture60Book12Spine = 60, kPicture59Book13Spine = 59;
// Banners (plain): "Fine della partita!", "Tempo scaduto!", "Complimenti, hai vinto!".
inline constexpr int kPicture35GameOverBanner = 35, kPicture36TimeUpBanner = 36, kPicture77WonBanner = 77;

// --- the catalogue of the stored pictures ------------------------------------

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

// The entry of picture `number` (for a picture array, of its first element);
// nullptr when the catalogue has none.
constexpr const PictureEntry* catalogue_entry(int number) {
    for (const PictureEntry& e : kPictureCatalogue) {
        std::string_view name = e.name;
        if (!name.starts_with("Picture")) continue;
        name.remove_prefix(7);
        int n = 0;
        while (!name.empty() && name.front() >= '0' && name.front() <= '9') {
            n = n * 10 + (name.front() - '0');
            name.remove_prefix(1);
        }
        if (n == number && (name.empty() || name == "_0")) return &e;
    }
    return nullptr;
}
