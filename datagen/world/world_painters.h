// The world's painters: the collision map, the painted background and the
// three forest pictures, all drawn from the plan in world_plan.h.
#pragma once

#include <array>

#include "core/surface.h"

namespace world {

// The colours the movement and shelf rules read, and the neutral one.
constexpr Rgb kWhite = rgb(255, 255, 255);
constexpr Rgb kRed = rgb(255, 0, 0);
constexpr Rgb kBlue = rgb(0, 0, 255);
constexpr Rgb kGreen = rgb(0, 255, 0);
constexpr Rgb kMagenta = rgb(255, 0, 255);
constexpr Rgb kNeutral = rgb(0, 0, 0);

// "gamemap1.bmp": kWidth x kHeight, only the six colours above.
Surface paint_collision_map();

// "gameb2.bmp": the painted world, same size.
Surface paint_background();

// "j1.bmp" ... "j3.bmp": the forest that opens over the chasm, drawn
// opaque with its top-left corner at world (1885, -230).
constexpr int kForestX = 1885, kForestY = -230;
constexpr int kForestW = 300, kForestH = 400;
std::array<Surface, 3> paint_forest();

}  // namespace world
