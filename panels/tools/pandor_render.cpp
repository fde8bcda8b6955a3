// SPDX-License-Identifier: GPL-3.0-or-later
// pandor-render: opens each of the seven panels headless and writes it to
// <folder>/pandor_<key>.png, with a caption strip below the window that names
// its title and size (a grab holds the window's content, not its frame).
//
//   QT_QPA_PLATFORM=offscreen pandor-render /tmp/panels
#include <pandor.h>
#include <render_tool.h>

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

// The panel with its caption strip, or nothing without a panel.
QImage Captioned(QWidget* panel) {
    if (panel == nullptr) {
        return {};
    }
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
    return image;
}

// The multi-function, group and AGC panels in the states worth looking at:
// pandor_<key>_<state>.png. Each state opens its panel afresh.
struct State {
    const char* key;
    const char* name;
    std::function<void()> show;
    const char* openList = nullptr; // also render this list's open popup
};

// The open drop-down of a list, as the picture of `name`.
void SavePopup(render_tool::RenderFolder& pictures, QWidget* panel, const char* listName, const QString& name) {
    auto* box = panel->findChild<QComboBox*>(QLatin1String(listName));
    if (box == nullptr) {
        pictures.Note(false, name, QStringLiteral("the panel has no list %1").arg(QLatin1String(listName)));
        return;
    }
    box->showPopup();
    QApplication::processEvents();
    pictures.Save(box->view()->window(), name);
    box->hidePopup();
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

void RenderStates(render_tool::RenderFolder& pictures) {
    const render_tool::ConsoleStandIn console; // the panels take the console's font
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
    for (const State& state : states) {
        state.show();
        QApplication::processEvents();
        QWidget* panel = FindPanel(state.key);
        const QString name = QStringLiteral("%1_%2").arg(QLatin1String(state.key), QLatin1String(state.name));
        pictures.Save(Captioned(panel), name);
        if (panel != nullptr && state.openList != nullptr) {
            SavePopup(pictures, panel, state.openList, name + QStringLiteral("_popup"));
        }
        PandorUnload();
    }
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

void RenderSetupStates(render_tool::RenderFolder& pictures) {
    const render_tool::ConsoleStandIn console; // the console's font, as in RenderStates
    const auto save = [&](QWidget* panel, const char* state) {
        pictures.Save(Captioned(panel), QStringLiteral("Set_%1").arg(QLatin1String(state)));
    };
    QuorelView(nullptr);
    QApplication::processEvents();
    QWidget* panel = FindPanel("Set");
    if (panel == nullptr) {
        pictures.Fail(QStringLiteral("no setup panel for its states"));
        return;
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
    SavePopup(pictures, panel, "24047", QStringLiteral("Set_ports_popup")); // the port list
    QuorelDestroy();
}

} // namespace

int main(int argc, char** argv) {
    return render_tool::RunRenderTool(argc, argv, "pandor", [](render_tool::RenderFolder& pictures) {
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
        for (const Entry& entry : entries) {
            entry.view();
            QApplication::processEvents();
            pictures.Save(Captioned(FindPanel(entry.key)), QLatin1String(entry.key));
        }
        PandorUnload();
        RenderStates(pictures);
        RenderSetupStates(pictures);
    });
}
