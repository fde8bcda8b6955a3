// SPDX-License-Identifier: GPL-3.0-or-later
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

// Where the help pages may be, in the order they are tried: an explicit
// folder alone when one is given; otherwise the pages installed beside the
// program (so a packaged program never reads a stale copy elsewhere), a
// build folder's copy, and in a development build the install prefix chosen
// at build time and the source tree.
QStringList helpFolders() {
    const QString fromEnv = qEnvironmentVariable("ZEPHYRA_HELP_DIR");
    if (!fromEnv.isEmpty()) {
        return {fromEnv};
    }
    QStringList candidates;
    if (QCoreApplication::instance() != nullptr) {
        const QString programDir = QCoreApplication::applicationDirPath();
        candidates << programDir + QStringLiteral("/../share/zephyra/help")
                   << programDir + QStringLiteral("/help");
    }
#ifdef ZEPHYRA_HELP_INSTALL_DIR
    candidates << QStringLiteral(ZEPHYRA_HELP_INSTALL_DIR);
#endif
    const QString sourceDir = qEnvironmentVariable("ZEPHYRA_SOURCE_DIR");
    if (!sourceDir.isEmpty()) {
        candidates << sourceDir + QStringLiteral("/help");
    }
#ifdef ZEPHYRA_HELP_SOURCE_DIR
    candidates << QStringLiteral(ZEPHYRA_HELP_SOURCE_DIR);
#endif
    return candidates;
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
    // A folder that exists but lacks the page (a partial or hidden copy)
    // does not end the search: the next folder may have it.
    for (const QString& folder : helpFolders()) {
        const QDir dir(folder);
        if (!dir.exists()) {
            continue;
        }
        for (const QString& name : {QStringLiteral("%1.html").arg(context), QStringLiteral("index.html")}) {
            const QFileInfo page(dir.filePath(name));
            if (page.isFile()) {
                return page.canonicalFilePath();
            }
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
