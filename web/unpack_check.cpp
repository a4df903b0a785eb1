// SPDX-License-Identifier: GPL-3.0-or-later
// lexovo-unpack-check PACKED_DIR DATA_DIR: unpacks every file the manifest
// of PACKED_DIR lists, as the page does (web/data_unpack.h), and holds it to
// the data file it came from in DATA_DIR: a picture to the same pixels, an
// effect to the same bytes. Built for Node; prints one line a file and
// exits 1 when any differs.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "core/bmp_load.h"
#include "core/runtime_error.h"
#include "web/data_unpack.h"

namespace {
std::vector<unsigned char> read_all(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return std::vector<unsigned char>((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: lexovo-unpack-check PACKED_DIR DATA_DIR\n");
        return 1;
    }
    const std::string packed = argv[1], data = argv[2];
    std::ifstream m(packed + "/manifest.json");
    nlohmann::json list = nlohmann::json::parse(m, nullptr, false);
    if (!list.is_array() || list.empty()) {
        std::fprintf(stderr, "no manifest in %s\n", packed.c_str());
        return 1;
    }
    int bad = 0, checked = 0;
    const std::string out = "/tmp/lexovo-unpack-check.tmp";
    for (const auto& e : list) {
        const std::string name = e["name"], file = e["file"];
        if (file.size() > 4 && file.substr(file.size() - 4) == ".mp3") continue;  // the page plays these itself
        std::vector<unsigned char> bytes = read_all(packed + "/" + file);
        bool same = unpack_data_file(bytes.data(), bytes.size(), file, out);
        if (same && name.substr(name.size() - 4) == ".bmp") {
            try {
                same = load_bmp_file(out) == load_bmp_file(data + "/" + name);
            } catch (const RuntimeError& err) {
                same = false;
            }
        } else if (same) {
            same = read_all(out) == read_all(data + "/" + name);
        }
        std::printf("%-14s %-14s %s\n", name.c_str(), file.c_str(), same ? "same" : "DIFFERS");
        bad += !same;
        ++checked;
    }
    std::remove(out.c_str());
    std::printf("%d files, %d differ\n", checked, bad);
    return bad || checked < 30 ? 1 : 0;
}
