// SPDX-License-Identifier: GPL-3.0-or-later
// Every picture of the professor: walking, climbing, jumping, playing the
// flute, caught by the spider, under the umbrella, dazed after a fall, and
// in the leopard skin on the jungle vine. Poses are given in the picture's
// own pixels; the figure kit paints the body around them.
#include <cmath>
#include <functional>
#include <string>

#include "datagen/pictures/character_figure.h"
#include "datagen/pictures/character_scenery.h"
#include "datagen/pictures/painter.h"

using namespace professor;

namespace {

// The side figures stand on the line x = kAxis; a left view is the right
// view mirrored about it, so that turning round does not make him jump.
constexpr double kAxis = 26.0;

std::string pic(int n, int k) { return "Picture" + std::to_string(n) + "_" + std::to_string(k); }

using Painter = std::function<void(cairo_t*)>;

void add_pair(PictureMap& out, const std::string& mask, const std::string& image, int w, int h,
              const Painter& paint, bool mirrored = false) {
    sprite(out, mask, image, w, h, [&](cairo_t* cr) {
        cairo_set_antialias(cr, CAIRO_ANTIALIAS_GOOD);
        if (mirrored) {
            cairo_translate(cr, 2 * kAxis, 0);
            cairo_scale(cr, -1, 1);
        }
        set_light({0.5, -0.866});
        paint(cr);
    });
}

void add_pair(PictureMap& out, int n, int w, int h, const Painter& paint, bool mirrored = false) {
    add_pair(out, pic(n, 0), pic(n, 1), w, h, paint, mirrored);
}

// --- the side poses ----------------------------------------------------------
SidePose standing() {
    SidePose p;
    p.hip = {25, 72};
    p.shoulder = {27.5, 44.5};
    p.head = {32, 28.5};
    p.head_tilt = 6;
    p.near_elbow = {28, 60.5};
    p.near_hand = {30, 75};
    p.far_elbow = {25, 60.5};
    p.far_hand = {26, 75};
    p.near_knee = {26.5, 93.5};
    p.near_ankle = {25.5, 112.5};
    p.far_knee = {23.0, 93.5};
    p.far_ankle = {21.5, 112.5};
    return p;
}

// One side's leg and the arm that swings against it.
struct Side {
    Pt knee, ankle;
    double toe;
    Pt elbow, hand;
};

// The two sides of a stepping pose: `moving` on the near side if
// near_moves, else on the far side, `other` on the remaining one.
void set_sides(SidePose& p, bool near_moves, const Side& moving, const Side& other) {
    const Side& n = near_moves ? moving : other;
    const Side& f = near_moves ? other : moving;
    p.near_knee = n.knee, p.near_ankle = n.ankle, p.near_toe = n.toe;
    p.near_elbow = n.elbow, p.near_hand = n.hand;
    p.far_knee = f.knee, p.far_ankle = f.ankle, p.far_toe = f.toe;
    p.far_elbow = f.elbow, p.far_hand = f.hand;
}

// One stride: the leading leg forward, the other pushing off behind, the
// arms swinging against the legs. near_leads picks which leg leads.
SidePose stride(bool near_leads) {
    SidePose p = standing();
    p.hip = {25.5, 73};
    p.shoulder = {27.5, 45};
    p.head = {31.5, 28.5};
    p.head_tilt = 6;
    set_sides(p, near_leads, {{32, 93.5}, {36.5, 111.5}, 14, {23, 60.5}, {17.5, 72.5}},
              {{21.5, 94.5}, {15.5, 109.5}, -28, {31, 60.5}, {37.5, 72}});
    return p;
}

// On a flight of steps: one knee raised with the foot a step higher.
SidePose on_steps(bool near_raised) {
    SidePose p = standing();
    p.hip = {25.5, 71.5};
    p.shoulder = {28.5, 44};
    p.head = {33, 28};
    p.head_tilt = 8;
    set_sides(p, near_raised, {{34.5, 86}, {35.5, 104.5}, 0, {24.5, 60}, {21.5, 73.5}},
              {{22.5, 93}, {19.5, 112.5}, -4, {31.5, 59.5}, {36.5, 71.5}});
    return p;
}

SidePose jumping() {
    SidePose p;
    p.hip = {25, 69};
    p.shoulder = {31, 43};
    p.head = {36.5, 28};
    p.head_tilt = 8;
    p.face = Face::Fright;
    p.near_elbow = {39, 51};
    p.near_hand = {47, 44.5};
    p.near_grip = Hand::Spread;
    p.far_elbow = {20.5, 50};
    p.far_hand = {13, 45};
    p.near_knee = {37.5, 78};
    p.near_ankle = {38, 96};
    p.near_toe = 14;
    p.far_knee = {19, 87.5};
    p.far_ankle = {9, 97.5};
    p.far_toe = -45;
    return p;
}

// Musical notes drifting from the flute.
void notes(cairo_t* cr, std::initializer_list<Pt> at) {
    for (Pt n : at) {
        inked(cr, [&](cairo_t* k) {
            add_ellipse(k, n, 1.9, 1.4, -0.4);
            add_capsule(k, n + Pt{1.5, -0.4}, 0.5, n + Pt{1.6, -7.5}, 0.5);
            add_capsule(k, n + Pt{1.6, -7.5}, 0.5, n + Pt{4.0, -5.0}, 0.5);
        }, dome(n, 3.0, pal::tone::gold), 1.1);
    }
}

SidePose flute_player() {
    SidePose p = standing();
    p.head = {30.5, 27.5};
    p.head_tilt = 2;
    p.face = Face::Blow;
    p.far_arm_in_front = true;
    p.far_elbow = {31.5, 55};
    p.far_hand = {44.5, 39.2};
    p.far_grip = Hand::Grip;
    p.near_elbow = {31.5, 58};
    p.near_hand = {49.2, 43.5};
    p.near_grip = Hand::Grip;
    p.prop = [](cairo_t* cr) {
        // A wooden shepherd's flute, held to the lips and pointing ahead.
        Pt a{40.8, 35.0}, b{57.5, 50.5};
        const Tone wood{hex(0xd7a062), hex(0x8e5a2c), hex(0x4a2a12)};
        inked(cr, [&](cairo_t* k) {
            add_capsule(k, a, 1.0, b, 1.3);
            add_ellipse(k, b, 1.7, 2.1, -0.75);
        }, rounded_across(a, b, 1.4, wood), 1.2);
        for (double t : {0.42, 0.55, 0.68, 0.8}) {
            Pt h = lerp(a, b, t) + Pt{0.45, -0.45};
            cairo_new_path(cr);
            add_circle(cr, h, 0.4);
            set(cr, pal::ink);
            cairo_fill(cr);
        }
        notes(cr, {{56, 28}, {66, 17}});
    };
    return p;
}

// --- the leopard skin ----------------------------------------------------------
SidePose tarzan(int frame) {
    SidePose p = standing();
    p.outfit = Outfit::Leopard;
    p.near_grip = p.far_grip = Hand::Fist;
    p.shoulder = {26.8, 43.5};
    if (frame == 0) {
        // Proud, chest out, fists ready.
        p.head_tilt = -2;
        p.near_elbow = {19.5, 57};
        p.near_hand = {24.5, 69.5};
        p.far_elbow = {18.5, 56.5};
        p.far_hand = {23, 69};
        p.near_knee = {28, 93.5};
        p.near_ankle = {28.5, 112.5};
        p.far_knee = {21.5, 93.5};
        p.far_ankle = {19.5, 112.5};
        return p;
    }
    p.face = Face::Yell;
    p.head = {30, 27.5};
    p.head_tilt = -16;
    p.near_knee = {28.5, 93.5};
    p.near_ankle = {29.5, 112.5};
    p.far_knee = {21, 93.5};
    p.far_ankle = {18.5, 112.5};
    if (frame == 1) {
        // Hands cupped round the mouth for the yell.
        p.far_arm_in_front = true;
        p.near_grip = p.far_grip = Hand::Cupped;
        p.far_elbow = {36, 50};
        p.far_hand = {41.5, 36.5};
        p.near_elbow = {35, 52};
        p.near_hand = {41.0, 39.5};
    } else {
        // Beating his chest.
        p.far_arm_in_front = false;
        p.near_elbow = {23, 57};
        p.near_hand = {33.5, 52};
        p.far_elbow = {27, 53};
        p.far_hand = {35.5, 47};
    }
    return p;
}

// He hangs by both hands from the end of the vine and swings off yelling.
SidePose tarzan_swinging(Pt grip) {
    SidePose p;
    p.outfit = Outfit::Leopard;
    p.face = Face::Yell;
    p.hip = grip + Pt{-8.5, 60};
    p.shoulder = grip + Pt{-4.5, 32};
    p.head = grip + Pt{2.5, 20};
    p.head_tilt = -18;
    // One hand on the vine, the other flung out ahead: off he goes.
    p.far_grip = Hand::Grip;
    p.far_hand = grip;
    p.far_elbow = grip + Pt{-5, 14};
    p.near_grip = Hand::Spread;
    p.near_elbow = grip + Pt{8.5, 38};
    p.near_hand = grip + Pt{19, 30};
    p.near_knee = grip + Pt{3, 78};
    p.near_ankle = grip + Pt{-6, 92};
    p.near_toe = -50;
    p.far_knee = grip + Pt{-10, 80};
    p.far_ankle = grip + Pt{-22, 89};
    p.far_toe = -65;
    return p;
}

// --- the umbrella --------------------------------------------------------------
SidePose under_umbrella(Pt grip) {
    SidePose p;
    p.face = Face::Fright;
    p.hip = grip + Pt{-5, 59};
    p.shoulder = grip + Pt{-2.5, 31};
    p.head = grip + Pt{6.0, 17.5};
    p.head_tilt = -10;
    // One hand clutches the handle over his head (the arm straight up
    // behind his head), the other flails.
    p.far_grip = Hand::Grip;
    p.far_hand = grip;
    p.far_elbow = grip + Pt{-3.5, 15};
    p.near_grip = Hand::Spread;
    p.near_elbow = grip + Pt{5.5, 43};
    p.near_hand = grip + Pt{13.5, 36};
    p.near_knee = grip + Pt{-1, 80};
    p.near_ankle = grip + Pt{-3, 98};
    p.near_toe = -40;
    p.far_knee = grip + Pt{-8, 79};
    p.far_ankle = grip + Pt{-11, 96};
    p.far_toe = -48;
    return p;
}

// --- seated after the fall -------------------------------------------------------
SidePose dazed(int frame) {
    SidePose p;
    p.face = Face::Dazed;
    p.hip = {22, 85.5};
    p.shoulder = {17.5, 58.5};
    p.head = {20.5, 43};
    p.head_tilt = frame == 1 ? 17 : (frame == 2 ? 5 : 11);
    // Propped up on both arms behind him, legs stretched out in front.
    p.near_elbow = {9.5, 72};
    p.near_hand = {6.5, 86};
    p.far_elbow = {12, 71};
    p.far_hand = {10, 85};
    p.near_knee = {37.5, 78.5};
    p.near_ankle = {51.5, 85};
    p.near_toe = 62;
    p.far_knee = {35, 81.5};
    p.far_ankle = {49.5, 87};
    p.far_toe = 48;
    return p;
}

void paint_dazed(cairo_t* cr, int frame) {
    // Three stars circling the head: the far ones pass behind him.
    const double turn[3] = {0.0, 60.0, 60.0};
    const Pt orbit{21.5, 27.5};
    struct Star {
        Pt at;
        double r;
        bool behind;
    } stars[3];
    for (int i = 0; i < 3; ++i) {
        double a = (turn[frame] + i * 120.0 + 90.0) * kPi / 180.0;
        bool behind = std::sin(a) < 0;
        stars[i] = {orbit + Pt{std::cos(a) * 17.0, std::sin(a) * 5.5}, behind ? 3.2 : 4.3, behind};
    }
    for (const Star& s : stars)
        if (s.behind) star(cr, s.at, s.r, frame * 0.3);
    paint_side(cr, dazed(frame));
    for (const Star& s : stars)
        if (!s.behind) star(cr, s.at, s.r, frame * 0.3 + 0.2);
}

// --- from behind and from the front ------------------------------------------------
BackPose back_standing() {
    BackPose p;
    p.head = {26, 28};
    p.left_elbow = {15.5, 60};
    p.left_hand = {15.8, 75};
    p.right_elbow = {36.5, 60};
    p.right_hand = {36.2, 75};
    p.left_knee = {21.2, 93.5};
    p.left_ankle = {21, 112.3};
    p.right_knee = {30.8, 93.5};
    p.right_ankle = {31, 112.3};
    return p;
}

// Climbing the shelves: one hand reaching up, the knee on the other side raised.
BackPose back_climbing(bool right_up) {
    BackPose p = back_standing();
    p.hip_y = 71;
    p.shoulder_y = 43;
    p.head = {26, 27.5};
    Pt up_elbow{38.5, 31.5}, up_hand{36.5, 16.5}, low_elbow{38, 53}, low_hand{35.5, 42};
    Pt lift_knee{31.5, 87.5}, lift_ankle{31, 104}, stand_knee{21, 93}, stand_ankle{21, 112.3};
    auto flip = [](Pt q) { return Pt{52 - q.x, q.y}; };
    p.left_grip = p.right_grip = Hand::Grip;
    if (right_up) {
        p.right_elbow = up_elbow, p.right_hand = up_hand;
        p.left_elbow = flip(low_elbow), p.left_hand = flip(low_hand);
        p.left_knee = flip(lift_knee), p.left_ankle = flip(lift_ankle);
        p.right_knee = flip(stand_knee), p.right_ankle = flip(stand_ankle);
    } else {
        p.left_elbow = flip(up_elbow), p.left_hand = flip(up_hand);
        p.right_elbow = low_elbow, p.right_hand = low_hand;
        p.right_knee = lift_knee, p.right_ankle = lift_ankle;
        p.left_knee = stand_knee, p.left_ankle = stand_ankle;
    }
    return p;
}

FrontPose caught() {
    FrontPose p;
    p.cx = 40;
    p.shoulder_y = 45;
    p.hip_y = 73;
    p.head = {40, 29};
    p.head_tilt = 0;
    p.right_elbow = {23, 37};
    p.right_hand = {17, 23.5};
    p.left_elbow = {57, 37};
    p.left_hand = {63, 23.5};
    // Legs dangling and kicking as he is lifted.
    p.right_knee = {34, 93.5};
    p.right_ankle = {31, 110.5};
    p.left_knee = {46.5, 92.5};
    p.left_ankle = {50, 108.5};
    return p;
}

}  // namespace

void paint_character_pictures(PictureMap& out) {
    auto side = [](SidePose p) { return [p](cairo_t* cr) { paint_side(cr, p); }; };

    // Facing right, and the same figures mirrored for facing left.
    for (bool left : {false, true}) {
        add_pair(out, left ? 11 : 2, 80, 120, side(standing()), left);
        add_pair(out, left ? 9 : 3, 80, 120, side(stride(true)), left);
        add_pair(out, left ? 10 : 4, 80, 120, side(stride(false)), left);
        add_pair(out, left ? 17 : 6, 80, 120, side(on_steps(true)), left);
        add_pair(out, left ? 18 : 7, 80, 120, side(on_steps(false)), left);
        add_pair(out, left ? 20 : 19, 80, 120, side(jumping()), left);
    }
    add_pair(out, 68, 80, 120, side(flute_player()));

    add_pair(out, 16, 80, 120, [](cairo_t* cr) { paint_back(cr, back_standing()); });
    add_pair(out, 13, 80, 120, [](cairo_t* cr) { paint_back(cr, back_climbing(true)); });
    add_pair(out, 14, 80, 120, [](cairo_t* cr) { paint_back(cr, back_climbing(false)); });
    add_pair(out, 34, 80, 120, [](cairo_t* cr) { paint_front(cr, caught()); });

    add_pair(out, 42, 67, 151, [](cairo_t* cr) {
        Pt grip{33.5, 46};
        paint_open_umbrella(cr, 33.5, grip);
        paint_side(cr, under_umbrella(grip));
    });

    for (int k = 0; k < 3; ++k) {
        add_pair(out, pic(62, k), pic(61, k), 70, 94, [k](cairo_t* cr) { paint_dazed(cr, k); });
        add_pair(out, pic(73, k), pic(74, k), 80, 120, side(tarzan(k)));
    }

    add_pair(out, 75, 33, 350, [](cairo_t* cr) {
        paint_vine(cr, [](double y) { return 16.5 + 4.0 * std::sin(y / 37.0) + 1.4 * std::sin(y / 11.0); }, -4,
                   344, 7);
    });
    add_pair(out, 76, 71, 369, [](cairo_t* cr) {
        Pt grip{40, 266};
        auto x_at = [grip](double y) {
            double t = y / grip.y;
            return 50.0 + (grip.x - 50.0) * t * t + 3.0 * std::sin(y / 31.0) * (1 - t);
        };
        paint_vine(cr, x_at, -4, grip.y + 4, 11);
        paint_side(cr, tarzan_swinging(grip));
    });
}
