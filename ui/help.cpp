// The help window is a plain top-level window (not modal) holding a text
// browser; it belongs to the main window, so it closes with the game. It is
// reused: a second request loads another page only when the language changed,
// and otherwise just scrolls to the new topic.
//
// The pages are files anyone may have damaged or replaced, and the text
// browser lays a page out in one go, recursing into nested tables and lists:
// a page that is far too large, nested far too deep or not text at all would
// freeze the window or take the program down. Every page and picture is
// therefore read by the window itself (only regular files, at most a help
// page's size) and looked at before the browser sees it; a page that does not
// look like a help page is reported like a missing one.
#include "ui/help.h"

#include "settings/safefile.h"
#include "settings/texts.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QMessageBox>
#include <QPointer>
#include <QScrollBar>
#include <QShortcut>
#include <QStringDecoder>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

namespace vexel {

namespace {

std::filesystem::path& folderSetting() {
    static std::filesystem::path folder;
    return folder;
}

bool german(Language language) { return language != Language::English; }

// Tags whose nesting the browser follows by recursion (frames and lists).
bool nestsFrames(std::string_view tag) {
    static constexpr std::array<std::string_view, 9> NESTING = {"table", "ul", "ol", "dl", "blockquote",
                                                                "div", "center", "menu", "dir"};
    return std::find(NESTING.begin(), NESTING.end(), tag) != NESTING.end();
}

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

// What the layout of a page costs, as a simple scan of its markup sees it
// (comments are skipped; a closing tag closes one level of its kind, or of
// any kind when the page is sloppy). The browser lays out the text of a
// table cell more than once for each table around it, breaks a line inside
// one long word in time that grows with the square of its length, and slows
// with every list, so each of those is bounded.
struct Shape {
    int depth = 0;          // frames and lists inside each other
    int tableDepth = 0;     // tables inside each other
    int tags = 0;
    int frames = 0;         // tables, lists and blocks
    std::size_t cost = 0;   // bytes of text, each counted twice for every table around it
    std::size_t longestWord = 0;
};

Shape shapeOf(std::string_view html) {
    Shape shape;
    int open = 0, tables = 0;
    std::size_t word = 0;
    std::size_t at = 0;
    while (at < html.size()) {
        if (html[at] != '<') {
            word = isSpace(html[at]) ? 0 : word + 1;
            shape.longestWord = std::max(shape.longestWord, word);
            shape.cost += std::size_t(1) << std::min(tables, 20);
            ++at;
            continue;
        }
        ++at;
        if (html.substr(at).starts_with("!--")) {
            const std::size_t end = html.find("-->", at + 3);
            at = end == std::string_view::npos ? html.size() : end + 3;
            continue;
        }
        const bool closing = at < html.size() && html[at] == '/';
        if (closing) ++at;
        std::string tag;
        while (at < html.size() && tag.size() < 12 && std::isalpha(static_cast<unsigned char>(html[at])))
            tag += char(std::tolower(static_cast<unsigned char>(html[at++])));
        const std::size_t end = html.find('>', at);
        at = end == std::string_view::npos ? html.size() : end + 1;
        if (tag.empty()) continue;
        ++shape.tags;
        if (tag == "br" || tag == "p" || tag == "li" || tag == "td" || tag == "tr" || tag == "th") word = 0;
        if (!nestsFrames(tag)) continue;
        if (!closing) ++shape.frames;
        open = closing ? std::max(0, open - 1) : open + 1;
        if (tag == "table") tables = closing ? std::max(0, tables - 1) : tables + 1;
        shape.depth = std::max(shape.depth, open);
        shape.tableDepth = std::max(shape.tableDepth, tables);
    }
    return shape;
}

std::optional<QString> decodeUtf8Text(const std::vector<std::uint8_t>& bytes) {
    // Text: no NUL and no control characters but the usual white space.
    for (const std::uint8_t b : bytes)
        if (b < 0x20 && b != '\t' && b != '\n' && b != '\r' && b != '\f') return std::nullopt;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder(QByteArrayView(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
    if (decoder.hasError()) return std::nullopt;
    return text;
}

// A picture of a help page: a regular file of a plausible size and extent.
QImage readPicture(const std::filesystem::path& file) {
    const auto bytes = readWholeRegularFile(file, MAX_HELP_PICTURE_BYTES);
    if (!bytes) return {};
    QByteArray data(reinterpret_cast<const char*>(bytes->data()), qsizetype(bytes->size()));
    QBuffer buffer(&data);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > MAX_HELP_PICTURE_SIDE || size.height() > MAX_HELP_PICTURE_SIDE) return {};
    return reader.read();
}

class HelpBrowser : public QTextBrowser {
public:
    explicit HelpBrowser(QWidget* parent) : QTextBrowser(parent) {}

    // The folder of the page shown; its pictures and linked pages come from there.
    void setFolder(const std::filesystem::path& folder) { folder_ = folder; }

    // Pages and pictures come only from the page's folder, read as help pages are.
    QVariant loadResource(int type, const QUrl& name) override {
        const std::optional<std::filesystem::path> file = fileOf(name);
        if (!file) return {};
        if (type == QTextDocument::HtmlResource) {
            if (auto page = readHelpPage(*file)) return *page;
            return {};
        }
        if (type == QTextDocument::ImageResource) {
            QImage picture = readPicture(*file);
            if (!picture.isNull()) return picture;
        }
        return {};
    }

private:
    // The file behind a URL inside the page's folder. The folder's own name is
    // taken as bytes, so that a name the locale cannot spell still works.
    std::optional<std::filesystem::path> fileOf(const QUrl& url) const {
        if (!url.isLocalFile() || folder_.empty()) return std::nullopt;
        const QString base = QDir::cleanPath(QFile::decodeName(QByteArray::fromStdString(folder_.string()))) + QLatin1Char('/');
        const QString local = QDir::cleanPath(url.toLocalFile());
        if (!local.startsWith(base)) return std::nullopt;
        const std::filesystem::path relative = QFile::encodeName(local.mid(base.size())).toStdString();
        for (const auto& part : relative)
            if (part == ".." || part == ".") return std::nullopt;
        if (relative.empty()) return std::nullopt;
        return folder_ / relative;
    }

    std::filesystem::path folder_;
};

// To assistive technology the help window is a document named by its title.
class HelpWindowAccessible : public QAccessibleWidget {
public:
    explicit HelpWindowAccessible(QWidget* window) : QAccessibleWidget(window, QAccessible::Document) {}
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return widget()->windowTitle();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* helpWindowFactory(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    return widget && widget->isWindow() && widget->objectName() == QStringLiteral("vexelHelp")
               ? new HelpWindowAccessible(widget)
               : nullptr;
}

class HelpWindow : public QWidget {
public:
    explicit HelpWindow(QWidget* mainWindow) : QWidget(mainWindow, Qt::Window) {
        static const bool installed = [] {
            QAccessible::installFactory(helpWindowFactory);
            return true;
        }();
        Q_UNUSED(installed);
        setObjectName(QStringLiteral("vexelHelp"));
        browser_ = new HelpBrowser(this);
        browser_->setObjectName(QStringLiteral("vexelHelpBrowser"));
        browser_->setOpenLinks(true);
        browser_->setOpenExternalLinks(false);
        // The text takes the focus, by Tab as well, and its caret walks it
        // from the keyboard, so that a screen reader reads it line by line.
        browser_->setFocusPolicy(Qt::StrongFocus);
        browser_->setTextInteractionFlags(Qt::TextBrowserInteraction | Qt::TextSelectableByKeyboard);
        // Escape and Ctrl+W close the window, as they close other reading windows.
        for (const QKeySequence& keys : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
            auto* closing = new QShortcut(keys, this);
            connect(closing, &QShortcut::activated, this, &QWidget::close);
        }
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(browser_);
        resize(620, 560);
    }

    void showPage(const std::filesystem::path& file, const QString& anchor, const QString& title, const QString& textName) {
        setWindowTitle(title);
        browser_->setAccessibleName(textName);
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
        browser_->setFocus();
        // The browser asks for the page by this URL; loadResource takes it back to the folder's bytes.
        const QUrl page = QUrl::fromLocalFile(QFile::decodeName(QByteArray::fromStdString(file.string())));
        if (browser_->source().adjusted(QUrl::RemoveFragment) != page || file.parent_path() != folder_) {
            folder_ = file.parent_path();
            browser_->setFolder(folder_);
            browser_->setSource(page);
        }
        // The contents start the page: show it from its very top, margin included.
        if (anchor == helpAnchor(HELP_CONTENTS))
            browser_->verticalScrollBar()->setValue(0);
        else
            browser_->scrollToAnchor(anchor);
    }

private:
    HelpBrowser* browser_;
    std::filesystem::path folder_;
};

QPointer<HelpWindow> helpWindow;

void reportMissing(QWidget* mainWindow, const std::filesystem::path& path, Language language) {
    const QString shown = QDir::toNativeSeparators(QFile::decodeName(QByteArray::fromStdString(path.string())));
    if (german(language))
        QMessageBox::warning(mainWindow, QStringLiteral("Hilfe"),
                             QStringLiteral("Die Hilfedatei %1 wurde nicht gefunden.").arg(shown));
    else
        QMessageBox::warning(mainWindow, QStringLiteral("Help"), QStringLiteral("The help file %1 was not found.").arg(shown));
}

}  // namespace

void setHelpFolder(const std::filesystem::path& folder) { folderSetting() = folder; }

std::filesystem::path helpFolder() {
    if (!folderSetting().empty()) return folderSetting();
    return QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
}

std::filesystem::path helpFilePath(Language language) {
    return helpFolder() / (german(language) ? "VEXELDEU.html" : "VEXELENG.html");
}

QString helpAnchor(int context) {
    switch (context) {
    case HELP_PLAYERS: return QStringLiteral("players");
    case HELP_ENVIRONMENT: return QStringLiteral("environment");
    default: return QStringLiteral("contents");
    }
}

std::optional<QString> readHelpPage(const std::filesystem::path& path) {
    const auto bytes = readWholeRegularFile(path, MAX_HELP_PAGE_BYTES);
    if (!bytes) return std::nullopt;
    auto text = decodeUtf8Text(*bytes);
    if (!text) return std::nullopt;
    const Shape shape = shapeOf(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
    if (shape.depth > MAX_HELP_NESTING || shape.tableDepth > MAX_HELP_TABLE_NESTING || shape.tags > MAX_HELP_TAGS ||
        shape.frames > MAX_HELP_FRAMES || shape.cost > MAX_HELP_TEXT_COST || shape.longestWord > MAX_HELP_WORD)
        return std::nullopt;
    return text;
}

void showHelpFile(QWidget* mainWindow, const std::filesystem::path& path, Language language, int context) {
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (error) absolute = path;
    if (!readHelpPage(absolute)) {
        reportMissing(mainWindow, absolute, language);
        return;
    }
    if (!helpWindow || helpWindow->parentWidget() != mainWindow) {
        if (helpWindow) helpWindow->deleteLater();
        helpWindow = new HelpWindow(mainWindow);
    }
    const std::string_view textName = lookupText(language, 1056);
    helpWindow->showPage(absolute, helpAnchor(context),
                         german(language) ? QStringLiteral("Vexel – Hilfe") : QStringLiteral("Vexel Stars – Help"),
                         QString::fromUtf8(textName.data(), qsizetype(textName.size())));
}

void showHelp(QWidget* mainWindow, Language language, int context) {
    showHelpFile(mainWindow, helpFilePath(language), language, context);
}

}  // namespace vexel
