#include "gamerecordfiles.h"

#include "core/replay.h"
#include "settings/qtexts.h"
#include "settings/safefile.h"
#include "ui/Vexmain.h"
#include "ui/boardwidget.h"
#include "ui/recordfile.h"

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLockFile>
#include <QMenu>
#include <QTimer>

#include <fstream>

namespace vexel {

namespace fs = std::filesystem;

namespace {

constexpr int MAX_COPIES = 9;

// Autosave k of the copies (1-based): current.vxg, current-2.vxg, ...
fs::path slotFile(const fs::path& first, int k) {
    if (k == 1) return first;
    return first.parent_path() / (first.stem().string() + "-" + std::to_string(k) + first.extension().string());
}

fs::path withSuffix(fs::path path, const char* suffix) {
    path += suffix;
    return path;
}

// A lock that no age makes stale: only a copy that no longer runs loses it.
std::unique_ptr<QLockFile> tryLock(const fs::path& file) {
    auto lock = std::make_unique<QLockFile>(QFile::decodeName(withSuffix(file, ".lock").c_str()));
    lock->setStaleLockTime(0);
    return lock->tryLock(0) ? std::move(lock) : nullptr;
}

std::string now() { return QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toStdString(); }

fs::path localPath(const QString& path) { return fs::path(QFile::encodeName(path).toStdString()); }

}  // namespace

GameRecordFiles::GameRecordFiles(TMainWindow& window, Settings& settings, fs::path autosave)
    : QObject(&window), window_(window), settings_(settings), lastFolder_(QDir::homePath()) {
    askFile = [this](bool save, const QString& folder) {
        const QString filter = text(settings_, 863);
        // The game holds still while the dialog is up, as for every dialog from the menu.
        window_.modalDialogOpen_ = true;
        window_.idleTimer_.stop();
        const QString path = save ? QFileDialog::getSaveFileName(&window_, text(settings_, 864), folder, filter)
                                  : QFileDialog::getOpenFileName(&window_, text(settings_, 865), folder, filter);
        window_.modalDialogOpen_ = false;
        window_.scheduleIdle();
        return path;
    };
    takeSlot(autosave);
    checkAutosave();
}

GameRecordFiles::~GameRecordFiles() = default;

void GameRecordFiles::takeSlot(const fs::path& first) {
    if (first.empty()) return;
    // Only a real folder of the user's own: a link there could lead into
    // another user's files, which the program neither writes nor renames.
    if (!makePrivateFolders(first) || !ownFolder(first.parent_path())) return;
    firstSlot_ = first;
    for (int k = 1; k <= MAX_COPIES; ++k) {
        if (auto lock = tryLock(slotFile(first, k))) {
            lock_ = std::move(lock);
            autosave_ = slotFile(first, k);
            return;
        }
    }
}

void GameRecordFiles::addMenuItems(QMenu* menu) {
    save_ = menu->addAction(QString(), this, [this] { saveRecord(); });
    open_ = menu->addAction(QString(), this, [this] { openRecord(); });
    resume_ = menu->addAction(QString(), this, [this] { resume(); });
    save_->setObjectName("mPartieSpeichern");
    open_->setObjectName("mPartieOeffnen");
    resume_->setObjectName("mPartieFortsetzen");
    updateItems();
}

void GameRecordFiles::applyCaptions() {
    if (!save_) return;
    save_->setText(text(settings_, 860));
    open_->setText(text(settings_, 861));
    resume_->setText(text(settings_, 862));
}

bool GameRecordFiles::canResume() const { return !resumeFrom_.empty() && !window_.game().state().gameRunning; }

void GameRecordFiles::updateItems() {
    if (!save_) return;
    save_->setEnabled(gamePlayed_);
    resume_->setEnabled(canResume());
}

// ---- Autosave -------------------------------------------------------------

bool GameRecordFiles::holdsRunningGame(const fs::path& file) {
    removeStaleTemporaries(file);  // left by a write that was killed
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(file, ec))) return false;
    std::string text;
    RecordProblem problem{};
    RecordError error;
    std::optional<GameRecord> record;
    RecordReplay replay;
    if (readRecordFile(file, text, problem) && (record = readRecord(text, error)) && replay.run(*record, error))
        return replay.game().state().gameRunning;
    // Kept for whoever wants to look at it, out of the way of the next game.
    const std::string stamp = QDateTime::currentDateTimeUtc().toString("yyyyMMdd-HHmmss").toStdString();
    fs::path aside = file;
    aside += ".unreadable-" + stamp;
    fs::rename(file, aside, ec);
    if (ec) fs::remove(file, ec);
    return false;
}

void GameRecordFiles::checkAutosave() {
    resumeFrom_.clear();
    resumeBehind_ = 0;
    otherLock_.reset();
    if (autosave_.empty()) return;
    if (holdsRunningGame(autosave_)) {
        resumeFrom_ = autosave_;
    } else {
        // A game another copy left when it closed or was killed, its lock now free.
        for (int k = 1; k <= MAX_COPIES && resumeFrom_.empty(); ++k) {
            const fs::path other = slotFile(firstSlot_, k);
            if (other == autosave_) continue;
            auto lock = tryLock(other);
            if (lock && holdsRunningGame(other)) {
                resumeFrom_ = other;
                otherLock_ = std::move(lock);
            }
        }
    }
    if (resumeFrom_.empty()) return;
    std::ifstream behind(withSuffix(resumeFrom_, ".behind"));
    behind >> resumeBehind_;
}

void GameRecordFiles::writeAutosave() {
    RecordProblem problem = RecordProblem::CannotMakeFolder;
    const Game& game = window_.game();
    GameRecord record = recordOf(game, settings_, gameDate_);
    record.kept = kept_;
    const int move = game.state().moveNumber;
    std::error_code ec;
    if (!autosave_.empty() && writeRecordFile(autosave_, writeRecord(record), true, problem)) {
        resumeFrom_ = autosave_;
        resumeBehind_ = 0;
        savedMove_ = move;
        saveFailureTold_ = false;  // a later failure is news again
        fs::remove(withSuffix(autosave_, ".behind"), ec);
        return;
    }
    // Play goes on; the player hears of it once, and a later Resume hears
    // that the game it brings back stops short, if a note of it can be left.
    if (!autosave_.empty() && savedMove_ > 0) {
        const std::string note = std::to_string(savedMove_) + "\n";
        replaceFile(withSuffix(autosave_, ".behind"), std::span(reinterpret_cast<const std::uint8_t*>(note.data()), note.size()));
        if (resumeFrom_ == autosave_) resumeBehind_ = savedMove_;
    }
    if (saveFailureTold_) return;
    saveFailureTold_ = true;
    const QString where = autosave_.empty() ? QString() : QFile::decodeName(autosave_.c_str()) + ": ";
    warnLater(text(settings_, 862).remove('&'),
              text(settings_, 1045).arg(where + problemText({{}, problem, {std::to_string(MAX_RECORD_MB)}}))
                  .arg(savedMove_));
}

void GameRecordFiles::removeAutosave() {
    if (resumeFrom_ == autosave_) resumeFrom_.clear();
    if (autosave_.empty()) return;
    removeStaleTemporaries(autosave_);  // left by a write that was killed
    std::error_code ec;
    fs::remove(autosave_, ec);
    fs::remove(withSuffix(autosave_, ".behind"), ec);
    savedMove_ = 0;
}

void GameRecordFiles::gameEvent(GameView::Event event) {
    using Event = GameView::Event;
    const GameState& s = window_.game().state();
    switch (event) {
        case Event::GameStarted:
            gamePlayed_ = true;
            gameDate_ = now();
            kept_.clear();
            writeAutosave();
            break;
        case Event::MoveCommitted:
        case Event::TakenBack:
            if (!s.gameRunning) break;
            // A joined network game never starts here, yet it is this player's game to save.
            gamePlayed_ = true;
            writeAutosave();
            break;
        case Event::TurnPassed:
            // Only a pass changes the record here; a move was written when committed.
            if (s.gameRunning && !window_.game().playedMoves().empty() && window_.game().playedMoves().back().holes.empty())
                writeAutosave();
            break;
        case Event::SeatFinished: {
            // The winners display comes next. With every place taken the game
            // is over already, whatever happens while it is open; otherwise
            // the record holds the finish until the player chooses.
            const int playing = s.playingSeatCount();
            if (s.finishOrder[std::max(playing, 1) - 1] != NO_PEG) removeAutosave();
            else writeAutosave();
            break;
        }
        case Event::GameEnded:
            removeAutosave();
            break;
    }
    updateItems();
}

void GameRecordFiles::windowClosing() {
    if (window_.game().state().gameRunning) writeAutosave();
}

// ---- Messages -------------------------------------------------------------

QString GameRecordFiles::problemText(const RecordError& error) const {
    QString out = text(settings_, std::uint16_t(RECORD_PROBLEM_TEXT_ID + std::uint16_t(error.problem)));
    if (out.isEmpty()) return QString::fromStdString(error.message);
    // %1.. in one pass, so that a detail holding "%2" stays as it is.
    QString filled;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const QChar next = i + 1 < out.size() ? out[i + 1] : QChar();
        if (out[i] == '%' && next >= '1' && next <= '9') {
            const auto k = std::size_t(next.unicode() - '1');
            if (k < error.details.size()) filled += QString::fromStdString(error.details[k]);
            ++i;
        } else {
            filled += out[i];
        }
    }
    return filled;
}

void GameRecordFiles::refuse(std::uint16_t title, std::uint16_t what, const QString& name, const RecordError& error) {
    QString where = name;
    if (error.place.line > 0) where += ":" + QString::number(error.place.line) + ":" + QString::number(error.place.column);
    window_.warn(text(settings_, title), text(settings_, what) + "\n\n" + where + ": " + problemText(error));
}

void GameRecordFiles::warnLater(const QString& title, const QString& message) {
    // Never inside a move's own work: the box waits for the event loop.
    QTimer::singleShot(0, this, [this, title, message] {
        const bool wasOpen = window_.modalDialogOpen_;
        window_.modalDialogOpen_ = true;
        window_.idleTimer_.stop();
        window_.warn(title, message);
        window_.modalDialogOpen_ = wasOpen;
        window_.scheduleIdle();
    });
}

// ---- Save, open, resume ---------------------------------------------------

void GameRecordFiles::saveRecord() {
    if (!gamePlayed_ || window_.modalDialogOpen()) return;
    QString path = askFile(true, lastFolder_);
    if (path.isEmpty()) return;
    lastFolder_ = QFileInfo(path).absolutePath();
    if (QFileInfo(path).suffix().isEmpty()) path += ".vxg";
    saveFile(path);
}

bool GameRecordFiles::saveFile(const QString& path) {
    GameRecord record = recordOf(window_.game(), settings_, gameDate_.empty() ? now() : gameDate_);
    record.kept = kept_;
    RecordProblem problem{};
    if (writeRecordFile(localPath(path), writeRecord(record), false, problem)) return true;
    refuse(864, 866, path, {{}, problem, {std::to_string(MAX_RECORD_MB)}});
    return false;
}

void GameRecordFiles::openRecord() {
    if (window_.modalDialogOpen()) return;
    const QString path = askFile(false, lastFolder_);
    if (path.isEmpty()) return;
    lastFolder_ = QFileInfo(path).absolutePath();
    openFile(path);
}

bool GameRecordFiles::openFile(const QString& path) { return openFile(localPath(path), path); }

bool GameRecordFiles::openFile(const fs::path& path, const QString& shown) {
    std::string text;
    RecordProblem problem{};
    if (!readRecordFile(path, text, problem)) {
        refuse(865, 867, shown, {{}, problem, {std::to_string(MAX_RECORD_MB)}});
        return false;
    }
    return adopt(text, shown);
}

void GameRecordFiles::openFromCommandLine(const std::vector<std::string>& arguments) {
    if (arguments.empty()) return;
    if (arguments.size() > 1) {
        QString rest;
        for (std::size_t i = 1; i < arguments.size(); ++i) rest += "\n" + QFile::decodeName(arguments[i].c_str());
        window_.warn(text(settings_, 865), text(settings_, 1047).arg(rest));
    }
    openFile(fs::path(arguments[0]), QFile::decodeName(arguments[0].c_str()));
}

void GameRecordFiles::resume() {
    if (!canResume() || window_.modalDialogOpen()) return;
    const fs::path from = resumeFrom_;
    const int behind = resumeBehind_;
    std::string bytes;
    RecordProblem problem{};
    const QString shown = QFile::decodeName(from.c_str());
    if (!readRecordFile(from, bytes, problem)) {
        refuse(865, 867, shown, {{}, problem, {std::to_string(MAX_RECORD_MB)}});
        checkAutosave();
        return;
    }
    if (!adopt(bytes, shown)) {
        checkAutosave();
        return;
    }
    // Another copy's game is this copy's now: kept in its own file only.
    std::error_code ec;
    if (from != autosave_ && resumeFrom_ == autosave_) {
        fs::remove(from, ec);
        fs::remove(withSuffix(from, ".behind"), ec);
        otherLock_.reset();
    }
    if (behind > 0) window_.warn(text(settings_, 862).remove('&'), text(settings_, 1046).arg(behind));
}

bool GameRecordFiles::adopt(const std::string& text, const QString& name) {
    RecordError error;
    auto record = readRecord(text, error);
    // A game stopped before every place was taken is played on from where it stopped.
    if (record && record->aborted) record->ended = record->aborted = false;
    RecordReplay replay;
    if (!record || !replay.run(*record, error)) {
        refuse(865, 867, name, error);
        window_.scheduleIdle();
        return false;
    }
    Game& game = window_.game();
    if (game.state().gameRunning && !window_.confirmAbort()) {
        window_.scheduleIdle();
        return false;
    }
    // Nothing of the old game may come back: no search result, no hop, no marked move.
    window_.stopBackgroundWork();
    game.endGame();
    replay.adoptSeats(settings_);
    game.adoptGame(replay.game());
    gamePlayed_ = true;
    gameDate_ = record->date.empty() ? now() : record->date;
    kept_ = record->kept;
    window_.Neuzeichnen();
    window_.board()->showChanges();
    if (game.state().gameRunning) writeAutosave();
    updateItems();
    window_.scheduleIdle();
    // A finished record ends with its finishing order on show.
    if (!game.state().gameRunning && !record->finishOrder.empty()) window_.mSiegerClick();
    return true;
}

}  // namespace vexel
