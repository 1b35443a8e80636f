// The help pages beside the program and the help window that shows them.
#include "ui/help.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QMessageBox>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>

#include <gtest/gtest.h>

#include <set>

namespace vexel {
namespace {

QString readPage(const char* name) {
    QFile file(QCoreApplication::applicationDirPath() + '/' + name);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

std::set<QString> matches(const QString& text, const char* pattern) {
    std::set<QString> found;
    auto it = QRegularExpression(QString::fromLatin1(pattern)).globalMatch(text);
    while (it.hasNext()) found.insert(it.next().captured(1));
    return found;
}

TEST(HelpPages, EachHasTheThreeTopicsAndNoLinkIntoNowhere) {
    for (const char* name : {"VEXELDEU.html", "VEXELENG.html"}) {
        SCOPED_TRACE(name);
        const QString page = readPage(name);
        ASSERT_FALSE(page.isEmpty()) << "not copied beside the program";
        const auto anchors = matches(page, R"re(<a name="([^"]+)")re");
        for (const int context : {HELP_CONTENTS, HELP_PLAYERS, HELP_ENVIRONMENT})
            EXPECT_TRUE(anchors.count(helpAnchor(context))) << helpAnchor(context).toStdString();
        for (const auto& link : matches(page, R"re(href="#([^"]+)")re"))
            EXPECT_TRUE(anchors.count(link)) << "link to #" << link.toStdString();
    }
}

QWidget* helpWindow() {
    QWidget* found = nullptr;
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String("vexelHelp")) {
            found = widget;
            ++count;
        }
    }
    return count == 1 ? found : nullptr;
}

// The block that carries the anchor `name`.
QTextBlock anchorBlock(const QTextDocument* document, const QString& name) {
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            if (fragment.fragment().charFormat().anchorNames().contains(name)) return block;
        }
    }
    return {};
}

struct Topic {
    Language language;
    int context;
    const char* file;
    const char* heading;  // the text that carries the topic's anchor
    bool scrolled;        // the topic lies below the top of the page
};

TEST(HelpWindow, ShowsThePageOfTheLanguageAtTheTopic) {
    QWidget mainWindow;
    const Topic topics[] = {
        {Language::German, HELP_CONTENTS, "VEXELDEU.html", "Vexel – Hilfe", false},
        {Language::German, HELP_PLAYERS, "VEXELDEU.html", "Der Dialog „Spieler“", true},
        {Language::German, HELP_ENVIRONMENT, "VEXELDEU.html", "Der Dialog „Umgebung“", true},
        {Language::English, HELP_ENVIRONMENT, "VEXELENG.html", "The Environment dialog", true},
        {Language::English, HELP_PLAYERS, "VEXELENG.html", "The Players dialog", true},
        {Language::English, HELP_CONTENTS, "VEXELENG.html", "Vexel Stars – Help", false},
        {Language::English, 7, "VEXELENG.html", "Vexel Stars – Help", false},
    };
    for (const Topic& topic : topics) {
        SCOPED_TRACE(testing::Message() << topic.file << " topic " << topic.context);
        showHelp(&mainWindow, topic.language, topic.context);
        QWidget* window = helpWindow();
        ASSERT_NE(window, nullptr) << "not exactly one help window";
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        EXPECT_FALSE(window->isModal());
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        auto* browser = window->findChild<QTextBrowser*>();
        ASSERT_NE(browser, nullptr);
        EXPECT_TRUE(browser->source().toLocalFile().endsWith(QLatin1String(topic.file)));

        const QTextBlock block = anchorBlock(browser->document(), helpAnchor(topic.context));
        ASSERT_TRUE(block.isValid());
        EXPECT_EQ(block.text(), QString::fromUtf8(topic.heading));
        const QRect rect = browser->cursorRect(QTextCursor(block));
        EXPECT_GE(rect.top(), 0);
        EXPECT_LE(rect.bottom(), browser->viewport()->height());
        EXPECT_EQ(browser->verticalScrollBar()->value() > 0, topic.scrolled);
    }
}

TEST(HelpWindow, AMissingFileIsReportedWithItsFullPath) {
    const QString missing = QStringLiteral("/no/such/folder/VEXELENG.html");
    QString reported;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            reported = box->text();
            box->accept();
        }
    });
    poll.start(20);
    showHelpFile(nullptr, missing, Language::English, HELP_PLAYERS);
    EXPECT_TRUE(reported.contains(missing)) << reported.toStdString();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(HelpWindow, OpenedFromADialogCanBeReadWhileTheDialogWaits) {
    QWidget mainWindow;
    QDialog dialog(&mainWindow);
    Qt::WindowModality fromDialog = Qt::NonModal;
    QTimer::singleShot(0, &dialog, [&] {
        showHelp(&mainWindow, Language::German, HELP_PLAYERS);
        if (QWidget* help = helpWindow()) fromDialog = help->windowModality();
        if (QWidget* help = helpWindow()) help->close();
        dialog.reject();
    });
    dialog.exec();
    EXPECT_EQ(fromDialog, Qt::ApplicationModal);
    showHelp(&mainWindow, Language::German, HELP_CONTENTS);
    ASSERT_NE(helpWindow(), nullptr);
    EXPECT_EQ(helpWindow()->windowModality(), Qt::NonModal) << "from the main window it stays a plain window";
    helpWindow()->close();
}

}  // namespace
}  // namespace vexel
