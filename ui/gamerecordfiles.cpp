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
#include <QFileDialog>
#include <QMenu>


namespace vexel {

namespace fs = std::filesystem;

GameRecordFiles::GameRecordFiles(TMainWindow& window, Settings& settings, fs::path autosave)
    : QObject(&window), window_(window), settings_(settings), autosave_(std::move(autosave)) {
    askFile = [this](bool save) {
        const QString filter = text(settings_, 863);
        // The game holds still while the dialog is up, as for every dialog from the menu.
        window_.modalDialogOpen_ = true;
        window_.idleTimer_.stop();
        const QString path = save ? QFileDialog::getSaveFileName(&window_, text(settings_, 864), QDir::homePath(), filter)
                                  : QFileDialog::getOpenFileName(&window_, text(settings_, 865), QDir::homePath(), filter);
        window_.modalDialogOpen_ = false;
        window_.scheduleIdle();
        return path;
    };
    checkAutosave();
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

bool GameRecordFiles::canResume() const { return resumable_ && !window_.game().state().gameRunning; }

void GameRecordFiles::updateItems() {
    if (!save_) return;
    save_->setEnabled(gamePlayed_);
    resume_->setEnabled(canResume());
}

// ---- Autosave -------------------------------------------------------------

void GameRecordFiles::checkAutosave() {
    resumable_ = false;
    if (autosave_.empty()) return;
    removeStaleTemporaries(autosave_);  // left by a write that was killed
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(autosave_, ec))) return;
    std::string text, why;
    RecordError error;
    std::optional<GameRecord> record;
    RecordReplay replay;
    if (readRecordFile(autosave_, text, why) && (record = readRecord(text, error)) && replay.run(*record, error)) {
        resumable_ = replay.game().state().gameRunning;
        return;
    }
    // Kept for whoever wants to look at it, out of the way of the next game.
    const std::string stamp = QDateTime::currentDateTimeUtc().toString("yyyyMMdd-HHmmss").toStdString();
    fs::path aside = autosave_;
    aside += ".unreadable-" + stamp;
    fs::rename(autosave_, aside, ec);
    if (ec) fs::remove(autosave_, ec);
}

void GameRecordFiles::writeAutosave() {
    if (autosave_.empty()) return;
    const Game& game = window_.game();
    const std::string date = QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toStdString();
    std::string error;
    // A failed write keeps the last good one; play goes on either way.
    if (writeRecordFile(autosave_, writeRecord(recordOf(game, settings_, date)), true, error)) resumable_ = true;
}

void GameRecordFiles::removeAutosave() {
    resumable_ = false;
    if (autosave_.empty()) return;
    removeStaleTemporaries(autosave_);  // left by a write that was killed
    std::error_code ec;
    fs::remove(autosave_, ec);
}

void GameRecordFiles::gameEvent(GameView::Event event) {
    using Event = GameView::Event;
    const GameState& s = window_.game().state();
    switch (event) {
        case Event::GameStarted:
            gamePlayed_ = true;
            writeAutosave();
            break;
        case Event::MoveCommitted:
        case Event::TakenBack:
            if (s.gameRunning) writeAutosave();
            break;
        case Event::TurnPassed:
            // Only a pass changes the record here; a move was written when committed.
            if (s.gameRunning && !window_.game().playedMoves().empty() && window_.game().playedMoves().back().holes.empty())
                writeAutosave();
            break;
        case Event::GameEnded:
            removeAutosave();
            break;
        case Event::SeatFinished:
            break;
    }
    updateItems();
}

void GameRecordFiles::windowClosing() {
    if (window_.game().state().gameRunning) writeAutosave();
}

// ---- Save, open, resume ---------------------------------------------------

void GameRecordFiles::refuse(std::uint16_t what, const std::string& detail) {
    window_.tell(text(settings_, 864), text(settings_, what) + "\n\n" + QString::fromStdString(detail));
}

void GameRecordFiles::saveRecord() {
    if (!gamePlayed_ || window_.modalDialogOpen()) return;
    QString path = askFile(true);
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += ".vxg";
    saveFile(path);
}

bool GameRecordFiles::saveFile(const QString& path) {
    const std::string date = QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toStdString();
    std::string error;
    if (writeRecordFile(path.toStdString(), writeRecord(recordOf(window_.game(), settings_, date)), false, error)) return true;
    refuse(866, path.toStdString() + ": " + error);
    return false;
}

void GameRecordFiles::openRecord() {
    if (window_.modalDialogOpen()) return;
    const QString path = askFile(false);
    if (!path.isEmpty()) openFile(path);
}

bool GameRecordFiles::openFile(const QString& path) {
    std::string text, error;
    if (!readRecordFile(path.toStdString(), text, error)) {
        refuse(867, path.toStdString() + ": " + error);
        return false;
    }
    return adopt(text, path);
}

void GameRecordFiles::resume() {
    if (!canResume() || window_.modalDialogOpen()) return;
    std::string text, error;
    if (!readRecordFile(autosave_, text, error)) {
        refuse(867, autosave_.string() + ": " + error);
        checkAutosave();
        return;
    }
    if (!adopt(text, QString::fromStdString(autosave_.string()))) checkAutosave();
}

bool GameRecordFiles::adopt(const std::string& text, const QString& name) {
    RecordError error;
    const auto record = readRecord(text, error);
    RecordReplay replay;
    if (!record || !replay.run(*record, error)) {
        refuse(867, describeError(name.toStdString(), error));
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
    // The record's seats are the seats from now on, levels included: the
    // computer reads its level from the live seats, and a new game after this
    // one starts with the same table.
    for (int s = 0; s < SEAT_COUNT; ++s) {
        const PlayerSlot& seat = replay.settings().playerSettings[s];
        PlayerSlot& live = settings_.playerSettings[s];
        live.kind = seat.kind;
        live.level = seat.level;
        live.colour = seat.colour;
        live.setName(seat.nameBytes());
    }
    game.adoptGame(replay.game());
    gamePlayed_ = true;
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
