// Plays the five game sounds from memory on the default audio output.
//
// Playing never blocks the caller and never reports anything: without an
// audio device, or with a wave format the device does not take, the game is
// simply silent. A new sound cuts the one that is playing.
//
// The audio is fed from a thread of its own, so that the window's blocking
// pauses (between hops, at closing) do not starve the device of samples.
// That thread alone talks to the audio server, the device query included: a
// server that answers slowly or never holds it, never the window, and a
// sound that cannot start in time is skipped.
#pragma once

#include "ui/soundfile.h"

#include <QAudioFormat>
#include <QByteArray>

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

class QThread;

namespace vexel {

class SoundWorker;

class SoundPlayer {
public:
    // No sounds until loadSounds.
    SoundPlayer();
    explicit SoundPlayer(SoundBank bank);
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    // Takes the images of the bank that can be played; the others stay absent.
    void loadSounds(const SoundBank& bank);
    // Sound 1..5; asynchronous. An absent sound does nothing, and the counted
    // end of the last sound stays as it was.
    void playSound(int sound);
    // Sleeps until the counted length (SOUND_LENGTH) of the last started sound has passed.
    void waitSoundEnd();
    // Releases the sounds. A sound whose counted length has passed may still
    // be on its way through the output: it is played out rather than cut,
    // which takes the output's latency (at most 200 ms beyond the counted
    // end), not the silence stored behind it.
    void freeSounds();

    bool has(int sound) const;
    // True once a player had to leave its audio thread inside a server that
    // does not answer. Qt Multimedia's own clean-up at the process's end would
    // then wait for that thread (up to the server's 30 s timeout), so the
    // program ends without it.
    static bool audioThreadLeftBehind();
    // Tick count at which the last started sound is counted as finished.
    std::uint32_t soundEndTime() const { return soundEndTime_; }

private:
    struct Prepared {
        QByteArray pcm;  // the samples followed by a stretch of silence
        qint64 samplesBytes = 0;  // the samples alone
        QAudioFormat format;
    };

    void stopPlaying(bool letTailOut);
    // Waits until `reached` holds, at most as long as the audio thread may
    // take; false when it is held inside the audio server.
    bool waitForAudioThread(const std::function<bool()>& reached) const;

    std::array<Prepared, SOUND_COUNT> sounds_;  // empty pcm = absent
    std::uint32_t soundEndTime_ = 0;
    bool anySoundStarted_ = false;
    bool threadHeld_ = false;  // the audio thread did not come to a stop in time
    std::unique_ptr<QThread> thread_;
    SoundWorker* worker_ = nullptr;  // lives in thread_ and is deleted there
    // Set from a sound's request until the audio thread has opened its output
    // (or given up): the only time an audio server can hold that thread. Shared
    // with the thread, which may outlive this player when it is held.
    std::shared_ptr<std::atomic<bool>> opening_ = std::make_shared<std::atomic<bool>>(false);
};

}  // namespace vexel
