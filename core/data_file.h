// SPDX-License-Identifier: GPL-3.0-or-later
// How the game reads its data files: by their full path inside the data
// folder, whole, and only when they are regular files. A FIFO would block
// the open until some writer came, a device (/dev/zero) would never end, a
// folder cannot be read: to the game they are all missing files.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The whole file; nullopt when it holds more than max_bytes bytes (nothing is
// read then). Throws RuntimeError 53 when the path names no regular file;
// the check is made on the opened file and the open never waits.
std::optional<std::vector<uint8_t>> read_data_file(const std::string& path, size_t max_bytes);

// Whether the path names a regular file of at most max_bytes bytes (for
// files that a library opens by name), checked the same way.
bool is_data_file(const std::string& path, size_t max_bytes = SIZE_MAX);

// A data file's full path: the folder, then the bare name. With no folder
// known the path is empty, which names no file (never the current folder).
std::string data_path(const std::string& folder, const std::string& bare_name);

// Whether the data folder can be entered: a folder, searchable by us.
bool can_enter_folder(const std::string& folder);
