// VEXEL.CFG on disk: what a load makes of missing, short, long and foreign
// files, and that a save either replaces the file whole or leaves it alone.
#include "settings/settingsfile.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vexel;
namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::set<std::string> namesIn(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.insert(entry.path().filename().string());
    return names;
}

// Runs `body` in a child process, so that it may give up privileges or limits
// for good; returns its exit code, or -1 when it did not exit by itself.
int inChild(const std::function<int()>& body) {
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(body());
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

Settings unusualSettings() {
    Settings s;
    s.pegColours = {0x00000001, 0x00000002, 0x00000003, 0x00ABCDEF, 0x00FEDCBA, 0x00777777};
    s.soundOn = false;
    s.moveSoundOn = false;
    for (int seat = 0; seat < SEAT_COUNT; ++seat)
        s.playerSettings[seat] = makePlayerSlot(PlayerKind(seat % 3), std::uint8_t((seat + 1) % 3), std::uint8_t(5 - seat),
                                                std::string(std::size_t(seat * 4 + 1), char(0xE0 + seat)));
    s.alwaysTenPegs = true;
    s.humanSpeed = 5;
    s.computerSpeed = 0;
    s.language = Language::English;
    s.markDirection = false;
    return s;
}

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        static int serial = 0;
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::temp_directory_path() /
               ("vexel-" + std::string(info->name()) + "-" + std::to_string(::getpid()) + "-" + std::to_string(serial++));
        fs::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(dir_, ec);
    }
    fs::path cfg() const { return dir_ / "VEXEL.CFG"; }

    // A valid file with the defaults, as an earlier save left it.
    Bytes savedDefaults() {
        SettingsRecord record;
        const auto& b = record.encode(Settings{});
        return Bytes(b.begin(), b.end());
    }

    fs::path dir_;
};

TEST_F(SettingsFileTest, SavingTwiceWritesTheSameBytes) {
    SettingsFile file(cfg());
    ASSERT_TRUE(file.save(unusualSettings()));
    const Bytes first = readFile(cfg());
    ASSERT_TRUE(file.save(unusualSettings()));
    EXPECT_EQ(readFile(cfg()), first);
    EXPECT_EQ(first.size(), 200u);
    EXPECT_EQ(namesIn(dir_), std::set<std::string>{"VEXEL.CFG"});
}

TEST_F(SettingsFileTest, ASavedFileRestoresEverySetting) {
    ASSERT_TRUE(SettingsFile(cfg()).save(unusualSettings()));
    Settings loaded;
    SettingsFile(cfg()).load(loaded);
    EXPECT_EQ(loaded, unusualSettings());
}

TEST_F(SettingsFileTest, EqualColoursAreSavedAsTheDefaultPaletteButKeptInMemory) {
    Settings s = unusualSettings();
    s.pegColours[4] = s.pegColours[1];
    const Settings inMemory = s;
    ASSERT_TRUE(SettingsFile(cfg()).save(s));
    EXPECT_EQ(s, inMemory);
    Settings loaded;
    SettingsFile(cfg()).load(loaded);
    EXPECT_EQ(loaded.pegColours, DEFAULT_PEG_COLOURS);
    EXPECT_EQ(loaded.playerSettings, s.playerSettings);
}

TEST_F(SettingsFileTest, FilesThatCannotBeTakenGiveTheDefaultsInGerman) {
    const Bytes good = savedDefaults();
    Bytes wrongLastMagicByte = good;
    wrongLastMagicByte[13] = 0x02;
    Bytes foreign(200, 0);
    foreign[0] = 13;
    const Bytes zeros(200, 0);
    // The buffer holds a whole record as read, magic or not; short reads leave it zeroed.
    const std::vector<std::tuple<std::string, std::function<void()>, Bytes>> cases = {
        {"no file", [] {}, zeros},
        {"an empty file", [&] { writeFile(cfg(), {}); }, zeros},
        {"199 bytes", [&] { writeFile(cfg(), Bytes(good.begin(), good.end() - 1)); }, zeros},
        {"wrong last magic byte", [&] { writeFile(cfg(), wrongLastMagicByte); }, wrongLastMagicByte},
        {"another format", [&] { writeFile(cfg(), foreign); }, foreign},
        {"a folder of that name", [&] { fs::create_directory(cfg()); }, zeros},
    };
    for (const auto& [what, make, buffer] : cases) {
        std::error_code ec;
        fs::remove_all(cfg(), ec);
        make();
        Settings s = unusualSettings();
        SettingsFile file(cfg());
        file.load(s);
        EXPECT_EQ(s, Settings{}) << what;
        EXPECT_EQ(s.language, Language::German) << what;
        EXPECT_EQ(Bytes(file.record().bytes().begin(), file.record().bytes().end()), buffer) << what;
    }
}

TEST_F(SettingsFileTest, ALongerFileLoadsItsFirst200Bytes) {
    SettingsRecord record;
    const auto& b = record.encode(unusualSettings());
    Bytes longer(b.begin(), b.end());
    longer.resize(250, 0x55);
    writeFile(cfg(), longer);
    Settings s;
    SettingsFile file(cfg());
    file.load(s);
    EXPECT_EQ(s, unusualSettings());
    // The save replaces the whole file with exactly one record.
    ASSERT_TRUE(file.save(s));
    EXPECT_EQ(readFile(cfg()), Bytes(longer.begin(), longer.begin() + 200));
}

TEST_F(SettingsFileTest, UnassignedBytesAndNameTailsOfAForeignFileSurvive) {
    const std::size_t tails[] = {14, 15, 197, 198, 199, 42 + 4 + 9, 42 + 4 + 20, 42 + 125 + 4 + 20};
    // Written by another tool with our magic, or of another format altogether:
    // either way the record was read whole, so its unused bytes go back out.
    for (const bool ourMagic : {true, false}) {
        Bytes b = savedDefaults();
        for (std::size_t at : tails) b[at] = std::uint8_t(0xC0 | at % 32);
        if (!ourMagic) b[13] = 0x02;
        writeFile(cfg(), b);

        SettingsFile file(cfg());
        Settings s;
        file.load(s);
        // Even after a reset the bytes behind the names come from the file, not from memory.
        s.reset(true);
        s.language = Language::English;
        ASSERT_TRUE(file.save(s));
        const Bytes out = readFile(cfg());
        ASSERT_EQ(out.size(), 200u);
        // Byte 197 keeps its two high bits; its low six name the seats of the
        // strongest level, of which the reset left none.
        for (std::size_t at : tails)
            EXPECT_EQ(out[at], at == 197 ? b[at] & 0xC0 : b[at]) << "byte " << at << (ourMagic ? "" : ", another format");
        EXPECT_EQ(out[13], 0x03);
        EXPECT_EQ(out[195], 2);
    }
}

TEST_F(SettingsFileTest, ASaveKeepsTheFilesPermissionsAndLinks) {
    const fs::path real = dir_ / "real.cfg";
    writeFile(real, savedDefaults());
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink(real, cfg());

    ASSERT_TRUE(SettingsFile(cfg()).save(unusualSettings()));
    EXPECT_TRUE(fs::is_symlink(cfg()));
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    Settings loaded;
    SettingsFile(real).load(loaded);
    EXPECT_EQ(loaded, unusualSettings());
    EXPECT_EQ(namesIn(dir_), (std::set<std::string>{"VEXEL.CFG", "real.cfg"}));
}

TEST_F(SettingsFileTest, AFailedSaveLeavesNoFileWhereThereWasNone) {
    SettingsFile file(dir_ / "missing" / "VEXEL.CFG");
    EXPECT_FALSE(file.save(unusualSettings()));
    EXPECT_TRUE(namesIn(dir_).empty());
}

TEST_F(SettingsFileTest, ASaveThatCannotReplaceTheTargetLeavesNoTemporaryFile) {
    // The temporary file is written and flushed; only the rename fails.
    fs::create_directory(cfg());
    writeFile(cfg() / "inside", {1, 2, 3});
    EXPECT_FALSE(SettingsFile(cfg()).save(unusualSettings()));
    EXPECT_EQ(namesIn(dir_), std::set<std::string>{"VEXEL.CFG"});
    EXPECT_EQ(readFile(cfg() / "inside"), (Bytes{1, 2, 3}));
}

TEST_F(SettingsFileTest, AFullDiskLeavesThePreviousFileAsItWas) {
    const Bytes old = savedDefaults();
    writeFile(cfg(), old);
    SettingsFile file(cfg());
    // A file size limit below one record makes the write fail halfway, as a full disk would.
    const int result = inChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{100, 100};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return 77;
        return file.save(unusualSettings()) ? 1 : 0;
    });
    ASSERT_NE(result, 77) << "cannot limit the file size";
    EXPECT_EQ(result, 0);
    EXPECT_EQ(readFile(cfg()), old);
    EXPECT_EQ(namesIn(dir_), std::set<std::string>{"VEXEL.CFG"});
}

TEST_F(SettingsFileTest, AReadOnlyFolderLeavesThePreviousFileAsItWas) {
    const Bytes old = savedDefaults();
    writeFile(cfg(), old);
    fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read | fs::perms::group_exec |
                              fs::perms::others_read | fs::perms::others_exec);
    SettingsFile file(cfg());
    // Permission bits do not stop root: the child saves as nobody instead.
    constexpr int cannotDrop = 77, bitsIgnored = 78;
    const int result = inChild([&] {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) return cannotDrop;
        if (::access(dir_.c_str(), W_OK) == 0) return bitsIgnored;
        return file.save(unusualSettings()) ? 1 : 0;
    });
    if (result == cannotDrop) GTEST_SKIP() << "running as root without the right to become another user";
    if (result == bitsIgnored) GTEST_SKIP() << "this file system ignores permission bits";
    EXPECT_EQ(result, 0);
    EXPECT_EQ(readFile(cfg()), old);
    EXPECT_EQ(namesIn(dir_), std::set<std::string>{"VEXEL.CFG"});
}

// Read and written beside the program while its folder takes new files, else
// in the user's config folder; a file beside a read-only program is read as
// an administrator's defaults until the user has saved once. Root may write
// anywhere, so the program folder's writability is given, not tried.
TEST_F(SettingsFileTest, LivesWhereTheUserCanWriteIt) {
    enum Where { Program, User, Nowhere };
    struct Case {
        const char* what;
        bool programWritable;
        bool userFile;       // the user has saved before
        bool xdgSet;         // $XDG_CONFIG_HOME given, else $HOME/.config
        bool configBlocked;  // a plain file stands where the config folder would be made
        Where loadedFrom, savedTo;
    };
    const Case cases[] = {
        {"writable program folder", true, true, true, false, Program, Program},
        {"read-only, no user file yet", false, false, false, false, Program, User},
        {"read-only, with a user file", false, true, true, false, User, User},
        {"read-only, config folder cannot be made", false, false, true, true, Program, Nowhere},
    };
    for (const Case& c : cases) {
        const fs::path program = dir_ / c.what / "program", home = dir_ / c.what / "home", xdg = dir_ / c.what / "xdg";
        const fs::path user = (c.xdgSet ? xdg : home / ".config") / "vexel" / "VEXEL.CFG";
        fs::create_directories(program);
        fs::create_directories(home);
        Settings admin, mine;
        admin.humanSpeed = 1;
        mine.humanSpeed = 2;
        ASSERT_TRUE(SettingsFile(program / "VEXEL.CFG").save(admin));
        if (c.userFile) {
            fs::create_directories(user.parent_path());
            ASSERT_TRUE(SettingsFile(user).save(mine));
        }
        if (c.configBlocked) writeFile(xdg, {1});

        const FolderProbe probe = [&](const fs::path& folder) { return folder == program && c.programWritable; };
        SettingsFile file(locateSettings(program, userSettingsFolder(c.xdgSet ? xdg.c_str() : nullptr, home.c_str()), probe));
        Settings s;
        file.load(s);
        EXPECT_EQ(s.humanSpeed, c.loadedFrom == Program ? 1 : 2) << c.what;
        s.computerSpeed = 5;
        EXPECT_EQ(file.save(s), c.savedTo != Nowhere) << c.what;

        Settings atProgram, atUser;
        SettingsFile(program / "VEXEL.CFG").load(atProgram);
        SettingsFile(user).load(atUser);
        EXPECT_EQ(atProgram.computerSpeed == 5, c.savedTo == Program) << c.what;
        EXPECT_EQ(atUser.computerSpeed == 5, c.savedTo == User) << c.what;
        if (c.savedTo == User && !c.userFile) {
            EXPECT_EQ(fs::status(user.parent_path()).permissions() & fs::perms::all, fs::perms::owner_all) << c.what;
        }
    }
}

TEST(SettingsFilePath, LiesBesideTheProgram) {
    EXPECT_EQ(SettingsFile::besideProgram("/opt/vexel").path(), fs::path("/opt/vexel/VEXEL.CFG"));
}

}  // namespace
