// The help window: the help page of the current language, which lies beside
// the program, shown in a window of its own next to the game and scrolled to
// the topic asked for. One window serves every request.
#pragma once

#include "core/settings.h"

#include <QString>

class QWidget;

namespace vexel {

// Topics: 0 contents (menu), 1 players dialog, 2 environment dialog.
inline constexpr int HELP_CONTENTS = 0;
inline constexpr int HELP_PLAYERS = 1;
inline constexpr int HELP_ENVIRONMENT = 2;

void showHelp(QWidget* mainWindow, Language language, int context);

// The page of a language beside the program, and the anchor of a topic
// (an unknown topic shows the contents).
QString helpFilePath(Language language);
QString helpAnchor(int context);
// Shows `path` at the topic; a missing file is reported in a message box
// that names it.
void showHelpFile(QWidget* mainWindow, const QString& path, Language language, int context);

}  // namespace vexel
