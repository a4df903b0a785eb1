// SPDX-License-Identifier: GPL-3.0-or-later
// The professor's figure kit: the painted shapes he is made of (outlined,
// shaded like cloth and skin under a soft light from above, in the tones of
// the house palette) and the three ways he is seen: from the side, from
// behind, from the front. A pose gives the joints in the picture's own
// pixels; the kit paints the body around them so that every frame shares
// one build and one palette.
#pragma once
#include <cairo.h>

#include <functional>

#include "datagen/paint/brush.h"

namespace professor {

struct Pt {
    double x = 0, y = 0;
};
inline Pt operator+(Pt a, Pt b) { return {a.x + b.x, a.y + b.y}; }
inline Pt operator-(Pt a, Pt b) { return {a.x - b.x, a.y - b.y}; }
inline Pt operator*(Pt a, double k) { return {a.x * k, a.y * k}; }
inline Pt lerp(Pt a, Pt b, double t) { return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t}; }

// A small repeatable sequence of numbers in [0, 1), for cloth flecks,
// leaves and spots: the same seed, the same picture.
struct Dice {
    unsigned s;
    double next() {
        s = s * 1664525u + 1013904223u;
        return double(s >> 8) / double(1u << 24);
    }
};

// The far side of the body, in shadow.
Tone dimmed(const Tone& t, double k);

// --- painting ------------------------------------------------------------
// A path builder: adds subpaths to the context (all wound the same way, so
// that overlapping pieces merge into one silhouette).
using Path = std::function<void(cairo_t*)>;

void add_ellipse(cairo_t* cr, Pt c, double rx, double ry, double angle = 0.0);
void add_circle(cairo_t* cr, Pt c, double r);
// A tapered rod from a (radius ra) to b (radius rb) with round ends.
void add_capsule(cairo_t* cr, Pt a, double ra, Pt b, double rb);

// Outlines the shape in the house ink, then fills it with `fill` (a cairo
// pattern, consumed). outline is the ink line's full width.
void inked(cairo_t* cr, const Path& shape, cairo_pattern_t* fill, double outline = 1.5);
// Saves the context and clips it to the shape; cairo_restore() lifts it.
void clip_to(cairo_t* cr, const Path& shape);
// A gradient for a rounded body part lying along a -> b of half-width r:
// lit on the side that faces the light, shaded on the other.
cairo_pattern_t* rounded_across(Pt a, Pt b, double r, const Tone& t);
// A gradient from the lit point to the shaded point.
cairo_pattern_t* lit_to_dark(Pt lit, Pt dark, const Tone& t);
// Radial: lit at the centre, shaded at radius r.
cairo_pattern_t* dome(Pt centre, double r, const Tone& t);
// Where the light comes from, as a unit vector from the figure towards it.
void set_light(Pt towards_light);

// A limb of two rods (upper and lower) painted as one piece.
void limb(cairo_t* cr, Pt root, double r0, Pt joint, double r1, Pt end, double r2, const Tone& t);
// Faint flecks and threads of a woven cloth inside the current path's clip.
void weave(cairo_t* cr, double x0, double y0, double x1, double y1, const Tone& t, unsigned seed);
// The leopard skin's rosettes inside the current clip.
void rosettes(cairo_t* cr, double x0, double y0, double x1, double y1, unsigned seed);
// A five-pointed star with a gold face.
void star(cairo_t* cr, Pt c, double r, double turn);

// --- the professor ---------------------------------------------------------
enum class Outfit { Tweed, Leopard };
enum class Face { Calm, Yell, Fright, Dazed, Blow };
enum class Hand { Open, Fist, Grip, Cupped, Spread };

// Seen from the side, facing right (paint a left view by mirroring the
// canvas). "near" is the side towards the viewer.
struct SidePose {
    Pt hip, shoulder, head;
    double head_tilt = 0;  // degrees, positive nods forward
    Pt near_elbow, near_hand, far_elbow, far_hand;
    Hand near_grip = Hand::Open, far_grip = Hand::Open;
    Pt near_knee, near_ankle, far_knee, far_ankle;
    double near_toe = 0, far_toe = 0;  // degrees, positive lifts the toe
    Outfit outfit = Outfit::Tweed;
    Face face = Face::Calm;
    bool far_arm_in_front = false;  // the far arm crosses in front of the body
    Path prop;                      // held in the hands: drawn over the body, under the near hand
};
void paint_side(cairo_t* cr, const SidePose& p);

// Seen from behind (left and right are his, which are the viewer's too).
struct BackPose {
    double cx = 26;  // the middle of the body
    double hip_y = 72, shoulder_y = 43;
    Pt head;
    Pt left_elbow, left_hand, right_elbow, right_hand;
    Pt left_knee, left_ankle, right_knee, right_ankle;
    Hand left_grip = Hand::Open, right_grip = Hand::Open;
};
void paint_back(cairo_t* cr, const BackPose& p);

// Seen from the front (his left is the viewer's right).
struct FrontPose {
    double cx = 26;
    double hip_y = 72, shoulder_y = 43;
    Pt head;
    double head_tilt = 0;
    Pt left_elbow, left_hand, right_elbow, right_hand;
    Pt left_knee, left_ankle, right_knee, right_ankle;
    Face face = Face::Fright;
    Hand hands = Hand::Spread;
};
void paint_front(cairo_t* cr, const FrontPose& p);

// The dressed head in profile, facing right, centred on c.
void paint_head_side(cairo_t* cr, Pt c, double tilt, Outfit outfit, Face face);

}  // namespace professor
