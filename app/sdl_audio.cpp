// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/sdl_audio.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <dlfcn.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <map>

#include "core/data_file.h"
#include "core/runtime_error.h"
#include "core/wav_info.h"

namespace {

constexpr int kChannels = 16;
// A tune plays three times in all. SDL_mixer 2.6 counts Mix_PlayMusic's
// loops oddly for MIDI (0 and 1 both play once, 2 plays twice), so the
// number is the one the tests pin, not "repeats".
constexpr int kMusicLoops = 3;

// The General MIDI soundfonts Debian installs, best first.
const char* const kSoundFonts[] = {
    "/usr/share/sounds/sf2/FluidR3_GM.sf2",
    "/usr/share/sounds/sf3/default-GM.sf3",
    "/usr/share/sounds/sf2/TimGM6mb.sf2",
};

// Without a sound card ALSA's library prints a screenful of its own
// complaints on standard error while SDL probes it. They are kept quiet for
// the probe (ALSA is looked up at run time, as SDL itself does), so that
// the game's one line is all the player sees.
class QuietAlsa {
public:
    QuietAlsa() {
        lib_ = dlopen("libasound.so.2", RTLD_NOW);
        if (lib_) set_ = reinterpret_cast<SetHandler>(dlsym(lib_, "snd_lib_error_set_handler"));
        if (set_) set_(&quiet);
    }
    ~QuietAlsa() {
        if (set_) set_(nullptr);  // ALSA's own handler again
        if (lib_) dlclose(lib_);
    }
    QuietAlsa(const QuietAlsa&) = delete;
    QuietAlsa& operator=(const QuietAlsa&) = delete;

private:
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetHandler = int (*)(Handler);
    static void quiet(const char*, int, const char*, int, const char*, ...) {}
    void* lib_ = nullptr;
    SetHandler set_ = nullptr;
};

// A tune is opened by name by SDL_mixer; only a regular file is given to it
// (a FIFO would hold the loading thread, and with it every later load and
// the end of the program, for ever), and a MIDI file is read into memory
// whole by FluidSynth, so it must be small; a recording is streamed.
constexpr size_t kMaxMidiFileBytes = size_t(1) << 20;
bool file_exists(const std::string& path) { return is_data_file(path); }
bool tune_file(const std::string& path) {
    const bool midi = path.size() > 4 && path.compare(path.size() - 4, 4, ".mid") == 0;
    return is_data_file(path, midi ? kMaxMidiFileBytes : SIZE_MAX);
}

}  // namespace

struct SdlAudio::Impl {
    std::function<std::string(const std::string&)> resolve;
    bool sdl_audio = false;  // the audio subsystem is up
    bool open = false;       // Mix_OpenAudio succeeded
    bool silent = false;     // the output is the dummy driver
    bool music_ready = false;
    Mix_Chunk* chunk[kChannels] = {};
    Uint8* samples[kChannels] = {};  // each chunk's sound, in the output's format
    bool looping[kChannels] = {};

    // A tune plays from its recording (X.mp3 beside X.mid, made at build
    // time through FluidSynth with the best soundfont) where there is one:
    // a recording is streamed from the file and starts over from its
    // beginning whenever asked, with no synthesiser and no soundfont in
    // memory. Without one, the .mid plays through FluidSynth.
    //
    // FluidSynth's player treats a halt as a pause: started again, a tune
    // goes on from where it was halted, whatever SDL_mixer asks. So a MIDI
    // tune that has been started once is never started again; a fresh copy
    // is loaded in the background meanwhile and takes its place (loading it
    // on the spot would stall the game for a tick or two, or for seconds
    // when 'm' is pressed again and again).
    struct Tune {
        std::string path;
        bool recorded = false;       // path is the recording
        Mix_Music* music = nullptr;  // ready to start from its beginning
        bool used = false;           // started at least once (MIDI only)
        std::shared_future<Mix_Music*> first;  // the first load, made in the background
        std::shared_future<Mix_Music*> spare;
    };
    // Loads never overlap: two synthesisers loading at once can bring the
    // program down. Each load waits for the one before it.
    std::shared_future<Mix_Music*> last_load;
    std::map<std::string, Tune> tunes;  // by bare name
    std::string pending;                // a tune asked for before its first load was done

    static bool valid(int id) { return id >= 0 && id < kChannels; }

    bool try_open() {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
        sdl_audio = true;
        // 1024 frames at 44.1 kHz: a footstep sounds on the tick that asked for it.
        if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) != 0) {
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            sdl_audio = false;
            return false;
        }
        open = true;
        Mix_AllocateChannels(kChannels);
        Mix_Volume(-1, MIX_MAX_VOLUME);
        const char* driver = SDL_GetCurrentAudioDriver();
        silent = driver && std::string(driver) == "dummy";
        return true;
    }

    bool paused_or_idle(int ch) const { return !Mix_Playing(ch) || Mix_Paused(ch); }

    static Mix_Music* load_tune(const std::string& path) { return tune_file(path) ? Mix_LoadMUS(path.c_str()) : nullptr; }
    std::shared_future<Mix_Music*> load_later(const std::string& path) {
        last_load = std::async(std::launch::async, [before = last_load, path] {
                        if (before.valid()) before.wait();
                        return load_tune(path);
                    }).share();
        return last_load;
    }
    Mix_Music* load_now(const std::string& path) {
        if (last_load.valid()) last_load.wait();
        return load_tune(path);
    }
    static Mix_Music* take(std::shared_future<Mix_Music*>& f) {
        Mix_Music* m = f.valid() ? f.get() : nullptr;
        f = {};
        return m;
    }

    // The tune under that name, its recording if it has one.
    Tune& entry(const std::string& name) {
        Tune& t = tunes[name];
        if (t.path.empty()) {
            t.path = resolve ? resolve(name) : name;
            const std::string recording = recording_of(t.path);
            if (!recording.empty() && file_exists(recording)) {
                t.path = recording;
                t.recorded = true;
            }
        }
        return t;
    }
    static std::string recording_of(const std::string& midi_path) {
        const std::string ext = ".mid";
        if (midi_path.size() <= ext.size() || midi_path.compare(midi_path.size() - ext.size(), ext.size(), ext) != 0)
            return {};
        return midi_path.substr(0, midi_path.size() - ext.size()) + ".mp3";
    }
    static bool ready(const std::shared_future<Mix_Music*>& f) {
        return f.valid() && f.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
    }
    static bool loading(Tune& t) { return !t.music && t.first.valid() && !ready(t.first); }
    // Whether starting the tune now would have to wait for a load.
    static bool would_wait(Tune& t) {
        if (loading(t)) return true;
        return !t.recorded && t.used && t.spare.valid() && !ready(t.spare);
    }
    // The tune under that name, ready to start; nullptr if it cannot be.
    // Without `may_load` nothing is loaded here: a tune that is not ready
    // is loaded in the background for next time.
    Tune* tune(const std::string& name, bool may_load) {
        Tune& t = entry(name);
        if (!t.music && t.first.valid()) t.music = take(t.first);
        if (!t.music) {  // a failed load is tried again next time
            if (may_load) t.music = load_now(t.path);
            else t.first = load_later(t.path);
        }
        return t.music ? &t : nullptr;
    }

    void start(Tune& t, bool may_load) {
        if (t.recorded) {
            Mix_PlayMusic(t.music, kMusicLoops);
            return;
        }
        if (t.used) {
            Mix_Music* fresh = t.spare.valid() ? take(t.spare) : may_load ? load_now(t.path) : nullptr;
            if (!fresh) {
                if (!t.spare.valid()) t.spare = load_later(t.path);
                return;  // silent this time rather than from the middle
            }
            Mix_FreeMusic(t.music);
            t.music = fresh;
            t.used = false;
        }
        if (Mix_PlayMusic(t.music, kMusicLoops) != 0) return;
        t.used = true;
        if (!t.spare.valid()) t.spare = load_later(t.path);
    }

    void play(const std::string& name, bool may_load) {
        if (Mix_PlayingMusic()) Mix_HaltMusic();
        pending.clear();
        if (name.empty()) return;
        if (Tune* t = tune(name, may_load)) start(*t, may_load);
    }

    void free_tunes() {
        pending.clear();
        for (auto& [name, t] : tunes) {
            if (Mix_Music* m = take(t.first)) Mix_FreeMusic(m);
            if (Mix_Music* m = take(t.spare)) Mix_FreeMusic(m);
            if (t.music) Mix_FreeMusic(t.music);
        }
        tunes.clear();
        last_load = {};
    }
};

SdlAudio::SdlAudio(std::function<std::string(const std::string&)> resolve) : impl_(new Impl) {
    impl_->resolve = std::move(resolve);
}

SdlAudio::~SdlAudio() {
    shutdown();
    delete impl_;
}

void SdlAudio::create_device() {
    if (impl_->open) return;
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    std::string why;
    {
        QuietAlsa quiet;
        if (impl_->try_open()) return;
        why = SDL_GetError();
    }
    // No sound card (or no driver): carry on with a silent output. The
    // override beats an SDL_AUDIODRIVER that named the failing driver.
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
    if (impl_->try_open()) {
        impl_->silent = true;
        std::fprintf(stderr, "lexovo: nessuna uscita audio (%s): il gioco prosegue senza suono\n", why.c_str());
    } else {
        std::fprintf(stderr, "lexovo: nessuna uscita audio (%s), neppure muta: il gioco prosegue senza suono\n", SDL_GetError());
    }
}

bool SdlAudio::silent() const { return !impl_->open || impl_->silent; }

// The game's one rule (core/wav_info.h) decides which files are sounds, as
// it does for every front end. The mixer never reads the file: the frames
// the rule found are converted here to the output's own format, into a
// buffer of exactly the converted size that the channel plays as it is (SDL
// would keep its conversion's whole working buffer, several times larger).
// Without any output the file is still checked, so a broken one is reported
// the same way; there is then nothing to play it on.
void SdlAudio::load(int id, const std::string& path) {
    if (!Impl::valid(id)) throw err::invalid_call();
    release(id);
    const WavFile wav = read_wav_file(path);
    if (!impl_->open) return;
    int rate = 0, channels = 0;
    Uint16 format = 0;
    Mix_QuerySpec(&rate, &format, &channels);
    const WavInfo& w = wav.info;
    SDL_AudioStream* stream = SDL_NewAudioStream(w.bits == 8 ? AUDIO_U8 : AUDIO_S16LSB, Uint8(w.channels),
                                                 int(w.sample_rate), format, Uint8(channels), rate);
    Uint8* buf = nullptr;
    int len = 0;
    if (stream && SDL_AudioStreamPut(stream, wav.bytes.data() + w.data_offset, int(w.data_bytes)) == 0 &&
        SDL_AudioStreamFlush(stream) == 0) {
        len = SDL_AudioStreamAvailable(stream);
        buf = static_cast<Uint8*>(SDL_malloc(size_t(std::max(len, 1))));
        if (buf) len = SDL_AudioStreamGet(stream, buf, len);
    }
    if (stream) SDL_FreeAudioStream(stream);
    Mix_Chunk* c = buf && len > 0 ? Mix_QuickLoad_RAW(buf, Uint32(len)) : nullptr;
    if (!c) {
        SDL_free(buf);
        // The rule took the sound: what can still fail is the memory for it.
        throw err::out_of_memory();
    }
    impl_->chunk[id] = c;
    impl_->samples[id] = buf;
}

void SdlAudio::play(int id, bool looping) {
    if (!Impl::valid(id) || !impl_->chunk[id]) return;
    if (Mix_Playing(id)) {
        if (Mix_Paused(id)) {
            if (impl_->looping[id] == looping) {
                Mix_Resume(id);  // on from where stop left it
                return;
            }
            // Stopped in the other mode: SDL_mixer cannot change a channel's loop
            // count, so switching between once and looping starts the effect over.
            Mix_HaltChannel(id);
        } else {
            return;  // already sounding: not restarted
        }
    }
    impl_->looping[id] = looping;
    Mix_PlayChannel(id, impl_->chunk[id], looping ? -1 : 0);
}

void SdlAudio::stop(int id) {
    if (!Impl::valid(id) || !impl_->chunk[id]) return;
    if (Mix_Playing(id) && !Mix_Paused(id)) Mix_Pause(id);
}

void SdlAudio::rewind(int id) {
    if (!Impl::valid(id) || !impl_->chunk[id] || !Mix_Playing(id)) return;
    if (Mix_Paused(id)) {
        Mix_HaltChannel(id);  // the next play starts from the beginning
        return;
    }
    // Sounding: go on from the start, as a buffer moved to position 0 does.
    Mix_HaltChannel(id);
    Mix_PlayChannel(id, impl_->chunk[id], impl_->looping[id] ? -1 : 0);
}

int SdlAudio::status(int id) {
    if (!Impl::valid(id) || !impl_->chunk[id] || impl_->paused_or_idle(id)) return 0;
    return impl_->looping[id] ? 5 : 1;
}

void SdlAudio::release(int id) {
    if (!Impl::valid(id) || !impl_->chunk[id]) return;
    Mix_HaltChannel(id);
    Mix_FreeChunk(impl_->chunk[id]);  // a chunk made on our samples leaves them to us
    SDL_free(impl_->samples[id]);
    impl_->chunk[id] = nullptr;
    impl_->samples[id] = nullptr;
    impl_->looping[id] = false;
}

void SdlAudio::music_init() {
    if (!impl_->open || impl_->music_ready) return;
    impl_->music_ready = true;
    const char* env = std::getenv("SDL_SOUNDFONTS");
    if (env && *env) {
        Mix_SetSoundFonts(env);
    } else {
        for (const char* sf : kSoundFonts)
            if (file_exists(sf)) {
                Mix_SetSoundFonts(sf);
                break;
            }
    }
    // Both tunes now, in the background, so that the window does not wait
    // for them and the 'm' key and the jungle switch answer at once later.
    // (A MIDI load starts its own synthesiser and reads the soundfont; a
    // recording only opens its file.)
    const char* const names[] = {"intro3.mid", "symphony.mid"};
    int formats = 0;
    for (const char* name : names) formats |= impl_->entry(name).recorded ? MIX_INIT_MP3 : MIX_INIT_MID;
    Mix_Init(formats);
    for (const char* name : names) {
        Impl::Tune& t = impl_->entry(name);
        if (!t.music && !t.first.valid()) t.first = impl_->load_later(t.path);
    }
}

void SdlAudio::play_midi(const std::string& bare_name) {
    if (impl_->open) impl_->play(bare_name, true);
}

bool SdlAudio::play_midi_soon(const std::string& bare_name) {
    if (!impl_->open) return true;
    if (!bare_name.empty()) {
        Impl::Tune& t = impl_->entry(bare_name);
        if (!t.music && !t.first.valid()) t.first = impl_->load_later(t.path);  // never asked for before
        if (Impl::would_wait(t)) {
            if (Mix_PlayingMusic()) Mix_HaltMusic();
            impl_->pending = bare_name;
            return false;
        }
    }
    impl_->play(bare_name, false);
    return true;
}

bool SdlAudio::poll() {
    if (impl_->pending.empty()) return true;
    if (Impl::would_wait(impl_->entry(impl_->pending))) return false;
    std::string name = impl_->pending;
    impl_->play(name, false);
    return true;
}

void SdlAudio::shutdown() {
    if (impl_->open) {
        Mix_HaltMusic();
        impl_->free_tunes();
        for (int id = 0; id < kChannels; ++id) release(id);
        Mix_CloseAudio();
        if (impl_->music_ready) Mix_Quit();
        impl_->open = false;
        impl_->music_ready = false;
    }
    if (impl_->sdl_audio) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        impl_->sdl_audio = false;
    }
}
