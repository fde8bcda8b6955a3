// SPDX-License-Identifier: GPL-3.0-or-later
// Every help page, opened the way F1 opens it, looks as its style sheet
// says: the page in the help window is compared, block by block, with the
// same page whose linked sheet is written into it.
#include <platform.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// The folder the program itself finds its pages in (in a development build
// the source tree's, unless a copy lies nearer the program).
QString helpFolder() {
    static const QString folder = [] {
        qunsetenv("ZEPHYRA_HELP_DIR");
        const QString index = platform::HelpPagePath(987654); // no page of its own: the index
        return index.isEmpty() ? QString() : QFileInfo(index).absolutePath();
    }();
    return folder;
}

QString readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QTextBrowser* helpWindow() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* b = qobject_cast<QTextBrowser*>(w); b != nullptr && b->isVisible()) {
            return b;
        }
    }
    return nullptr;
}

// What a reader sees of a block: its colour, its font and its size.
struct Look {
    QString text;
    QString colour;
    QStringList families;
    double size = 0;
    bool operator==(const Look&) const = default;
};

std::vector<Look> looks(const QTextDocument& document) {
    std::vector<Look> out;
    for (QTextBlock b = document.begin(); b.isValid(); b = b.next()) {
        const QTextBlock::iterator first = b.begin();
        if (first.atEnd()) {
            continue;
        }
        const QTextCharFormat format = first.fragment().charFormat();
        out.push_back({b.text().left(40), format.foreground().color().name(), format.fontFamilies().toStringList(),
                       format.fontPointSize()});
    }
    return out;
}

void checkPage(const QString& name) {
    const QString html = readAll(helpFolder() + "/" + name);
    ASSERT_FALSE(html.isEmpty()) << name.toStdString();

    // The page's own sheet, written into the page itself.
    static const QRegularExpression link(QStringLiteral("<link\\b[^>]*\\bhref=\"([^\"]+\\.css)\"[^>]*>"));
    const QRegularExpressionMatch match = link.match(html);
    ASSERT_TRUE(match.hasMatch()) << name.toStdString() << " links no style sheet";
    const QString sheet = readAll(helpFolder() + "/" + match.captured(1));
    ASSERT_FALSE(sheet.isEmpty()) << match.captured(1).toStdString();
    QString inlined = html;
    inlined.replace(match.capturedStart(), match.capturedLength(), "<style>" + sheet + "</style>");
    QTextDocument expected;
    expected.setHtml(inlined);

    // The page as F1 shows it: a context without a page of its own opens the index.
    const int context = name == QLatin1String("index.html") ? 987654 : QFileInfo(name).baseName().toInt();
    platform::ShowHelp(context);
    QTextBrowser* window = helpWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(window->source().toLocalFile().endsWith("/" + name)) << window->source().toString().toStdString();

    const std::vector<Look> shown = looks(*window->document());
    const std::vector<Look> wanted = looks(expected);
    ASSERT_EQ(shown.size(), wanted.size()) << name.toStdString();
    for (std::size_t i = 0; i < shown.size(); ++i) {
        EXPECT_EQ(shown[i], wanted[i]) << name.toStdString() << ": \"" << wanted[i].text.toStdString() << "\" shown in "
                                       << shown[i].colour.toStdString() << " "
                                       << shown[i].families.join(",").toStdString() << ", the sheet says "
                                       << wanted[i].colour.toStdString() << " "
                                       << wanted[i].families.join(",").toStdString();
    }
    // The sheet gives the pages colours of their own: a page that came out
    // in the default black everywhere was not styled at all.
    const bool coloured = std::any_of(shown.begin(), shown.end(), [](const Look& l) {
        return l.colour != QLatin1String("#000000");
    });
    EXPECT_TRUE(coloured) << name.toStdString();
}

// Every page of the help folder, each opened in turn in the one help window.
TEST(HelpStyle, EveryPageInTheHelpWindowHasItsStyleSheet) {
    const QStringList pages = QDir(helpFolder()).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
    ASSERT_TRUE(pages.contains(QStringLiteral("index.html"))) << helpFolder().toStdString();
    qputenv("ZEPHYRA_HELP_DIR", helpFolder().toLocal8Bit());
    for (const QString& name : pages) {
        SCOPED_TRACE(name.toStdString());
        checkPage(name);
    }
    qunsetenv("ZEPHYRA_HELP_DIR");
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (qobject_cast<QTextBrowser*>(w) != nullptr) {
            delete w;
        }
    }
}

} // namespace
