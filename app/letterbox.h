// Where the 480 x 540 game picture sits in a game window of any size: the
// largest whole-number enlargement that fits, centred, the rest black. The
// game only ever sees its own pixels; a window pixel maps back to the game
// pixel it shows (rounded down, also outside the picture while a button is
// held).
#pragma once

struct Letterbox {
    static constexpr int kW = 480, kH = 540;

    int scale = 1;
    int x = 0, y = 0;  // the picture's top-left corner in the window

    static Letterbox fit(int window_w, int window_h) {
        Letterbox b;
        int sx = window_w / kW, sy = window_h / kH;
        b.scale = sx < sy ? sx : sy;
        if (b.scale < 1) b.scale = 1;
        b.x = (window_w - kW * b.scale) / 2;
        b.y = (window_h - kH * b.scale) / 2;
        return b;
    }

    int game_x(int wx) const { return floor_div(wx - x); }
    int game_y(int wy) const { return floor_div(wy - y); }
    // Whether a window pixel shows the picture (and not the black border).
    bool inside(int wx, int wy) const {
        int gx = game_x(wx), gy = game_y(wy);
        return gx >= 0 && gx < kW && gy >= 0 && gy < kH;
    }
    // The middle of a game pixel, in window pixels.
    int window_x(int gx) const { return x + gx * scale + scale / 2; }
    int window_y(int gy) const { return y + gy * scale + scale / 2; }

private:
    int floor_div(int v) const { return v >= 0 ? v / scale : -((-v + scale - 1) / scale); }
};
