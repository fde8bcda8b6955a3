// SPDX-License-Identifier: GPL-3.0-or-later
// pandor-render: opens each of the seven panels headless and writes it to
// <folder>/pandor_<key>.png, with a caption strip below the window that names
// its title and size (a grab holds the window's content, not its frame).
//
//   QT_QPA_PLATFORM=offscreen pandor-render /tmp/panels
#include <pandor.h>
#include <platform.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFont>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QWidget>

#include <cstdint>
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

// The multi-function, group and AGC panels in the states worth looking at:
// pandor_<key>_<state>.png. Each state opens its panel afresh.
struct State {
    const char* key;
    const char* name;
    std::function<void()> show;
    const char* openList = nullptr; // also render this list's open popup
};

// The open drop-down of a list, as its own picture.
bool RenderPopup(QWidget* panel, const char* listName, const QString& path) {
    auto* box = panel->findChild<QComboBox*>(QLatin1String(listName));
    if (box == nullptr) {
        return false;
    }
    box->showPopup();
    QApplication::processEvents();
    QWidget* popup = box->view()->window();
    const bool saved = popup != nullptr && popup->grab().save(path);
    box->hidePopup();
    return saved;
}

void MultiLevels() {
    PandorMsgNR(1);
    PandorMsgVG(5);
    PandorMsgVD(450);
    PandorMsgPL(50, 40);
    PandorMsgRL(3);
    PandorMsgAL(0);
    PandorMsgTN(39);
    PandorMsgCN(13);
    PandorMsgNL(10);
    PandorMsgQC(103);
    PandorMsgOF(59'950'000);
    PandorMsgMG(100);
    PandorMsgKS(60);
    PandorMsgML(0);
    PandorMsgCG(100);
    PandorMsgSD(0);
    PandorMsgPC(100);
}

void Groups(std::uint32_t band) {
    PandorMsgDC(0, band);
    PandorMsgMU(1, 0, 1, 1, 0, 0, 1, 0, 0, 1);
    PandorMsgSU(1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1);
}

int RenderStates(const QString& folder) {
    // The panels take the console's font: Times New Roman, 13 pixels.
    QWidget console;
    QFont consoleFont(QStringLiteral("Times New Roman"));
    consoleFont.setPixelSize(13);
    console.setFont(consoleFont);
    platform::SetMainWindow(&console);
    const State states[] = {
        {"Mlt", "id19_fm", [] { PandorFreqChg(12); PandorView(nullptr, 4); PandorMsgID(19); MultiLevels(); }},
        {"Mlt", "id18_ssb", [] { PandorFreqChg(1); PandorView(nullptr, 2); PandorMsgID(18); MultiLevels(); }},
        {"Mlt", "1200_am", [] { PandorFreqChg(14); PandorView(nullptr, 5); PandorMsgID(19); MultiLevels(); PandorMsgPC(3); },
         "list24032"},
        {"Mlt", "nr2", [] { PandorFreqChg(1); PandorView(nullptr, 2); PandorMsgID(19); MultiLevels(); PandorMsgNR(2); }, "list24016"},
        {"Mlt", "offset", [] { PandorView(nullptr, 2); MultiLevels(); PandorMsgOF(600'000); }, "list24028"},
        {"Mlt", "tone", [] { PandorView(nullptr, 2); MultiLevels(); PandorMsgTN(12); }, "list24020"},
        {"Mlt", "dcs", [] { PandorView(nullptr, 2); MultiLevels(); PandorMsgQC(40); }, "list24026"},
        {"Mgr", "main", [] { RadioMgrView(nullptr); Groups(0); }},
        {"Mgr", "sub", [] { RadioMgrView(nullptr); Groups(1); }},
        {"Sgr", "main", [] { RadioSgrView(nullptr); Groups(0); }},
        {"Sgr", "sub", [] { RadioSgrView(nullptr); Groups(1); }},
        {"Agc", "fm", [] { RadioAgcView(nullptr); RadioAgcMsgMD(4); PandorMsgGT(14); }},
        {"Agc", "ssb", [] { RadioAgcView(nullptr); RadioAgcMsgMD(2); PandorMsgGT(6); }},
    };
    int failures = 0;
    for (const State& state : states) {
        state.show();
        QApplication::processEvents();
        QWidget* panel = FindPanel(state.key);
        const QString path = QDir(folder).filePath(
            QStringLiteral("pandor_%1_%2.png").arg(QLatin1String(state.key), QLatin1String(state.name)));
        if (panel == nullptr || !Render(panel, path)) {
            std::fprintf(stderr, "pandor-render: %s %s failed\n", state.key, state.name);
            ++failures;
        } else {
            std::printf("%s\n", qPrintable(path));
        }
        if (panel != nullptr && state.openList != nullptr) {
            const QString popupPath = QDir(folder).filePath(
                QStringLiteral("pandor_%1_%2_popup.png").arg(QLatin1String(state.key), QLatin1String(state.name)));
            if (RenderPopup(panel, state.openList, popupPath)) {
                std::printf("%s\n", qPrintable(popupPath));
            } else {
                std::fprintf(stderr, "pandor-render: %s %s popup failed\n", state.key, state.name);
                ++failures;
            }
        }
        PandorUnload();
    }
    platform::SetMainWindow(nullptr);
    return failures;
}

// The setup panel with rows stepped by mouse presses, with the radio on, in
// entry mode with a frequency half typed, and with its port list open:
// pandor_Set_<state>.png. Nothing is written to the profile (no OK).
void PressDigit(QWidget* panel, int row, int position, Qt::MouseButton button, int times) {
    auto* digit = panel->findChild<QWidget*>(QStringLiteral("digit%1_%2").arg(row).arg(position));
    if (digit == nullptr) {
        return;
    }
    const QPointF at(digit->width() / 2.0, digit->height() / 2.0);
    for (int i = 0; i < times; ++i) {
        QMouseEvent press(QEvent::MouseButtonPress, at, digit->mapToGlobal(at), button, button, Qt::NoModifier);
        QApplication::sendEvent(digit, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, digit->mapToGlobal(at), button, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(digit, &release);
    }
}

void TypeKeys(QWidget* panel, const char* keys) {
    for (const char* k = keys; *k != '\0'; ++k) {
        QWidget* target = panel->focusWidget() != nullptr ? panel->focusWidget() : panel;
        const int key = *k == '.' ? Qt::Key_Period : Qt::Key_0 + (*k - '0');
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(QLatin1Char(*k)));
        QApplication::sendEvent(target, &press);
    }
}

int RenderSetupStates(const QString& folder) {
    QWidget console; // the console's font, as in RenderStates
    QFont consoleFont(QStringLiteral("Times New Roman"));
    consoleFont.setPixelSize(13);
    console.setFont(consoleFont);
    platform::SetMainWindow(&console);
    int failures = 0;
    auto save = [&](QWidget* panel, const char* state) {
        const QString path = QDir(folder).filePath(QStringLiteral("pandor_Set_%1.png").arg(QLatin1String(state)));
        if (panel == nullptr || !Render(panel, path)) {
            std::fprintf(stderr, "pandor-render: Set %s failed\n", state);
            ++failures;
        } else {
            std::printf("%s\n", qPrintable(path));
        }
    };
    QuorelView(nullptr);
    QApplication::processEvents();
    QWidget* panel = FindPanel("Set");
    if (panel == nullptr) {
        std::fprintf(stderr, "pandor-render: Set states failed\n");
        platform::SetMainWindow(nullptr);
        return 1;
    }
    // Main 1.296 GHz... up to the largest value on SATL Up.
    PressDigit(panel, 0, 1, Qt::RightButton, 1);
    PressDigit(panel, 0, 3, Qt::RightButton, 2);
    PressDigit(panel, 0, 4, Qt::RightButton, 9);
    PressDigit(panel, 0, 5, Qt::RightButton, 6);
    PressDigit(panel, 1, 3, Qt::RightButton, 2);
    PressDigit(panel, 1, 4, Qt::RightButton, 8);
    PressDigit(panel, 2, 2, Qt::RightButton, 4);
    PressDigit(panel, 2, 3, Qt::RightButton, 3);
    PressDigit(panel, 2, 4, Qt::RightButton, 2);
    for (int position = 0; position < 11; ++position) {
        PressDigit(panel, 3, position, Qt::RightButton, 10);
    }
    PandorMsgPS(1);
    QApplication::processEvents();
    save(panel, "stepped_radio_on");
    if (auto* ent = panel->findChild<QPushButton*>(QStringLiteral("24130"))) {
        ent->click();
        TypeKeys(panel, "144.1");
    }
    QApplication::processEvents();
    save(panel, "entry");
    TypeKeys(panel, "23456"); // the eleventh digit ends entry
    QApplication::processEvents();
    save(panel, "entry_done");
    const QString popup = QDir(folder).filePath(QStringLiteral("pandor_Set_ports_popup.png"));
    if (RenderPopup(panel, "24047", popup)) { // the port list
        std::printf("%s\n", qPrintable(popup));
    } else {
        std::fprintf(stderr, "pandor-render: Set ports popup failed\n");
        ++failures;
    }
    QuorelDestroy();
    platform::SetMainWindow(nullptr);
    return failures;
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
        {"Mch", [] {
             RadioMchView(nullptr);
             // A repeater channel with a separate transmit frequency.
             PandorSetMemVal(145'650'000, 0, 4, 2, 145'050'000, 0, 4, 2, 600'000, 2, 0, 12, 12, 14, 2, 3,
                             "W1AW", 1);
         }},
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
    failures += RenderStates(folder);
    failures += RenderSetupStates(folder);
    return failures == 0 ? 0 : 1;
}
