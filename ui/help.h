// The help window: the help page of the current language, which lies beside
// the program, shown in a window of its own next to the game and scrolled to
// the topic asked for. One window serves every request.
#pragma once

#include "core/settings.h"

#include <QString>

#include <filesystem>
#include <optional>

class QWidget;

namespace vexel {

// Topics: 0 contents (menu), 1 players dialog, 2 environment dialog.
inline constexpr int HELP_CONTENTS = 0;
inline constexpr int HELP_PLAYERS = 1;
inline constexpr int HELP_ENVIRONMENT = 2;

void showHelp(QWidget* mainWindow, Language language, int context);

// The folder of the help pages: the program's folder, as bytes. Until the
// program sets it, the one Qt reports.
void setHelpFolder(const std::filesystem::path& folder);
std::filesystem::path helpFolder();

// The page of a language beside the program, and the anchor of a topic
// (an unknown topic shows the contents).
std::filesystem::path helpFilePath(Language language);
QString helpAnchor(int context);

// What a help page may be, so that laying it out never holds the window
// more than a moment: anything larger, with more tags, more or deeper nested
// tables, lists and blocks, more text (counted twice for each table around
// it), a longer word, not UTF-8 text, or not a regular file is no help page.
// The shipped pages stay far below each bound (under 20 KB, 430 tags, 7 tables and
// lists, none inside another).
inline constexpr std::size_t MAX_HELP_PAGE_BYTES = 128 * 1024;
inline constexpr int MAX_HELP_TAGS = 3000;
inline constexpr int MAX_HELP_FRAMES = 200;
inline constexpr int MAX_HELP_NESTING = 8;
inline constexpr int MAX_HELP_TABLE_NESTING = 2;
inline constexpr std::size_t MAX_HELP_TEXT_COST = 128 * 1024;
inline constexpr std::size_t MAX_HELP_WORD = 200;
inline constexpr std::size_t MAX_HELP_PICTURE_BYTES = 8 * 1024 * 1024;
inline constexpr int MAX_HELP_PICTURE_SIDE = 4096;
// The page's text when it is a help page by those rules.
std::optional<QString> readHelpPage(const std::filesystem::path& path);

// Shows `path` at the topic; a missing file, or one that is no help page, is
// reported in a message box that names it.
void showHelpFile(QWidget* mainWindow, const std::filesystem::path& path, Language language, int context);

}  // namespace vexel
