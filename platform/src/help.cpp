// help.cpp - help pages by context number, shown in a small help window.
#include "platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>

namespace platform {

namespace {

std::function<void(int, const QString&)>& viewerSlot() {
    static std::function<void(int, const QString&)> viewer;
    return viewer;
}

// Where the help pages are: an explicit folder, the installed pages, the
// source tree of a development build, or beside the program.
QString helpFolder() {
    QStringList candidates;
    const QString fromEnv = qEnvironmentVariable("ZEPHYRA_HELP_DIR");
    if (!fromEnv.isEmpty()) {
        candidates << fromEnv;
    }
    candidates << QStringLiteral(ZEPHYRA_HELP_INSTALL_DIR);
    const QString sourceDir = qEnvironmentVariable("ZEPHYRA_SOURCE_DIR");
    if (!sourceDir.isEmpty()) {
        candidates << sourceDir + QStringLiteral("/help");
    }
    candidates << QStringLiteral(ZEPHYRA_HELP_SOURCE_DIR);
    if (QCoreApplication::instance() != nullptr) {
        const QString programDir = QCoreApplication::applicationDirPath();
        candidates << programDir + QStringLiteral("/help")
                   << programDir + QStringLiteral("/../share/zephyra/help");
    }
    for (const QString& candidate : candidates) {
        const QFileInfo info(candidate);
        if (info.isDir()) {
            return info.canonicalFilePath();
        }
    }
    return {};
}

void showInHelpWindow(const QString& page) {
    static QPointer<QTextBrowser> window;
    if (window.isNull()) {
        window = new QTextBrowser();
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->setWindowTitle(QStringLiteral("Zephyra Help"));
        window->setOpenExternalLinks(true);
        window->document()->setDocumentMargin(12);
        window->resize(640, 480);
    }
    window->setSearchPaths({QFileInfo(page).absolutePath()});
    window->setSource(QUrl::fromLocalFile(page));
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

QString HelpPagePath(int context) {
    const QString folder = helpFolder();
    if (folder.isEmpty()) {
        return {};
    }
    const QDir dir(folder);
    for (const QString& name : {QStringLiteral("%1.html").arg(context), QStringLiteral("index.html")}) {
        const QFileInfo page(dir.filePath(name));
        if (page.isFile()) {
            return page.absoluteFilePath();
        }
    }
    return {};
}

void SetHelpViewer(std::function<void(int context, const QString& page)> viewer) {
    viewerSlot() = std::move(viewer);
}

void ShowHelp(int context) {
    const QString page = HelpPagePath(context);
    if (viewerSlot()) {
        viewerSlot()(context, page);
        return;
    }
    if (page.isEmpty()) {
        MessageBox(QStringLiteral("No help page was found for this window."), QStringLiteral("Zephyra"),
                   MbOk | MbIconInformation);
        return;
    }
    showInHelpWindow(page);
}

} // namespace platform
