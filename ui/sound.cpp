// Sound playing on Qt Multimedia.
//
// Each sound is played by a fresh QAudioSink reading a QBuffer over the
// sound's samples. The sink is fed by timers of the thread it lives in, so it
// lives in a thread of its own: the window's pauses sleep on the GUI thread
// and would otherwise let the device run dry in the middle of a sound.
//
// The sink reports IdleState as soon as it has handed its last bytes to the
// audio server, which is still a buffer's length before they are heard. The
// samples are therefore followed by silence longer than that buffer, and a
// sink is stopped only when the next sound starts or the sounds are freed:
// once it is idle, every real sample has been heard.
#include "ui/sound.h"

#include "core/gameview.h"
#include "ui/tickcount.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace vexel {

namespace {

// The sink's buffer. A sound's samples are all there when it starts, so the
// buffer fills at once and does not delay the start; it only has to outlast
// the moments when a busy machine does not run the audio thread.
constexpr int SINK_BUFFER_MS = 250;
// Silence after each sound; longer than the sink's buffer.
constexpr int TAIL_SILENCE_MS = 400;
// How long freeSounds lets a sound that has reached its counted end finish.
constexpr auto TAIL_WAIT = std::chrono::milliseconds(TAIL_SILENCE_MS + 400);
constexpr std::uint32_t LONGEST_SOUND = *std::max_element(SOUND_LENGTH.begin(), SOUND_LENGTH.end());

QAudioFormat::SampleFormat sampleFormatOf(const WaveFormat& wave) {
    switch (wave.bitsPerSample) {
    case 8: return QAudioFormat::UInt8;
    case 16: return QAudioFormat::Int16;
    default: return QAudioFormat::Int32;
    }
}

qsizetype bytesFor(const QAudioFormat& format, int milliseconds) {
    return qsizetype(format.sampleRate()) * milliseconds / 1000 * format.bytesPerFrame();
}

}  // namespace

// Owns the sink of the sound that is playing; used only in the audio thread,
// except for the idle flag, which the GUI thread waits on.
class SoundWorker : public QObject {
public:
    ~SoundWorker() override { stop(); }

    void play(const QByteArray& pcm, const QAudioDevice& device, const QAudioFormat& format) {
        stop();
        setIdle(false);
        buffer_->setData(pcm);
        buffer_->open(QIODevice::ReadOnly);
        sink_ = std::make_unique<QAudioSink>(device, format);
        sink_->setBufferSize(bytesFor(format, SINK_BUFFER_MS));
        connect(sink_.get(), &QAudioSink::stateChanged, this, [this](QAudio::State state) {
            if (state != QAudio::ActiveState) setIdle(true);
        });
        sink_->start(buffer_);
        if (sink_->state() == QAudio::StoppedState) setIdle(true);  // the device refused the stream
    }

    void stop() {
        if (sink_) {
            sink_->disconnect(this);
            sink_->stop();
            sink_.reset();
        }
        buffer_->close();
        buffer_->setData(QByteArray());
        setIdle(true);
    }

    // GUI thread: a sound is on its way to play().
    void setBusy() { setIdle(false); }

    void waitIdle(std::chrono::milliseconds limit) {
        std::unique_lock lock(mutex_);
        idleChanged_.wait_for(lock, limit, [this] { return idle_; });
    }

private:
    void setIdle(bool idle) {
        {
            std::lock_guard lock(mutex_);
            idle_ = idle;
        }
        idleChanged_.notify_all();
    }

    std::unique_ptr<QAudioSink> sink_;
    QBuffer* buffer_ = new QBuffer(this);  // a child, so that it moves to the audio thread too
    std::mutex mutex_;
    std::condition_variable idleChanged_;
    bool idle_ = true;
};

SoundPlayer::SoundPlayer(SoundBank bank) {
    for (int n = 1; n <= SOUND_COUNT; ++n) {
        const auto wave = parseWave(bank.images[std::size_t(n - 1)]);
        if (!wave) continue;
        Prepared& sound = sounds_[std::size_t(n - 1)];
        sound.format.setSampleRate(int(wave->format.sampleRate));
        sound.format.setChannelCount(wave->format.channels);
        sound.format.setSampleFormat(sampleFormatOf(wave->format));
        const char silence = wave->format.bitsPerSample == 8 ? char(0x80) : char(0);
        sound.pcm.reserve(qsizetype(wave->samples.size()) + bytesFor(sound.format, TAIL_SILENCE_MS));
        sound.pcm.append(reinterpret_cast<const char*>(wave->samples.data()), qsizetype(wave->samples.size()));
        sound.pcm.append(bytesFor(sound.format, TAIL_SILENCE_MS), silence);
    }
}

SoundPlayer::~SoundPlayer() {
    stopPlaying(false);
    if (thread_) {
        QMetaObject::invokeMethod(worker_, [worker = worker_] { delete worker; }, Qt::BlockingQueuedConnection);
        thread_->quit();
        thread_->wait();
    }
}

bool SoundPlayer::has(int sound) const {
    return sound >= 1 && sound <= SOUND_COUNT && !sounds_[std::size_t(sound - 1)].pcm.isEmpty();
}

void SoundPlayer::playSound(int sound) {
    if (!has(sound)) return;
    const Prepared& prepared = sounds_[std::size_t(sound - 1)];
    soundEndTime_ = tickCount() + SOUND_LENGTH[std::size_t(sound - 1)];
    anySoundStarted_ = true;

    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull() || !device.isFormatSupported(prepared.format)) {
        stopPlaying(false);  // the new sound cuts the old even when it cannot be heard itself
        return;
    }
    if (!thread_) {
        thread_ = std::make_unique<QThread>();
        worker_ = new SoundWorker;
        worker_->moveToThread(thread_.get());
        thread_->start();
    }
    worker_->setBusy();
    QMetaObject::invokeMethod(
        worker_, [worker = worker_, pcm = prepared.pcm, device, format = prepared.format] {
            worker->play(pcm, device, format);
        },
        Qt::QueuedConnection);
}

void SoundPlayer::waitSoundEnd() {
    if (!anySoundStarted_) return;
    for (;;) {
        const auto remaining = std::int32_t(soundEndTime_ - tickCount());
        // A remaining time longer than any sound can only come from a tick
        // count that has wrapped since: nothing is playing any more.
        if (remaining <= 0 || std::uint32_t(remaining) > LONGEST_SOUND) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(remaining));
    }
}

void SoundPlayer::freeSounds() {
    stopPlaying(anySoundStarted_ && tickReached(tickCount(), soundEndTime_));
    sounds_ = {};
}

void SoundPlayer::stopPlaying(bool letTailOut) {
    if (!thread_) return;
    if (letTailOut) worker_->waitIdle(TAIL_WAIT);
    QMetaObject::invokeMethod(worker_, [worker = worker_] { worker->stop(); }, Qt::BlockingQueuedConnection);
}

}  // namespace vexel
