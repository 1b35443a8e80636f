// A private PulseAudio server with a null sink, and a recorder of what that
// sink plays, for the tests that check the sounds are really heard.
// Everything lives in a temporary folder; nothing touches the user's audio.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

namespace vexel::test {

inline constexpr std::uint32_t RECORD_RATE = 44100;

// Points this process's PulseAudio clients at `socket` (or at nothing, when
// empty) and keeps them from starting a server of their own.
void configurePulseClients(const std::filesystem::path& folder, const std::string& socket);

class PulseServer {
public:
    // Starts the server and waits until it takes connections; on failure
    // returns null and says why in `whyNot`.
    static std::unique_ptr<PulseServer> start(const std::filesystem::path& folder, std::string& whyNot);
    ~PulseServer();
    const std::string& socket() const { return socket_; }

private:
    PulseServer(pid_t pid, std::string socket) : pid_(pid), socket_(std::move(socket)) {}
    pid_t pid_;
    std::string socket_;
};

// Records the null sink's monitor as 16-bit mono at RECORD_RATE.
class MonitorRecorder {
public:
    explicit MonitorRecorder(const std::filesystem::path& file);
    ~MonitorRecorder();
    bool running() const { return pid_ > 0; }
    // Ends the recording and returns its samples.
    std::vector<std::int16_t> stop();

private:
    std::filesystem::path file_;
    pid_t pid_ = -1;
};

}  // namespace vexel::test

namespace vexel::test {

// Prepared by main() before the QApplication exists, since Qt looks for audio
// devices only once.
struct TestAudio {
    std::filesystem::path folder;          // scratch space of this test process
    std::unique_ptr<PulseServer> server;   // null: no real audio in this run
    std::string whyNot;                    // why there is no server
};
TestAudio& testAudio();

}  // namespace vexel::test
