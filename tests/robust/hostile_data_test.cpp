// SPDX-License-Identifier: GPL-3.0-or-later
// Hostile data and a hostile machine: picture headers that ask for
// gigabytes, memory that runs out in the middle of a procedure, data files
// that are not files (a FIFO, a device, a folder), a data folder that cannot
// be entered. The game reports each the way its error trap reports any
// run-time error, at once, without taking the machine's memory, and plays on.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <fcntl.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <iostream>
#include <string>

#include "core/bmp_decode.h"
#include "core/bmp_load.h"
#include "core/runtime_error.h"
#include "core/wav_info.h"
#include "tests/core/bmp_builder.h"
#include "tests/robust/alloc_watch.h"
#include "tests/robust/scratch.h"
#include "tests/unit/test_world.h"

namespace fs = std::filesystem;
using namespace testworld;

namespace {

using scratch::error_of;

int count(const std::vector<BoxRecord>& boxes, const std::string& what) {
    int n = 0;
    for (const BoxRecord& b : boxes) n += b.text.find(what) != std::string::npos;
    return n;
}

std::string scratch_dir(const std::string& name) { return scratch::folder("lexovo-hostile", name); }
using scratch::peak_rss;

void write_bytes(const std::string& path, const Bytes& b) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
}

// --- Headers that ask for gigabytes ---------------------------------------

struct Giant {
    const char* what;
    Bytes file;
};

std::vector<Giant> giant_headers() {
    std::vector<Giant> v;
    BmpFile a;  // 54 bytes, 24-bit: 2.7 GB of rows, 3.6 GB of colours
    a.width = 30000, a.height = 30000;
    v.push_back({"54 bytes declaring 30000 x 30000, 24-bit", a.bytes()});
    BmpFile b;  // RLE8: a palette and the end-of-picture code, 1 080 bytes
    b.bits = 8, b.compression = 1, b.width = 32767, b.height = 32767;
    b.colours(256);
    b.pixels = {0, 1};
    v.push_back({"1 080 bytes of RLE8 declaring 32767 x 32767", b.bytes()});
    BmpFile c;  // the most an int row length times rows allows at 32 bits
    c.bits = 32, c.width = 23170, c.height = -23170;
    v.push_back({"32-bit 23170 x 23170, top-down", c.bytes()});
    BmpFile d;  // the OS/2 header's unsigned 16-bit sizes
    d.info_size = 12, d.bits = 1, d.width = 65535, d.height = 65535;
    d.colours(2);
    v.push_back({"OS/2 1-bit 65535 x 65535", d.bytes()});
    BmpFile e;
    e.bits = 8, e.width = 46340, e.height = 46340;
    e.colours(256);
    v.push_back({"8-bit 46340 x 46340", e.bytes()});
    return v;
}

}  // namespace

// A file of a few bytes that declares a picture larger than the game can
// use is refused from its header alone: nothing as large is ever asked of
// the heap, and it takes no time.
TEST(GiantHeaders, AreRefusedBeforeAnythingIsMade) {
    const std::string dir = scratch_dir("giants");
    for (const Giant& g : giant_headers()) {
        SCOPED_TRACE(g.what);
        const std::string path = dir + "/giant.bmp";
        write_bytes(path, g.file);
        const auto start = std::chrono::steady_clock::now();
        {
            alloc_watch::Watch w;
            EXPECT_EQ(error_of([&] { load_bmp_memory(g.file.data(), g.file.size()); }), 481);
            EXPECT_LT(w.largest_request(), size_t(1) << 20) << "bytes asked for at once";
        }
        {
            alloc_watch::Watch w;
            EXPECT_EQ(error_of([&] { load_bmp_file(path); }), 481);
            EXPECT_LT(w.largest_request(), size_t(1) << 20) << "bytes asked for at once";
        }
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    }
    fs::remove_all(dir);
}

// A data folder of the largest files the game takes: every picture a
// 32-bit 4096 x 1024 (16 MiB a file, 16 MiB a surface), every effect a file
// of nearly 16 MiB. Loading all the game keeps at once (the world's two
// pictures, the sixteen effects, a page, the three forest pictures) and every
// page in turn stays well under 400 MB.
TEST(GiantHeaders, AFolderOfTheLargestFilesStaysUnder400MB) {
    const std::string dir = scratch_dir("largest");
    BmpFile big;
    big.bits = 32, big.width = int32_t(kMaxPictureSide), big.height = int32_t(kMaxPicturePixels / kMaxPictureSide);
    big.pixels = Bytes(size_t(kMaxPicturePixels) * 4, 0x5A);
    write_bytes(dir + "/big.bmp", big.bytes());
    // A LIST chunk fills the file up to the limit; the sound itself is short.
    Bytes wav;
    auto put = [&](const char* four, uint32_t v) {
        for (int i = 0; i < 4; ++i) wav.push_back(uint8_t(four[i]));
        put_le(wav, v, 4);
    };
    const uint32_t list = uint32_t(kMaxSoundFileBytes - 1000 - 64);
    put("RIFF", 0);
    wav.insert(wav.end(), {'W', 'A', 'V', 'E'});
    put("LIST", list);
    wav.resize(wav.size() + list, 0);
    put("fmt ", 16);
    put_le(wav, 1, 2), put_le(wav, 1, 2), put_le(wav, 44100, 4), put_le(wav, 88200, 4), put_le(wav, 2, 2), put_le(wav, 16, 2);
    put("data", 1000);
    wav.resize(wav.size() + 1000, 0);
    write_bytes(dir + "/big.wav", wav);
    auto link = [&](const std::string& target, const std::string& name) {
        fs::create_symlink(dir + "/" + target, dir + "/" + name);
    };
    for (const char* n : {"gameb2.bmp", "gamemap1.bmp", "j1.bmp", "j2.bmp", "j3.bmp"}) link("big.bmp", n);
    for (int n = 1; n <= 13; ++n) link("big.bmp", "lib" + std::to_string(n) + ".bmp");
    for (int id = 0; id < kSfxCount; ++id) link("big.wav", kSfxFiles[id]);

    const int64_t before = peak_rss();
    {
        Game g(dir);  // the load step
        EXPECT_EQ(g.game.picture(5).width(), kMaxPictureSide);
        Surface forest[3];
        for (int k = 0; k < 3; ++k) forest[k] = load_bmp_file(dir + "/j" + std::to_string(k + 1) + ".bmp");
        for (int n = 1; n <= 13; ++n) {
            g.s().book_state[size_t(n)] = n == 2 ? 2 : 1;  // the state in which a click opens it
            g.game.run_handler([&] { g.game.Form_Click(); });  // opens it
            g.game.run_handler([&] { g.game.Form_Click(); });  // and closes it
            g.s().book_state[size_t(n)] = 0;
        }
        EXPECT_TRUE(g.platform.take_log().boxes.empty());
    }
    const int64_t grown = peak_rss() - before;
    std::cout << "peak memory grew by " << grown / (1 << 20) << " MiB\n";
    EXPECT_LT(peak_rss(), int64_t(400) << 20);
    fs::remove_all(dir);
}

// --- Memory that runs out ---------------------------------------------------

namespace {
World shelves() {
    World w;
    w.paint(900, 1000, 225, 240, kMapLightMagenta);  // book 9 at world (985, 230)
    w.paint(100, 130, 150, 170, kMapLightMagenta);   // book 1 at world (120, 160)
    return w;
}
// Requests the size of a page (a 400 x 400 file, its rows, its surface) fail;
// the world's pictures and the sounds are far larger or far smaller.
constexpr size_t kPageFrom = 400000, kPageBelow = 1000000;
// Only a page's file (480 054 bytes): the play area made at start-up is the
// size of a page's surface.
constexpr size_t kPageFileFrom = 470000, kPageFileBelow = 490000;
}  // namespace

// A page that cannot be made for want of memory is run-time error 7 of the
// procedure that loads it; "Riprova" goes on, the next click closes the book
// as usual, and nothing the failed load took is kept.
TEST(OutOfMemory, APageThatCannotBeMadeIsError7AndTheGameGoesOn) {
    Data d(shelves());
    Game g(d.dir);
    g.s().scroll_x = 800;
    g.game.Form_MouseMove(0, 0, float(985 - 800 + 40), float(230 + 40));
    ASSERT_EQ(g.s().book_state[9], 1);
    g.platform.take_log();
    int64_t held = 0;
    {
        alloc_watch::Watch w(kPageFrom, kPageBelow);
        g.game.run_handler([&] { g.game.Form_Click(); });
        EXPECT_GT(w.failures(), 0);
        {
            const HeadlessPlatform::Log log = g.platform.take_log();
            ASSERT_EQ(log.boxes.size(), 1u);
            EXPECT_EQ(log.boxes[0].text,
                      "Si è verificato l'errore n. 7 nella funzione 'FORM1_CLICK': Memoria esaurita. "
                      "Fare clic su 'Riprova' per continuare, su 'Annulla' per terminare il programma.");
            EXPECT_EQ(log.boxes[0].answer, "retry");
        }
        held = w.held_since();
    }
    EXPECT_EQ(held, 0) << "bytes kept by the failed load";
    EXPECT_EQ(g.s().book_state[9], 2);
    EXPECT_FALSE(g.game.timer_enabled());
    g.game.run_handler([&] { g.game.Form_Click(); });
    EXPECT_TRUE(g.game.timer_enabled());
    EXPECT_EQ(g.s().inventory[0], "forchetta");
    EXPECT_TRUE(g.platform.take_log().boxes.empty());
}

// The same through the replay tool's runner, which lexovo-replay is: the
// trace goes on after the report, and the tool ends normally.
TEST(OutOfMemory, TheReplayToolReportsItAndPlaysOn) {
    Data d(shelves());
    Trace t;
    {
        alloc_watch::Watch w(kPageFileFrom, kPageFileBelow);
        t = run(d.dir, "gioca\nmousemove 160 200\nclick\ntick 2\nclick\ntick 2\n");
    }
    ASSERT_EQ(t.size(), 8u);
    ASSERT_EQ(t[2]["cmd"], "click");
    ASSERT_EQ(t[2]["boxes"].size(), 1u);
    EXPECT_NE(t[2]["boxes"][0]["text"].get<std::string>().find("n. 7 nella funzione 'FORM1_CLICK': Memoria esaurita"),
              std::string::npos);
    EXPECT_FALSE(t[3]["ran"]);  // the book is open
    EXPECT_TRUE(t[6]["ran"]);   // and closed again
    EXPECT_TRUE(t[7]["boxes"].empty());
}

// Memory that runs out outside every step still reaches the player as
// error 7, at the event boundary every front end calls handlers through.
TEST(OutOfMemory, AtTheEventBoundaryItIsError7WithTheInnermostLabel) {
    Data d(World{});
    Game g(d.dir);
    g.game.run_handler([] { throw std::bad_alloc(); });
    const HeadlessPlatform::Log log = g.platform.take_log();
    ASSERT_EQ(log.boxes.size(), 1u);
    EXPECT_NE(log.boxes[0].text.find("n. 7 nella funzione 'FORM1': Memoria esaurita"), std::string::npos);
}

// --- Files that are not files ----------------------------------------------

namespace {
// Runs `load` on a thread of its own: its error number, or -1 when it has not
// returned within three seconds (then `unblock` lets it finish).
int error_within_3s(const std::function<void()>& load, const std::function<void()>& unblock) {
    auto f = std::async(std::launch::async, [&] {
        try {
            return error_of(load);
        } catch (...) {
            return -2;  // anything but a run-time error
        }
    });
    if (f.wait_for(std::chrono::seconds(3)) == std::future_status::ready) return f.get();
    unblock();
    f.wait();
    return -1;
}
}  // namespace

// Only regular files are data: a FIFO (which would block the open until
// some writer came), a device and a folder are missing files, at once.
TEST(NotAFile, AFifoADeviceAndAFolderAreMissingFilesAtOnce) {
    const std::string dir = scratch_dir("not-files");
    const std::string fifo = dir + "/fifo", folder = dir + "/folder";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    fs::create_directory(folder);
    // A reader blocked in open() on the FIFO is let go by a writer that
    // opens and closes it.
    auto unblock = [&] {
        int fd = open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) close(fd);
    };
    for (const std::string& path : {fifo, folder, std::string("/dev/zero"), std::string("/dev/null")}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(error_within_3s([&] { load_bmp_file(path); }, unblock), 53) << "a picture";
        EXPECT_EQ(error_within_3s([&] { read_wav_file(path); }, unblock), 53) << "a sound";
    }
    fs::remove_all(dir);
}

// --- A data folder that cannot be entered -----------------------------------

namespace {
// Runs in the folder it is given, and back where it was afterwards.
struct InFolder {
    fs::path before = fs::current_path();
    explicit InFolder(const std::string& dir) { fs::current_path(dir); }
    ~InFolder() { fs::current_path(before); }
};
}  // namespace

// The load step reports the folder once, as 76, then each file it cannot
// open as usual; it reads nothing from the current folder, even one that
// holds a whole data set.
TEST(DataFolder, OneThatCannotBeEnteredIsReportedOnceAndNothingElsewhereIsRead) {
    Data here(World{});
    const InFolder in(here.dir);
    for (const std::string& folder : {here.dir + "/no-such-folder", here.dir + "/gameb2.bmp", std::string()}) {
        SCOPED_TRACE("data folder '" + folder + "'");
        HeadlessPlatform p(folder);
        time_limit = 0;
        GameWindow g(p);
        g.run_handler([&] { g.Form_Load(); });
        const std::vector<BoxRecord> boxes = p.take_log().boxes;
        ASSERT_FALSE(boxes.empty());
        EXPECT_NE(boxes[0].text.find("n. 76 nella funzione 'FORM1_LOAD': Impossibile trovare il percorso"),
                  std::string::npos);
        EXPECT_EQ(count(boxes, "n. 76 "), 1);
        EXPECT_EQ(count(boxes, "n. 53 nella funzione 'FORM1_LOAD'"), 2);
        EXPECT_EQ(count(boxes, "n. 53 nella funzione 'FORM1_PREPARASUONI'"), kSfxCount);
        EXPECT_EQ(boxes.size(), size_t(1 + 2 + kSfxCount));
        EXPECT_TRUE(g.picture(5).empty()) << "the background was read from somewhere";
        EXPECT_TRUE(g.picture(8).empty()) << "the collision map was read from somewhere";
        EXPECT_TRUE(g.timer_enabled()) << "the game goes on";
    }
}

// Memory that runs out for everything of a page's size, from the start: the
// play area cannot be made at the load step either. Each failure is a report
// of its own, and the game never reads or writes past a surface it has not.
TEST(OutOfMemory, FromTheStartEveryFailureIsReportedAndNothingBreaks) {
    Data d(shelves());
    Trace t;
    {
        alloc_watch::Watch w(kPageFrom, kPageBelow);
        t = run(d.dir, "gioca\ntick 3\nmousemove 160 200\nclick\ntick 2\nclick\ntick 2\n");
    }
    ASSERT_EQ(t.size(), 11u);
    auto boxes = [&](size_t i) {
        std::vector<std::string> v;
        for (const auto& b : t[i]["boxes"]) {
            const std::string text = b["text"].get<std::string>();
            v.push_back(text.substr(0, text.find(". Fare")));
        }
        return v;
    };
    const std::string load = "Si è verificato l'errore n. 7 nella funzione 'FORM1_LOAD': Memoria esaurita";
    const std::string click = "Si è verificato l'errore n. 7 nella funzione 'FORM1_CLICK': Memoria esaurita";
    EXPECT_EQ(boxes(0), std::vector<std::string>{load}) << "the play area";
    EXPECT_EQ(t[0]["prof_x"], -10) << "the load step went on";
    EXPECT_TRUE(t[1]["ran"]);
    EXPECT_EQ(boxes(5), std::vector<std::string>{click}) << "the page";
    EXPECT_FALSE(t[6]["ran"]);  // the book is open
    EXPECT_TRUE(t[9]["ran"]);   // and closed again
    for (size_t i : {1, 2, 3, 4, 6, 7, 8, 9, 10}) EXPECT_TRUE(boxes(i).empty()) << i;
}
