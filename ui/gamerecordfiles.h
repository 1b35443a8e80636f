// The game menu's records: save the game as a record, open a record and go on
// from its last position, and resume the game that was running when the
// program last closed or was killed. That game is kept in the autosave file
// (recordfile.h: autosaveFile), written after every committed move, every take
// back and on closing, and removed once the game is over.
#pragma once

#include "core/gameview.h"
#include "core/settings.h"

#include <QObject>
#include <QString>

#include <filesystem>
#include <functional>
#include <string>

class QAction;
class QMenu;

namespace vexel {

class TMainWindow;

class GameRecordFiles : public QObject {
public:
    // An autosave at `autosave` that cannot be read is renamed aside at once.
    GameRecordFiles(TMainWindow& window, Settings& settings, std::filesystem::path autosave);

    void addMenuItems(QMenu* menu);
    void applyCaptions();
    // Save greyed out until a game has been played; resume only while no game
    // runs and the autosave holds an unfinished one.
    void updateItems();

    void gameEvent(GameView::Event event);
    void windowClosing();

    // Menu commands.
    void saveRecord();
    void openRecord();
    void resume();
    // Without a dialog: the program's command line, and tests.
    bool saveFile(const QString& path);
    bool openFile(const QString& path);

    const std::filesystem::path& autosavePath() const { return autosave_; }
    bool canResume() const;

    // The file dialogs; tests answer them. An empty answer cancels.
    std::function<QString(bool save)> askFile;

private:
    // Replays the record in `text`; only when every move fits does the window's
    // game change. Reports a failure in a message box.
    bool adopt(const std::string& text, const QString& name);
    void refuse(std::uint16_t what, const std::string& detail);
    void writeAutosave();
    void removeAutosave();
    void checkAutosave();

    TMainWindow& window_;
    Settings& settings_;
    std::filesystem::path autosave_;
    bool gamePlayed_ = false;  // since the program started
    bool resumable_ = false;   // the autosave holds an unfinished game
    QAction* save_ = nullptr;
    QAction* open_ = nullptr;
    QAction* resume_ = nullptr;
};

}  // namespace vexel
