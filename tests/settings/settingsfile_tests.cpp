// VEXEL.CFG on disk: what a load makes of missing, short, long and foreign
// files, and that a save either replaces the file whole or leaves it alone.
#include "settings/safefile.h"
#include "settings/settingsfile.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <iostream>
#include <functional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include <fcntl.h>
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
        // Bytes 197 to 199 keep their unassigned bits; the assigned ones (the
        // strongest seats, marks and rules, network seats) the reset cleared.
        const auto kept = [](std::size_t at) -> std::uint8_t { return at == 198 ? 0xF8 : at == 197 || at == 199 ? 0xC0 : 0xFF; };
        for (std::size_t at : tails)
            EXPECT_EQ(out[at], b[at] & kept(at)) << "byte " << at << (ourMagic ? "" : ", another format");
        EXPECT_EQ(out[13], 0x03);
        EXPECT_EQ(out[195], 2);
    }
}

// What lies at the name decides: only a regular file is read, without ever
// waiting on a FIFO or opening a device; a save puts a new file of the running
// user's in place of the user's own file or link (the link's target stays as
// it was) and refuses anything else. A replaced file stays or becomes
// readable and writable by its owner.
TEST_F(SettingsFileTest, WhatLiesAtTheNameDecidesTheLoadAndTheSave) {
    const bool root = ::geteuid() == 0;
    const fs::path other = dir_ / "other.cfg";
    const auto otherUsers = [&](const fs::path& p) { return ::lchown(p.c_str(), 65534, 65534) == 0; };
    struct Case {
        const char* what;
        std::function<bool()> make;  // false: cannot be made here (needs root)
        bool loadsSaved;             // the load gets the saved settings, not the defaults
        bool saves;
        fs::perms modeAfter;         // of the file at the name after a successful save
    };
    const mode_t mask = ::umask(022);
    ::umask(mask);
    const auto fresh = fs::perms(0644 & ~mask);
    const auto rw = fs::perms::owner_read | fs::perms::owner_write;
    const auto save = [&](const fs::path& p) { return SettingsFile(p).save(unusualSettings()); };
    const Case cases[] = {
        {"no file", [] { return true; }, false, true, fresh},
        {"own file of mode 000", [&] { return save(cfg()) && (fs::permissions(cfg(), fs::perms::none), true); },
         root, true, rw},
        {"own file of mode 0640",
         [&] { return save(cfg()) && (fs::permissions(cfg(), rw | fs::perms::group_read), true); }, true, true,
         rw | fs::perms::group_read},
        {"a FIFO", [&] { return ::mkfifo(cfg().c_str(), 0644) == 0; }, false, false, {}},
        {"a link to a file", [&] { return save(other) && (fs::create_symlink(other, cfg()), true); }, true, true, fresh},
        {"a link to a FIFO", [&] { return ::mkfifo(other.c_str(), 0644) == 0 && (fs::create_symlink(other, cfg()), true); },
         false, true, fresh},
        {"a link to a device", [&] { return (fs::create_symlink("/dev/zero", cfg()), true); }, false, true, fresh},
        {"a dangling link", [&] { return (fs::create_symlink(other, cfg()), true); }, false, true, fresh},
        {"another user's file", [&] { return root && save(cfg()) && otherUsers(cfg()); }, true, false, {}},
        {"another user's link to a file",
         [&] { return root && save(other) && (fs::create_symlink(other, cfg()), true) && otherUsers(cfg()); }, true, false,
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const auto& entry : fs::directory_iterator(dir_)) fs::remove_all(entry.path());
        if (!c.make()) {
            std::cout << "  skipped (needs root): " << c.what << "\n";
            continue;
        }
        std::error_code ec;
        const auto before = fs::symlink_status(cfg(), ec);
        const auto readOther = [&] { return fs::is_regular_file(other, ec) ? readFile(other) : Bytes{}; };
        const Bytes otherBefore = readOther();
        const fs::file_type otherType = fs::symlink_status(other, ec).type();

        Settings loaded = unusualSettings();
        loaded.humanSpeed = 1;
        SettingsFile file(cfg());
        file.load(loaded);
        EXPECT_EQ(loaded, c.loadsSaved ? unusualSettings() : Settings{});

        Settings mine;
        mine.computerSpeed = 5;
        EXPECT_EQ(file.save(mine), c.saves);
        EXPECT_EQ(readOther(), otherBefore) << "written through the link";
        EXPECT_EQ(fs::symlink_status(other, ec).type(), otherType);
        if (c.saves) {
            struct stat st {};
            ASSERT_EQ(::lstat(cfg().c_str(), &st), 0);
            EXPECT_TRUE(S_ISREG(st.st_mode));
            EXPECT_EQ(st.st_uid, ::geteuid());
            EXPECT_EQ(fs::perms(st.st_mode & 07777), c.modeAfter);
            Settings back;
            SettingsFile(cfg()).load(back);
            EXPECT_EQ(back.computerSpeed, 5);
        } else {
            EXPECT_EQ(fs::symlink_status(cfg(), ec).type(), before.type()) << "the name was replaced";
        }
        std::set<std::string> left = namesIn(dir_);
        left.erase("other.cfg");
        EXPECT_EQ(left, std::set<std::string>{"VEXEL.CFG"}) << "a temporary file was left";
    }
}

// A save killed between making its temporary file and the rename leaves
// "VEXEL.CFG.tmp.<pid>.<n>" behind; the next start or save removes those of
// dead processes and old ones, and nothing a running save may be writing.
TEST_F(SettingsFileTest, LeftoversOfKilledSavesGoAtTheNextStartOrSave) {
    const pid_t dead = ::fork();
    if (dead == 0) ::_exit(0);
    ASSERT_GT(dead, 0);
    ::waitpid(dead, nullptr, 0);
    const pid_t alive = ::getppid();
    const bool root = ::geteuid() == 0;
    struct Leftover {
        std::string name;
        bool old;
        bool othersFile;
        bool removed;
    };
    const auto tmp = [](pid_t pid, const char* serial) {
        return "VEXEL.CFG.tmp." + std::to_string(pid) + "." + serial;
    };
    const std::vector<Leftover> leftovers = {
        {tmp(dead, "0"), false, false, true},
        {tmp(dead, "17"), true, false, true},
        {tmp(alive, "3"), false, false, false},  // may be a save under way
        {tmp(alive, "4"), true, false, true},
        {tmp(::getpid(), "9"), false, false, false},
        {tmp(dead, "5"), false, true, false},
        {"VEXEL.CFG.tmp." + std::to_string(dead), false, false, false},
        {"VEXEL.CFG.tmp." + std::to_string(dead) + ".x", false, false, false},
        {"VEXEL.CFG.tmp.0.1", true, false, false},
        {"VEXEL.CFG.tmp.-1.1", true, false, false},
        {"OTHER.CFG.tmp." + std::to_string(dead) + ".1", false, false, false},
    };
    for (const bool bySave : {false, true}) {
        SCOPED_TRACE(bySave ? "a save" : "a start");
        for (const auto& entry : fs::directory_iterator(dir_)) fs::remove_all(entry.path());
        SettingsFile file(cfg());
        Settings s;
        if (bySave) file.load(s);  // the leftovers come after the start
        std::set<std::string> expected;
        for (const Leftover& l : leftovers) {
            if (l.othersFile && !root) continue;
            writeFile(dir_ / l.name, {1, 2});
            if (l.old) {
                const timespec times[2] = {{0, UTIME_OMIT}, {::time(nullptr) - STALE_TEMPORARY_AGE_SECONDS - 60, 0}};
                ASSERT_EQ(::utimensat(AT_FDCWD, (dir_ / l.name).c_str(), times, 0), 0);
            }
            if (l.othersFile) {
                ASSERT_EQ(::chown((dir_ / l.name).c_str(), 65534, 65534), 0);
            }
            if (!l.removed) expected.insert(l.name);
        }
        if (bySave) {
            ASSERT_TRUE(file.save(s));
            expected.insert("VEXEL.CFG");
        } else {
            file.load(s);
        }
        EXPECT_EQ(namesIn(dir_), expected);
    }
}

TEST_F(SettingsFileTest, AFailedSaveLeavesNoFileWhereThereWasNone) {
    SettingsFile file(dir_ / "missing" / "VEXEL.CFG");
    EXPECT_FALSE(file.save(unusualSettings()));
    EXPECT_TRUE(namesIn(dir_).empty());
}

TEST_F(SettingsFileTest, ASaveThatCannotReplaceTheTargetLeavesNoTemporaryFile) {
    // A folder is nothing to replace: refused before anything is written.
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
// anywhere, so the program folder's writability is given, not tried. A
// settings file that is a link is read through, and a save replaces the link
// itself, never the file it points to: whoever can put a link into one of
// these folders cannot make a player's save overwrite another file. Another
// user's link is left alone and the save fails.
TEST_F(SettingsFileTest, LivesWhereTheUserCanWriteIt) {
    enum Where { Program, User, Nowhere };
    enum Link { NoLink, OwnLink, OthersLink };
    struct Case {
        const char* what;
        bool programWritable;
        bool userFile;       // the user has saved before
        bool xdgSet;         // $XDG_CONFIG_HOME given, else $HOME/.config
        bool configBlocked;  // a plain file stands where the config folder would be made
        Where loadedFrom, savedTo;
        Link link = NoLink;  // the file at `loadedFrom` is a link to a file elsewhere
    };
    const Case cases[] = {
        {"writable program folder", true, true, true, false, Program, Program},
        {"read-only, no user file yet", false, false, false, false, Program, User},
        {"read-only, with a user file", false, true, true, false, User, User},
        {"read-only, config folder cannot be made", false, false, true, true, Program, Nowhere},
        {"writable program folder, its file a link", true, false, true, false, Program, Program, OwnLink},
        {"read-only, the user's file a link", false, true, false, false, User, User, OwnLink},
        {"read-only, the user's file another user's link", false, true, true, false, User, Nowhere, OthersLink},
        {"writable program folder, its file another user's link", true, false, true, false, Program, Nowhere,
         OthersLink},
    };
    for (const Case& c : cases) {
        if (c.link == OthersLink && ::geteuid() != 0) {
            std::cout << "  skipped (needs root): " << c.what << "\n";
            continue;
        }
        const fs::path program = dir_ / c.what / "program", home = dir_ / c.what / "home", xdg = dir_ / c.what / "xdg";
        const fs::path user = (c.xdgSet ? xdg : home / ".config") / "vexel" / "VEXEL.CFG";
        const fs::path elsewhere = dir_ / c.what / "elsewhere";
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
        const fs::path linked = c.loadedFrom == Program ? program / "VEXEL.CFG" : user;
        if (c.link != NoLink) {
            fs::rename(linked, elsewhere);
            fs::create_symlink(elsewhere, linked);
            if (c.link == OthersLink) {
                ASSERT_EQ(::lchown(linked.c_str(), 65534, 65534), 0);
            }
        }
        const Bytes elsewhereBefore = readFile(elsewhere);

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
        if (c.link != NoLink) {
            EXPECT_EQ(readFile(elsewhere), elsewhereBefore) << c.what << ": written through the link";
            EXPECT_EQ(fs::is_symlink(linked), c.link == OthersLink) << c.what;
        }
    }
}

TEST(SettingsFilePath, LiesBesideTheProgram) {
    EXPECT_EQ(SettingsFile::besideProgram("/opt/vexel").path(), fs::path("/opt/vexel/VEXEL.CFG"));
}

}  // namespace
