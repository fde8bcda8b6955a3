// pandor-render: opens each of the seven panels headless and writes it to
// <folder>/pandor_<key>.png, with a caption strip below the window that names
// its title and size (a grab holds the window's content, not its frame).
//
//   QT_QPA_PLATFORM=offscreen pandor-render /tmp/panels
#include <pandor.h>
#include <platform.h>

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

#include <cstdio>
#include <functional>

namespace {

struct Entry {
    const char* key;
    std::function<void()> view;
};

QWidget* FindPanel(const char* key) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->objectName() == QLatin1String(key)) {
            return widget;
        }
    }
    return nullptr;
}

bool Render(QWidget* panel, const QString& path) {
    const QPixmap content = panel->grab();
    const int captionHeight = 22;
    QImage image(content.width(), content.height() + captionHeight, QImage::Format_RGB32);
    image.fill(QColor(0x30, 0x30, 0x30));
    QPainter painter(&image);
    painter.drawPixmap(0, 0, content);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(4, content.height(), content.width() - 8, captionHeight),
                     Qt::AlignVCenter | Qt::AlignLeft,
                     QStringLiteral("\"%1\"  %2 x %3").arg(panel->windowTitle()).arg(panel->width()).arg(panel->height()));
    painter.end();
    return image.save(path);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: pandor-render <folder>\n");
        return 2;
    }
    QApplication app(argc, argv);
    platform::InitApplication();
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "pandor-render: cannot create %s\n", argv[1]);
        return 1;
    }
    const Entry entries[] = {
        {"Agc", [] { RadioAgcView(nullptr); }},
        {"Mch", [] { RadioMchView(nullptr); }},
        {"Mgr", [] { RadioMgrView(nullptr); }},
        {"Mlt", [] { PandorView(nullptr, 2); }},
        {"Set", [] { QuorelView(nullptr); }},
        {"Sgr", [] { RadioSgrView(nullptr); }},
        {"Smn", [] { RadioSmnView(nullptr); PandorSetSmn("AO-91"); }},
    };
    int failures = 0;
    for (const Entry& entry : entries) {
        entry.view();
        QApplication::processEvents();
        QWidget* panel = FindPanel(entry.key);
        const QString path = QDir(folder).filePath(QStringLiteral("pandor_%1.png").arg(QLatin1String(entry.key)));
        if (panel == nullptr || !Render(panel, path)) {
            std::fprintf(stderr, "pandor-render: %s failed\n", entry.key);
            ++failures;
            continue;
        }
        std::printf("%s\n", qPrintable(path));
    }
    PandorUnload();
    return failures == 0 ? 0 : 1;
}
