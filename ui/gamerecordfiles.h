// The game menu's records: save the game as a record, open a record and go on
// from its last position, and resume the game that was running when the
// program last closed or was killed. That game is kept in the autosave file
// (recordfile.h: autosaveFile), written after every committed move, every take
// back and on closing, and removed once the game is over.
//
// Each running copy of the program holds a lock (QLockFile, freed by the
// system's process check when a copy was killed) on one autosave of its own:
// current.vxg for the first copy, current-2.vxg, current-3.vxg ... beside it
// for the others. A copy never offers or writes a game whose lock another
// running copy holds; Resume offers its own file first, then any other whose
// copy no longer runs, and takes that game over into its own file.
#pragma once

#include "core/gameview.h"
#include "core/record.h"
#include "core/settings.h"

#include <QObject>
#include <QString>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QLockFile;
class QMenu;

namespace vexel {

class TMainWindow;

class GameRecordFiles : public QObject {
public:
    // An autosave at `autosave` that cannot be read is renamed aside at once.
    GameRecordFiles(TMainWindow& window, Settings& settings, std::filesystem::path autosave);
    ~GameRecordFiles() override;

    void addMenuItems(QMenu* menu);
    void applyCaptions();
    // Save greyed out until a game has been played; resume only while no game
    // runs and an autosave holds an unfinished one.
    void updateItems();

    void gameEvent(GameView::Event event);
    void windowClosing();

    // Menu commands.
    void saveRecord();
    void openRecord();
    void resume();
    // Without a dialog: tests. The name is shown as `shown`, or as the path.
    bool saveFile(const QString& path);
    bool openFile(const QString& path);
    bool openFile(const std::filesystem::path& path, const QString& shown);
    // The program's arguments, as the system gave them (any bytes): the first
    // is opened, the others are named in one message.
    void openFromCommandLine(const std::vector<std::string>& arguments);

    // This copy's own autosave, and the one Resume would bring back.
    const std::filesystem::path& autosavePath() const { return autosave_; }
    const std::filesystem::path& resumePath() const { return resumeFrom_; }
    bool canResume() const;

    // The file dialogs; tests answer them. An empty answer cancels. They
    // start in `folder`, the last one used.
    std::function<QString(bool save, const QString& folder)> askFile;

private:
    // Replays the record in `text`; only when every move fits does the window's
    // game change. Reports a failure in a message box.
    bool adopt(const std::string& text, const QString& name);
    void refuse(std::uint16_t title, std::uint16_t what, const QString& name, const RecordError& error);
    QString problemText(const RecordError& error) const;
    // Shows a message once the current piece of game work is over.
    void warnLater(const QString& title, const QString& text);
    void takeSlot(const std::filesystem::path& first);
    void writeAutosave();
    void removeAutosave();
    void checkAutosave();
    // Whether `file` holds an unfinished game; an unreadable one is put aside.
    bool holdsRunningGame(const std::filesystem::path& file);

    TMainWindow& window_;
    Settings& settings_;
    std::filesystem::path firstSlot_;   // the first copy's autosave
    std::filesystem::path autosave_;    // this copy's own; empty: none
    std::filesystem::path resumeFrom_;  // what Resume brings back; empty: nothing
    std::unique_ptr<QLockFile> lock_;       // on autosave_
    std::unique_ptr<QLockFile> otherLock_;  // on resumeFrom_ when that is another copy's
    bool gamePlayed_ = false;  // since the program started
    // The game as the window plays it, besides its moves: when it began, and
    // what a record it came from held of other programs.
    std::string gameDate_;
    std::vector<std::string> kept_;
    bool saveFailureTold_ = false;
    int savedMove_ = 0;     // the move number the autosave holds
    int resumeBehind_ = 0;  // resumeFrom_ is known to hold only this move, not the last
    QString lastFolder_;
    QAction* save_ = nullptr;
    QAction* open_ = nullptr;
    QAction* resume_ = nullptr;
};

}  // namespace vexel
