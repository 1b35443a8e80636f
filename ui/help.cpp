// The help window is a plain top-level window (not modal) holding a text
// browser; it belongs to the main window, so it closes with the game. It is
// reused: a second request loads another page only when the language changed,
// and otherwise just scrolls to the new topic.
#include "ui/help.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QScrollBar>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace vexel {

namespace {

class HelpWindow : public QWidget {
public:
    explicit HelpWindow(QWidget* mainWindow) : QWidget(mainWindow, Qt::Window) {
        setObjectName(QStringLiteral("vexelHelp"));
        browser_ = new QTextBrowser(this);
        browser_->setObjectName(QStringLiteral("vexelHelpBrowser"));
        browser_->setOpenLinks(true);
        browser_->setOpenExternalLinks(false);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(browser_);
        resize(620, 560);
    }

    void showPage(const QString& path, const QString& anchor, const QString& title) {
        setWindowTitle(title);
        // Asked for from a dialog's help button: a modal dialog blocks every
        // other window, so the help must be modal itself to be read and scrolled.
        QWidget* modal = QApplication::activeModalWidget();
        const Qt::WindowModality modality = modal && modal != this ? Qt::ApplicationModal : Qt::NonModal;
        if (windowModality() != modality) {
            hide();
            setWindowModality(modality);
        }
        show();
        raise();
        activateWindow();
        const QUrl page = QUrl::fromLocalFile(path);
        if (browser_->source().adjusted(QUrl::RemoveFragment) != page) browser_->setSource(page);
        // The contents start the page: show it from its very top, margin included.
        if (anchor == helpAnchor(HELP_CONTENTS))
            browser_->verticalScrollBar()->setValue(0);
        else
            browser_->scrollToAnchor(anchor);
    }

private:
    QTextBrowser* browser_;
};

QPointer<HelpWindow> helpWindow;

bool german(Language language) { return language != Language::English; }

}  // namespace

QString helpFilePath(Language language) {
    return QDir(QCoreApplication::applicationDirPath())
        .filePath(german(language) ? QStringLiteral("VEXELDEU.html") : QStringLiteral("VEXELENG.html"));
}

QString helpAnchor(int context) {
    switch (context) {
    case HELP_PLAYERS: return QStringLiteral("players");
    case HELP_ENVIRONMENT: return QStringLiteral("environment");
    default: return QStringLiteral("contents");
    }
}

void showHelpFile(QWidget* mainWindow, const QString& path, Language language, int context) {
    if (!QFileInfo(path).isFile()) {
        const QString shown = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
        if (german(language))
            QMessageBox::warning(mainWindow, QStringLiteral("Hilfe"),
                                 QStringLiteral("Die Hilfedatei %1 wurde nicht gefunden.").arg(shown));
        else
            QMessageBox::warning(mainWindow, QStringLiteral("Help"),
                                 QStringLiteral("The help file %1 was not found.").arg(shown));
        return;
    }
    if (!helpWindow || helpWindow->parentWidget() != mainWindow) {
        if (helpWindow) helpWindow->deleteLater();
        helpWindow = new HelpWindow(mainWindow);
    }
    helpWindow->showPage(path, helpAnchor(context),
                         german(language) ? QStringLiteral("Vexel – Hilfe") : QStringLiteral("Vexel Stars – Help"));
}

void showHelp(QWidget* mainWindow, Language language, int context) {
    showHelpFile(mainWindow, helpFilePath(language), language, context);
}

}  // namespace vexel
