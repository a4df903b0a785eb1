// Sound effects and music through SDL2_mixer: one channel per effect; the
// tunes from their recordings (MP3), or as MIDI through FluidSynth with a
// General MIDI soundfont where there is no recording.
#pragma once
#include <functional>
#include <string>

class SdlAudio {
public:
    // resolve turns a bare data file name into a path.
    explicit SdlAudio(std::function<std::string(const std::string&)> resolve);
    ~SdlAudio();

    // Opens the audio output; where none can be opened, falls back to a
    // silent output and says so in one line on standard error.
    void create_device();
    bool silent() const;

    // Effects, id 0 … 15. load throws RuntimeError 53 (missing) or 5 (not a
    // sound); the others never throw.
    void load(int id, const std::string& path);
    void play(int id, bool looping);  // a sounding buffer is not restarted; a stopped one resumes
    void stop(int id);                // keeps the position
    void rewind(int id);              // back to the start
    int status(int id);               // 0 silent, 1 playing once, 5 looping
    void release(int id);

    // Music: loads both tunes once, in the background; play_midi("") is
    // silence; a tune plays three times in all. A tune X.mid plays from its
    // recording X.mp3 where one lies beside it, else through FluidSynth.
    // Failures are silent. play_midi may wait for a load.
    void music_init();
    void play_midi(const std::string& bare_name);
    // The same without ever loading or waiting on the calling thread: a tune
    // whose load is still under way starts from poll() once it is ready.
    // False while one is waiting.
    bool play_midi_soon(const std::string& bare_name);
    bool poll();

    void shutdown();

private:
    struct Impl;
    Impl* impl_;
};
