#include "platform/qt/QtHelpViewer.h"

#include "platform/qt/HelpWindow.h"
#include "platform/qt/HelpWindowPlace.h"
#include "platform/qt/QtText.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStyle>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <iostream>

namespace platform {

namespace {

int topicNumber(const QString& page) {
    static const QRegularExpression number("^topic(\\d+)\\.html$");
    QRegularExpressionMatch m = number.match(page);
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

QString pageTitle(const QString& html, const QString& fallback) {
    int start = html.indexOf("<title>");
    int end = html.indexOf("</title>");
    if (start < 0 || end <= start)
        return fallback;
    return html.mid(start + 7, end - start - 7);
}

// The words of a page as a person reads them: tags and entities gone.
QString pageText(const QString& html) {
    QTextDocument document;
    document.setHtml(html);
    return document.toPlainText();
}

} // namespace

QtHelpViewer::QtHelpViewer(std::string helpFolder, bool unattended)
    : helpFolder_(std::move(helpFolder)), unattended_(unattended) {}

QtHelpViewer::~QtHelpViewer() {
    delete window_.data();
}

void QtHelpViewer::makeWindow() {
    window_ = new HelpWindow;
    window_->setObjectName("HelpWindow");
    window_->setWindowTitle("Quillan Help");
    auto* layout = new QVBoxLayout(window_);
    auto* row = new QHBoxLayout;
    auto* label = new QLabel("Search for:", window_);
    field_ = new QLineEdit(window_);
    field_->setObjectName("HelpSearch");
    label->setBuddy(field_);
    auto* go = new QPushButton("Find", window_);
    // The button may come down to its word, so that beside a wide window the help can still
    // be as narrow as a page can be read at.
    go->setMinimumWidth(go->fontMetrics().horizontalAdvance(go->text()) +
                        2 * go->style()->pixelMetric(QStyle::PM_ButtonMargin));
    row->addWidget(label);
    row->addWidget(field_, 1);
    row->addWidget(go);
    layout->addLayout(row);
    browser_ = new QTextBrowser(window_);
    browser_->setObjectName("HelpPage");
    browser_->setSearchPaths({toQt(helpFolder_)});
    browser_->setOpenLinks(true);
    layout->addWidget(browser_, 1);
    auto find = [this] { showResults(fromQt(field_->text())); };
    QObject::connect(field_, &QLineEdit::returnPressed, window_, find);
    QObject::connect(go, &QPushButton::clicked, window_, find);
}

// A dialog waiting for its answer blocks every window but its own: the help window becomes
// one of its windows. Asked from the main window, it stays a window of its own.
void QtHelpViewer::showWindow() {
    if (!window_)
        makeWindow();
    QWidget* owner = QApplication::activeModalWidget();
    QWidget* explained = owner ? owner : mainWindow();
    if (window_->parentWidget() != owner)
        window_->setParent(owner, Qt::Window);
    // Placed again once shown, when the window system has given it its frame.
    if (explained)
        placeBeside(explained);
    window_->show();
    if (explained)
        placeBeside(explained);
    window_->raise();
    window_->activateWindow();
}

// The window the help menu was chosen in: the active one, or with none active (nothing has
// the keyboard yet) the program's window in sight.
QWidget* QtHelpViewer::mainWindow() const {
    if (QWidget* active = QApplication::activeWindow();
        active && active != window_ && active->isVisible())
        return active;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget != window_ && widget->isVisible() && widget->windowType() != Qt::Popup &&
            widget->windowType() != Qt::ToolTip)
            return widget;
    return nullptr;
}

// Beside the window it explains, wherever that window now stands: the frame goes where it
// hides least of it, the page inside what the frame leaves.
void QtHelpViewer::placeBeside(QWidget* explained) {
    QScreen* screen = explained->screen();
    if (!screen)
        return;
    QSize decoration = window_->frameGeometry().size() - window_->geometry().size();
    QSize least = window_->minimumSizeHint().expandedTo(window_->minimumSize()) + decoration;
    QRect frame = helpWindowPlace(explained->frameGeometry(), screen->availableGeometry(),
                                  QSize(WantedWidth, WantedHeight), least);
    window_->move(frame.topLeft());
    window_->resize(frame.size() - decoration);
}

void QtHelpViewer::showTopic(int context) {
    QString page = QString("topic%1.html").arg(context);
    if (!QFile::exists(toQt(helpFolder_) + page))
        page = "topic1.html";
    if (unattended_) {
        std::cerr << "Quillan: help topic " << context << "\n";
        return;
    }
    showWindow();
    // A word searched for before belongs to the search, not to the page shown now.
    field_->clear();
    browser_->setSource(QUrl::fromLocalFile(toQt(helpFolder_) + page));
}

std::vector<QtHelpViewer::Found> QtHelpViewer::find(const std::string& key) const {
    QDir folder(toQt(helpFolder_));
    QStringList words = toQt(key).split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
    QStringList pages = folder.entryList({"topic*.html"}, QDir::Files);
    std::sort(pages.begin(), pages.end(),
              [](const QString& a, const QString& b) { return topicNumber(a) < topicNumber(b); });
    std::vector<Found> found;
    for (const QString& name : pages) {
        QFile file(folder.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        QString html = QString::fromUtf8(file.readAll());
        QString text = pageText(html);
        bool all = std::all_of(words.begin(), words.end(), [&](const QString& word) {
            return text.contains(word, Qt::CaseInsensitive);
        });
        if (all)
            found.push_back({fromQt(name), fromQt(pageTitle(html, name))});
    }
    return found;
}

void QtHelpViewer::showResults(const std::string& key) {
    std::vector<Found> found = find(key);
    QString html = "<html><head><title>Topic Search</title></head><body><h2>Topic Search</h2>";
    if (key.empty())
        html += "<p>Type a word or two above and press Enter. Every page:</p>";
    else if (found.empty())
        html += "<p>No page holds " + toQt(key).toHtmlEscaped() + ".</p>";
    else
        html += "<p>Pages that hold " + toQt(key).toHtmlEscaped() + ":</p>";
    html += "<ul>";
    for (const Found& f : found)
        html += QString("<li><a href=\"%1\">%2</a></li>")
                    .arg(toQt(f.page), toQt(f.title).toHtmlEscaped());
    html += "</ul></body></html>";
    browser_->setHtml(html);
}

void QtHelpViewer::search(const std::string& key) {
    if (unattended_)
        return;
    showWindow();
    field_->setText(toQt(key));
    showResults(key);
    field_->setFocus();
    field_->selectAll();
}

void QtHelpViewer::quit() {
    if (window_)
        window_->close();
}

} // namespace platform
