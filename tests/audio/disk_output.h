// SPDX-License-Identifier: GPL-3.0-or-later
// Runs SDL through its "disk" audio driver, which writes every mixed sample
// to a raw file (44.1 kHz, 16-bit, stereo as the game opens it), and reads
// that file back for the tests.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

class DiskOutput {
public:
    // realtime = false lets the driver mix as fast as it can.
    explicit DiskOutput(const std::string& name, bool realtime = true);
    ~DiskOutput();
    std::vector<std::int16_t> left() const;  // the left channel of what was written
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// Runs of sound in x separated by at least min_gap zero samples.
struct SoundRun {
    std::size_t begin, end;  // [begin, end)
    std::int16_t first, last;
};
std::vector<SoundRun> runs(const std::vector<std::int16_t>& x, std::size_t min_gap);

double rms_db(const std::vector<std::int16_t>& x, std::size_t from, std::size_t to);
std::string scratch_file(const std::string& name);  // a fresh path under /tmp
void sleep_ms(int ms);
