// The world's painters: the collision map, the painted background and the
// three forest pictures, all drawn from the plan in world_plan.h.
#pragma once

#include <array>

#include "core/surface.h"
#include "game/world_places.h"

namespace world {

// "gamemap1.bmp": kWidth x kHeight, only the six colours of the map.
Surface paint_collision_map();

// "gameb2.bmp": the painted world, same size.
Surface paint_background();

// "j1.bmp" ... "j3.bmp": the forest that opens over the chasm, drawn
// opaque with its top-left corner at kForestPlace.
constexpr int kForestW = 300, kForestH = 400;
std::array<Surface, 3> paint_forest();

}  // namespace world
