#include "pulse.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace vexel::test {

namespace {

using namespace std::chrono_literals;

// Runs `args` with stdout and stderr sent to the given files; returns the pid or -1.
pid_t spawn(const std::vector<std::string>& args, const std::vector<std::pair<std::string, std::string>>& env,
            const std::filesystem::path& out, const std::filesystem::path& err) {
    const pid_t pid = fork();
    if (pid != 0) return pid;
    for (const auto& [name, value] : env) setenv(name.c_str(), value.c_str(), 1);
    const int outFd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int errFd = open(err.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    if (outFd < 0 || errFd < 0) _exit(126);
    dup2(outFd, 1);
    dup2(errFd, 2);
    const int nullFd = open("/dev/null", O_RDONLY);
    if (nullFd >= 0) dup2(nullFd, 0);
    std::vector<char*> argv;
    for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
}

void endProcess(pid_t pid, int signal) {
    kill(pid, signal);
    for (int i = 0; i < 300; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) return;
        std::this_thread::sleep_for(10ms);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

bool acceptsConnections(const std::string& socketPath) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0) return false;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    socketPath.copy(address.sun_path, sizeof address.sun_path - 1);
    const bool ok = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return ok;
}

std::string tail(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return text.size() > 600 ? text.substr(text.size() - 600) : text;
}

}  // namespace

void configurePulseClients(const std::filesystem::path& folder, const std::string& socket) {
    const auto clientConfig = folder / "client.conf";
    std::ofstream(clientConfig) << "autospawn = no\n";
    setenv("PULSE_CLIENTCONFIG", clientConfig.c_str(), 1);
    setenv("PULSE_SERVER", socket.empty() ? ("unix:" + (folder / "no-server").string()).c_str()
                                          : ("unix:" + socket).c_str(), 1);
    setenv("PULSE_COOKIE", (folder / "cookie").c_str(), 1);
}

std::unique_ptr<PulseServer> PulseServer::start(const std::filesystem::path& folder, std::string& whyNot) {
    std::filesystem::create_directories(folder / "runtime");
    std::filesystem::create_directories(folder / "state");
    const std::string socket = (folder / "pulse.sock").string();
    const auto log = folder / "pulseaudio.log";
    // --system=no keeps a root user in a per-user server; -n loads no default
    // modules, so the null sink is the only device. Without norewinds the
    // sink's first sound starts about two seconds late.
    const std::vector<std::string> args = {
        "pulseaudio", "-n", "--daemonize=no", "--system=no", "--use-pid-file=no", "--exit-idle-time=-1",
        "--disable-shm", "--realtime=no", "--high-priority=no", "--log-target=stderr",
        "-L", "module-null-sink sink_name=vexel norewinds=1",
        "-L", "module-native-protocol-unix socket=" + socket + " auth-anonymous=1"};
    const std::vector<std::pair<std::string, std::string>> env = {
        {"HOME", folder.string()},
        {"XDG_RUNTIME_DIR", folder.string()},
        {"PULSE_RUNTIME_PATH", (folder / "runtime").string()},
        {"PULSE_STATE_PATH", (folder / "state").string()},
        {"PULSE_COOKIE", (folder / "cookie").string()}};
    const pid_t pid = spawn(args, env, folder / "pulseaudio.out", log);
    if (pid < 0) {
        whyNot = "cannot fork for pulseaudio";
        return nullptr;
    }
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            whyNot = WIFEXITED(status) && WEXITSTATUS(status) == 127
                         ? std::string("pulseaudio is not installed")
                         : "pulseaudio stopped at once: " + tail(log);
            return nullptr;
        }
        if (acceptsConnections(socket)) return std::unique_ptr<PulseServer>(new PulseServer(pid, socket));
        std::this_thread::sleep_for(20ms);
    }
    endProcess(pid, SIGTERM);
    whyNot = "pulseaudio did not take connections within 10 s: " + tail(log);
    return nullptr;
}

PulseServer::~PulseServer() { endProcess(pid_, SIGTERM); }

MonitorRecorder::MonitorRecorder(const std::filesystem::path& file) : file_(file) {
    // A short latency makes parec write what it hears at once.
    pid_ = spawn({"parec", "--device=vexel.monitor", "--raw", "--format=s16le", "--channels=1",
                  "--rate=" + std::to_string(RECORD_RATE), "--latency-msec=10"},
                 {}, file, file.string() + ".log");
}

MonitorRecorder::~MonitorRecorder() {
    if (pid_ > 0) endProcess(pid_, SIGTERM);
}

std::vector<std::int16_t> MonitorRecorder::stop() {
    if (pid_ > 0) endProcess(pid_, SIGINT);
    pid_ = -1;
    std::ifstream in(file_, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::vector<std::int16_t> samples(bytes.size() / 2);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = std::int16_t(std::uint8_t(bytes[2 * i]) | std::uint8_t(bytes[2 * i + 1]) << 8);
    return samples;
}

}  // namespace vexel::test
