// SPDX-License-Identifier: GPL-3.0-or-later
// lexovo-wav-cases DIR: writes the crafted WAV files of wav_cases.tsv into
// DIR and the table beside them (wav_cases.tsv), for any front end's tests.
#include <filesystem>
#include <iostream>

#include "tests/audio/wav_cases.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: lexovo-wav-cases DIR\n";
        return 2;
    }
    const std::string dir = argv[1];
    std::filesystem::create_directories(dir);
    for (const WavCase& c : read_wav_cases(LEXOVO_WAV_CASES))
        if (!make_wav_case(dir, c.file)) {
            std::cerr << "lexovo-wav-cases: cannot make " << c.file << "\n";
            return 1;
        }
    std::filesystem::copy_file(LEXOVO_WAV_CASES, dir + "/wav_cases.tsv",
                               std::filesystem::copy_options::overwrite_existing);
    return 0;
}
