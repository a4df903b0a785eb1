// The places of the world that the game's rules and pictures name, and the
// colours of its collision map: one home for what the game, the world's
// painters and the tests must agree on. World coordinates: x to the right,
// y down, 0 at the top of the lowest 400-row band of the 800-row world (so
// a map or background row is y + 400).
#pragma once
#include <array>

#include "core/surface.h"
#include "game/picture_catalogue.h"

namespace world {

// --- The collision map ("gamemap1.bmp"): the colours the rules read ------
constexpr Rgb kMapWhite = rgb(255, 255, 255);       // floor underfoot, a column to climb
constexpr Rgb kMapLightRed = rgb(255, 0, 0);        // a step down ahead
constexpr Rgb kMapBlue = rgb(0, 0, 255);            // a step up ahead
constexpr Rgb kMapLightGreen = rgb(0, 255, 0);      // empty space he falls through
constexpr Rgb kMapLightMagenta = rgb(255, 0, 255);  // a book's shelf mark, book 2's walking marker
constexpr Rgb kMapBlack = rgb(0, 0, 0);             // nothing to step on: he stops

struct Place {
    int x, y;
};

// --- The railings, drawn again in front of the professor ------------------
// Each is the top-left corner of the railing picture and how much of its
// width is drawn.
struct RailingPlace {
    int x, y, width;
};
constexpr int kWholeRailing = -1;  // the picture's whole width
constexpr RailingPlace kRailingGalleryA{298, 133, 238};                    // the first library's lower gallery
constexpr RailingPlace kRailingGalleryB{298, -47, 238};                    // its upper gallery
constexpr RailingPlace kRailingSpiderFloor{458, -231, kWholeRailing};      // the spider's floor
constexpr RailingPlace kRailingLibraryGallery{1662, -108, 238};            // the library after the wells
constexpr RailingPlace kRailingUpperGallery{1664, -288, kWholeRailing};    // its upper gallery
constexpr std::array<RailingPlace, 5> kRailings = {kRailingGalleryA, kRailingGalleryB, kRailingSpiderFloor,
                                                   kRailingLibraryGallery, kRailingUpperGallery};

// --- The spider's floor ------------------------------------------------------
constexpr int kSpiderThreadX = 728;  // the thread it hangs from
constexpr int kSpiderX = 680;        // the spider, before the fly pulls it aside
constexpr int kSpiderCatchX = 692;   // the professor in its grip

// --- The stone steps that crumble under him -----------------------------------
constexpr Place kCrumblingSteps{1004, -104};

// --- The vault: the pot at the foot of the tunnel, and what goes into it -----
constexpr Place kForkPlace{1008, 235};
constexpr Place kVasePlace{998, 255};
constexpr Place kCloudPlace{988, 175};
constexpr Place kSeedPlace{1025, 265};   // one bright pixel in the pot
constexpr Place kStormPlace{996, 196};
constexpr Place kPlantFoot{1024, 266};   // the plant's pictures stand centred on it
constexpr Place kDazedPlace{985, 208};   // the professor after a fatal fall

// --- The deep well ----------------------------------------------------------
constexpr Place kCoiledRopePlace{1490, 355};
constexpr int kRisingRopeX = 1490, kRisingRopeFootY = 394;  // the rope's pictures stand on this row
constexpr Place kFlutePlayerPlace{1435, 276};

// --- The chasm: the forest pictures' top-left corner --------------------------
constexpr Place kForestPlace{1885, -230};

// --- The books -------------------------------------------------------------------
// Where each is drawn once found (book 2 and book 10 lie flat and are always
// drawn), and the columns between which the pointer finds it on a shelf mark.
struct BookPlace {
    int picture, x, y;            // the spine (or the lying book) and its top-left corner
    int plate, plate_x, plate_y;  // the gold title plate (picture 0: none)
    int find_from, find_to;       // the pointer finds it strictly between these world columns
};
// Indexed by the book's number.
constexpr std::array<BookPlace, 14> kBooks = {{
    {},
    {kPicture21Book1Spine, 114, 149, kPicture22Book1Plate, 130, 159, 117, 125},
    {kPicture23Book2Flat, 398, 171, 0, 0, 0, 398, 433},
    {kPicture29Book3Spine, 34, 241, kPicture28Book3Plate, 55, 251, 34, 50},
    {kPicture24Book4Spine, 466, 10, kPicture25Book4Plate, 480, 20, 466, 480},
    {kPicture27Book5Spine, 338, -146, kPicture26Book5Plate, 358, -156, 338, 350},
    {kPicture45Book6Spine, 835, 160, kPicture43Book6Plate, 855, 170, 835, 849},
    {kPicture50Book7Spine, 904, 132, kPicture46Book7Plate, 914, 142, 904, 917},
    {kPicture51Book8Spine, 945, 193, kPicture47Book8Plate, 955, 203, 945, 958},
    {kPicture49Book9Spine, 979, 223, kPicture48Book9Plate, 989, 233, 979, 993},
    {kPicture57Book10, 1487, 360, 0, 0, 0, 1487, 1518},
    {kPicture58Book11Spine, 1803, -18, 0, 0, 0, 1803, 1818},
    {kPicture60Book12Spine, 1737, -172, 0, 0, 0, 1737, 1751},
    {kPicture59Book13Spine, 1440, 5, 0, 0, 0, 1440, 1455},
}};

}  // namespace world
