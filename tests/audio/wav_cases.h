// SPDX-License-Identifier: GPL-3.0-or-later
// The WAV files of tests/audio/wav_cases.tsv, made by name: what every
// front end must answer alike for each is in that table.
#pragma once
#include <string>
#include <vector>

struct WavCase {
    std::string file;
    int answer;  // 0 a sound, else the error number
    std::string what;
};

// The table's rows.
std::vector<WavCase> read_wav_cases(const std::string& tsv_path);

// Makes the case's file in `dir` (a folder, a FIFO, or nothing at all for
// the cases named so). False when the name is not one it knows.
bool make_wav_case(const std::string& dir, const std::string& file);
