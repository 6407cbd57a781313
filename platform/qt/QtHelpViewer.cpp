#include "platform/qt/QtHelpViewer.h"

#include "platform/qt/QtText.h"

#include <QDir>
#include <QFile>
#include <QTextBrowser>
#include <QUrl>
#include <iostream>

namespace platform {

QtHelpViewer::QtHelpViewer(std::string helpFolder, bool unattended)
    : helpFolder_(std::move(helpFolder)), unattended_(unattended) {}

QtHelpViewer::~QtHelpViewer() = default;

QTextBrowser& QtHelpViewer::browser() {
    if (!browser_) {
        browser_ = std::make_unique<QTextBrowser>();
        browser_->setWindowTitle("Quillan Help");
        browser_->setSearchPaths({toQt(helpFolder_)});
        browser_->setOpenLinks(true);
        browser_->resize(640, 560);
    }
    return *browser_;
}

void QtHelpViewer::showTopic(int context) {
    QString page = QString("topic%1.html").arg(context);
    if (!QFile::exists(toQt(helpFolder_) + page))
        page = "topic1.html";
    if (unattended_) {
        std::cerr << "Quillan: help topic " << context << "\n";
        return;
    }
    QTextBrowser& b = browser();
    b.setSource(QUrl::fromLocalFile(toQt(helpFolder_) + page));
    b.show();
    b.raise();
}

void QtHelpViewer::search(const std::string& key) {
    QDir folder(toQt(helpFolder_));
    QString needle = toQt(key);
    QString html = "<h2>Search</h2><ul>";
    for (const QString& name : folder.entryList({"topic*.html"}, QDir::Files, QDir::Name)) {
        QFile file(folder.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        QString text = QString::fromUtf8(file.readAll());
        if (!needle.isEmpty() && !text.contains(needle, Qt::CaseInsensitive))
            continue;
        QString title = name;
        int start = text.indexOf("<title>");
        int end = text.indexOf("</title>");
        if (start >= 0 && end > start)
            title = text.mid(start + 7, end - start - 7);
        html += QString("<li><a href=\"%1\">%2</a></li>").arg(name, title.toHtmlEscaped());
    }
    html += "</ul>";
    if (unattended_)
        return;
    QTextBrowser& b = browser();
    b.setHtml(html);
    b.show();
    b.raise();
}

void QtHelpViewer::quit() {
    if (browser_)
        browser_->close();
}

} // namespace platform
