// main() of sound_tests: starts a private audio server when a real-audio test
// is to run, and only then creates the QApplication. Every other test sees no
// audio device at all, so that "silent without a device" is what they check.
#include "pulse.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace vexel::test {

TestAudio& testAudio() {
    static TestAudio audio;
    return audio;
}

}  // namespace vexel::test

namespace {

// ctest runs each test alone with an exact filter; a plain run runs them all.
bool realAudioWanted() {
    if (GTEST_FLAG_GET(list_tests)) return false;
    const std::string filter = GTEST_FLAG_GET(filter);
    return filter == "*" || filter.find("RealAudio") != std::string::npos;
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    auto& audio = vexel::test::testAudio();
    std::string folder = (std::filesystem::temp_directory_path() / "vexel-sound-tests-XXXXXX").string();
    if (!mkdtemp(folder.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    audio.folder = folder;
    if (realAudioWanted()) {
        audio.server = vexel::test::PulseServer::start(audio.folder, audio.whyNot);
    } else {
        audio.whyNot = "no real-audio test selected";
    }
    vexel::test::configurePulseClients(audio.folder, audio.server ? audio.server->socket() : std::string());

    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    int result;
    {
        QApplication app(argc, argv);
        result = RUN_ALL_TESTS();
    }
    audio.server.reset();
    std::error_code ignored;
    std::filesystem::remove_all(audio.folder, ignored);
    return result;
}
