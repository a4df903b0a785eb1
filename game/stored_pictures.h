// SPDX-License-Identifier: GPL-3.0-or-later
// The pictures stored with the game window, compiled into the program.
// Each is named "PictureN" (a single picture) or "PictureN_k" (element k of
// the picture array PictureN); the bytes are BMP files.
#pragma once
#include <cstddef>
#include <string>

struct StoredPicture {
    const char* name;
    const unsigned char* data;
    size_t size;
};

// The table generated at build time from the art generator's output.
const StoredPicture* stored_pictures(size_t* count);
const StoredPicture* find_stored_picture(const std::string& name);
