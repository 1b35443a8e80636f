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
// sink is stopped only when the next sound starts or the sounds are freed.
// Freeing waits until the sink has played the sound's own samples out (what
// it has taken less what still waits in its buffer), not for the silence
// behind them.
#include "ui/sound.h"

#include "core/gameview.h"
#include "ui/tickcount.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QBuffer>
#include <QDeadlineTimer>
#include <QMediaDevices>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
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
// The most freeSounds waits, beyond the counted end of the last sound, for it
// to be played out: the output's latency. An output whose reported progress
// lags (a server that has just woken its sink) is not waited for longer.
constexpr std::uint32_t TAIL_LATENCY_MS = 200;
// A sound the audio thread cannot start within this time of its request (the
// server is slow to answer, or does not answer at all) is skipped: it would
// be heard out of place.
constexpr std::uint32_t START_DEADLINE_MS = 300;
// The most the window waits for the audio thread to stop a sound or to end
// while that thread is opening an output: a thread held inside an audio
// server that does not answer is left behind.
constexpr auto STOP_WAIT = std::chrono::milliseconds(300);
// The same wait while it opens nothing. Taking a stream down answers within
// milliseconds; only a machine under heavy load takes longer, and the thread
// is waited for then rather than left running.
constexpr auto SETTLE_WAIT = std::chrono::milliseconds(3000);
// Played out means this much beyond the sound's last sample, so that the
// output's own estimate of its progress cannot cut the sound's end.
constexpr int PLAYED_MARGIN_MS = 30;
// How often the audio thread looks at the sink's progress while a sound plays.
constexpr int PROGRESS_POLL_MS = 5;
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
// except for the played-out flag, which the GUI thread waits on.
class SoundWorker : public QObject {
public:
    explicit SoundWorker(std::shared_ptr<std::atomic<bool>> opening) : opening_(std::move(opening)) {
        progress_->setInterval(PROGRESS_POLL_MS);
        connect(progress_, &QTimer::timeout, this, [this] {
            if (sink_ && playedBytes() >= playedOutBytes_) setPlayedOut(true);
        });
    }
    ~SoundWorker() override { stop(); }

    // `samplesBytes`: the sound itself, without the silence behind it;
    // `requested`: the tick count when the window asked for it. The device is
    // looked for here, never in the window's thread: a server that does not
    // answer holds this thread, not the window.
    void play(const QByteArray& pcm, qint64 samplesBytes, const QAudioFormat& format, std::uint32_t requested) {
        stop();
        *opening_ = true;
        const struct Opened {
            std::atomic<bool>& flag;
            ~Opened() { flag = false; }
        } opened{*opening_};
        if (!tickReached(requested + START_DEADLINE_MS, tickCount())) return;  // too late to be heard in place
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (device.isNull() || !device.isFormatSupported(format) ||
            !tickReached(requested + START_DEADLINE_MS, tickCount()))
            return;
        setPlayedOut(false);
        buffer_->setData(pcm);
        buffer_->open(QIODevice::ReadOnly);
        sink_ = std::make_unique<QAudioSink>(device, format);
        sink_->setBufferSize(bytesFor(format, SINK_BUFFER_MS));
        connect(sink_.get(), &QAudioSink::stateChanged, this, [this](QAudio::State state) {
            if (state != QAudio::ActiveState) setPlayedOut(true);
        });
        playedOutBytes_ = samplesBytes + bytesFor(format, PLAYED_MARGIN_MS);
        sink_->start(buffer_);
        if (sink_->state() == QAudio::StoppedState) setPlayedOut(true);  // the device refused the stream
        else progress_->start();
    }

    void stop() {
        progress_->stop();
        if (sink_) {
            sink_->disconnect(this);
            sink_->stop();
            sink_.reset();
        }
        buffer_->close();
        buffer_->setData(QByteArray());
        setPlayedOut(true);
    }

    // GUI thread: a sound is on its way to play().
    void setBusy() { setPlayedOut(false); }

    // GUI thread: waits until the sound has played out, or until the tick count reaches `until`.
    void waitPlayedOut(std::uint32_t until) {
        std::unique_lock lock(mutex_);
        const auto left = std::int32_t(until - tickCount());
        if (left > 0) changed_.wait_for(lock, std::chrono::milliseconds(left), [this] { return playedOut_; });
    }

    // GUI thread: whether the audio thread has come to a request posted before.
    struct Ticket {
        std::mutex mutex;
        std::condition_variable done;
        bool reached = false;
    };

private:
    void setPlayedOut(bool playedOut) {
        if (playedOut) progress_->stop();
        {
            std::lock_guard lock(mutex_);
            playedOut_ = playedOut;
        }
        changed_.notify_all();
    }

    // What the output has played of the sound: what it took, less what still waits in its buffer.
    qint64 playedBytes() const { return buffer_->pos() - std::max<qint64>(0, sink_->bufferSize() - sink_->bytesFree()); }

    std::unique_ptr<QAudioSink> sink_;
    // Children, so that they move to the audio thread too.
    QBuffer* buffer_ = new QBuffer(this);
    QTimer* progress_ = new QTimer(this);
    qint64 playedOutBytes_ = 0;
    std::shared_ptr<std::atomic<bool>> opening_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool playedOut_ = true;
};

namespace {
std::atomic<bool> threadLeftBehind{false};
}  // namespace

bool SoundPlayer::audioThreadLeftBehind() { return threadLeftBehind.load(); }

SoundPlayer::SoundPlayer() = default;

SoundPlayer::SoundPlayer(SoundBank bank) { loadSounds(bank); }

void SoundPlayer::loadSounds(const SoundBank& bank) {
    sounds_ = {};
    for (int n = 1; n <= SOUND_COUNT; ++n) {
        const auto wave = parseWave(bank.images[std::size_t(n - 1)]);
        if (!wave) continue;
        Prepared& sound = sounds_[std::size_t(n - 1)];
        sound.format.setSampleRate(int(wave->format.sampleRate));
        sound.format.setChannelCount(wave->format.channels);
        sound.format.setSampleFormat(sampleFormatOf(wave->format));
        const char silence = wave->format.bitsPerSample == 8 ? char(0x80) : char(0);
        sound.samplesBytes = qint64(wave->samples.size());
        sound.pcm.reserve(qsizetype(wave->samples.size()) + bytesFor(sound.format, TAIL_SILENCE_MS));
        sound.pcm.append(reinterpret_cast<const char*>(wave->samples.data()), qsizetype(wave->samples.size()));
        sound.pcm.append(bytesFor(sound.format, TAIL_SILENCE_MS), silence);
    }
}

SoundPlayer::~SoundPlayer() {
    stopPlaying(false);
    if (!thread_) return;
    // The thread ends itself once the worker is gone: a quit from here could
    // end its loop before the deletion is reached.
    QMetaObject::invokeMethod(
        worker_,
        [worker = worker_] {
            delete worker;
            QThread::currentThread()->quit();
        },
        Qt::QueuedConnection);
    // A thread held by an audio server that does not answer is left to end
    // with the process; waiting for it would hold the closing window.
    if (threadHeld_ || !waitForAudioThread([this] { return thread_->wait(QDeadlineTimer(10)); })) {
        (void)thread_.release();
        threadLeftBehind = true;
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

    if (!thread_) {
        thread_ = std::make_unique<QThread>();
        worker_ = new SoundWorker(opening_);
        worker_->moveToThread(thread_.get());
        thread_->start();
    }
    // The new sound cuts the old one even when it cannot be heard itself.
    worker_->setBusy();
    *opening_ = true;
    QMetaObject::invokeMethod(
        worker_, [worker = worker_, pcm = prepared.pcm, samples = prepared.samplesBytes, format = prepared.format,
                  requested = tickCount()] { worker->play(pcm, samples, format, requested); },
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
    if (letTailOut) worker_->waitPlayedOut(soundEndTime_ + TAIL_LATENCY_MS);
    auto ticket = std::make_shared<SoundWorker::Ticket>();
    QMetaObject::invokeMethod(
        worker_,
        [worker = worker_, ticket] {
            worker->stop();
            std::lock_guard lock(ticket->mutex);
            ticket->reached = true;
            ticket->done.notify_all();
        },
        Qt::QueuedConnection);
    // Once held up, the thread is not waited for again.
    if (!threadHeld_) threadHeld_ = !waitForAudioThread([&ticket] {
        std::unique_lock lock(ticket->mutex);
        return ticket->done.wait_for(lock, std::chrono::milliseconds(10), [&] { return ticket->reached; });
    });
}

bool SoundPlayer::waitForAudioThread(const std::function<bool()>& reached) const {
    const auto start = std::chrono::steady_clock::now();
    while (!reached()) {
        const auto waited = std::chrono::steady_clock::now() - start;
        if (waited >= (*opening_ ? STOP_WAIT : SETTLE_WAIT)) return false;
    }
    return true;
}

}  // namespace vexel
