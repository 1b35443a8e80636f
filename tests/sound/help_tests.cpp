// The help pages beside the program and the help window that shows them.
#include "ui/help.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QImage>
#include <QMessageBox>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

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

TEST(HelpPages, EachHasTheThreeTopicsAndNoLinkOrPictureIntoNowhere) {
    for (const char* name : {"VEXELDEU.html", "VEXELENG.html"}) {
        SCOPED_TRACE(name);
        const QString page = readPage(name);
        ASSERT_FALSE(page.isEmpty()) << "not copied beside the program";
        const auto anchors = matches(page, R"re(<a name="([^"]+)")re");
        for (const int context : {HELP_CONTENTS, HELP_PLAYERS, HELP_ENVIRONMENT})
            EXPECT_TRUE(anchors.count(helpAnchor(context))) << helpAnchor(context).toStdString();
        for (const auto& link : matches(page, R"re(href="#([^"]+)")re"))
            EXPECT_TRUE(anchors.count(link)) << "link to #" << link.toStdString();
        // Pictures come from beside the page: the build must have put each one there.
        for (const auto& picture : matches(page, R"re(<img src="([^"]+)")re"))
            EXPECT_FALSE(QImage(QCoreApplication::applicationDirPath() + '/' + picture).isNull())
                << picture.toStdString() << " is not beside the page";
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
    showHelpFile(nullptr, missing.toStdString(), Language::English, HELP_PLAYERS);
    EXPECT_TRUE(reported.contains(missing)) << reported.toStdString();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// A page nobody could have meant as help would freeze the window while it is
// laid out (nested tables lay their text out again for every level, one long
// word takes time with the square of its length), or crash it (nested tables
// recurse once per level): it is reported like a missing file and the window
// is not opened. The shipped pages are help pages.
TEST(HelpWindow, APageThatIsNoHelpPageIsReportedLikeAMissingOne) {
    // A folder name that is no UTF-8: the page is found by its bytes, not by a QString.
    const auto folder = std::filesystem::temp_directory_path() / ("vexel-help-g\xff\xfeX-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const auto repeat = [](std::string_view part, std::size_t times, std::string_view tail = "x") {
        std::string text;
        for (std::size_t i = 0; i < times; ++i) text += part;
        return text + std::string(tail);
    };
    std::string random(20000, '\0');
    std::uint32_t seed = 7;
    for (char& c : random) c = char((seed = seed * 1103515245 + 12345) >> 16);
    const std::string shipped = readPage("VEXELENG.html").toStdString();
    const struct {
        const char* what;
        std::string page;  // empty: a FIFO
        bool isHelp;
    } pages[] = {
        {"the shipped page", shipped, true},
        {"nested tables", repeat("<table><tr><td>", 2000), false},
        {"nested lists", repeat("<ul><li>", 2000), false},
        {"tables side by side", repeat("<table><tr><td>x</td></tr></table>", 150), true},
        {"text three tables deep", repeat("<table><tr><td>", 3) + repeat("word ", 2000), false},
        {"one long word", std::string(5000, 'w'), false},
        {"random bytes", random, false},
        {"a NUL byte", std::string("<p>a\0b</p>", 10), false},
        {"too large", repeat("<p>help</p>\n", MAX_HELP_PAGE_BYTES / 12 + 1), false},
        {"a FIFO", "", false},
    };
    for (const auto& page : pages) {
        SCOPED_TRACE(page.what);
        const auto file = folder / "VEXELENG.html";
        std::filesystem::remove(file);
        if (page.page.empty()) {
            ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
        } else {
            std::ofstream(file, std::ios::binary).write(page.page.data(), std::streamsize(page.page.size()));
        }
        QString reported;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                reported = box->text();
                box->accept();
            }
        });
        poll.start(20);
        QWidget mainWindow;
        showHelpFile(&mainWindow, file, Language::English, HELP_PLAYERS);
        EXPECT_EQ(reported.isEmpty(), page.isHelp) << reported.toStdString();
        EXPECT_EQ(helpWindow() != nullptr, page.isHelp);
        if (page.isHelp && helpWindow()) {
            EXPECT_FALSE(helpWindow()->findChild<QTextBrowser*>()->document()->isEmpty()) << "shown empty";
        }
    }
    std::filesystem::remove_all(folder);
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
