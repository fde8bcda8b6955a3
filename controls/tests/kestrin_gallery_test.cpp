// SPDX-License-Identifier: GPL-3.0-or-later
// Renders one of every control kind, in the states a console shows, to a PNG
// for a person to look at; checks that every control drew something.
#include <kestrin.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>

#include <gtest/gtest.h>

namespace {

QIcon meterIcon() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 40, 40), 1.5));
    p.drawArc(QRectF(1.5, 4.5, 13, 13), 30 * 16, 120 * 16);
    p.drawLine(QPointF(8, 11), QPointF(11.5, 5));
    return QIcon(pixmap);
}

// A small front panel with every kind of control.
class Gallery : public QWidget {
public:
    Gallery() {
        resize(520, 250);
        setWindowTitle("Kestrin controls");

        auto* display = new CStaticFrameEx(this, 1, QRect(8, 6, 504, 108), "Main");
        display->SetTextSize(14);
        auto* freq = new CStaticEx(this, 2, QRect(20, 26, 230, 44), "14.195.000", Qt::AlignRight | Qt::AlignVCenter);
        freq->SetTextSize(41);
        freq->SetTextBold(1);
        freq->SetCharType("Arial");
        freq->SetBackColor(0x00302010);
        freq->SetForeColor(0x0000E0FF);
        auto* mode = new CStaticEx(this, 3, QRect(258, 26, 50, 20), "USB");
        mode->SetTextSize(15);
        mode->SetTextBold(1);
        auto* italic = new CStaticEx(this, 4, QRect(258, 48, 80, 20), "VFO A");
        italic->SetTextSize(14);
        italic->SetTextItalic(1);
        italic->SetCharType("Times New Roman");
        auto* icon = new CStaticEx(this, 5, QRect(318, 26, 16, 16));
        icon->LoadIcon(meterIcon());

        auto* scale = new CStaticEx(this, 6, QRect(20, 74, 240, 14), "--1--3--5--7--9---20---40---60dB");
        scale->SetTextSize(11);
        auto* sName = new CStaticEx(this, 7, QRect(264, 88, 30, 14), "S");
        sName->SetTextSize(14);
        sName->SetTextBold(1);
        auto* sMeter = new CStaticMeterEx(this, 8, QRect(20, 88, 240, 12));
        sMeter->SetTimerCount(1000);
        sMeter->ViewMeter(22);
        sMeter->ViewMeter(12);
        auto* sql = new CStaticMeterEx(this, 9, QRect(300, 88, 150, 12));
        sql->ViewMeter(8);
        sql->ViewSMeterSql(1, 14);
        sql->SetForeColor(0x0000C0FF);

        const char* lampNames[] = {"TX", "RX", "BUSY"};
        for (int i = 0; i < 3; ++i) {
            auto* lamp = new CStaticLEDEx(this, 20 + i, QRect(360 + i * 46, 30, 36, 14));
            lamp->SetOnColor(i == 0 ? 255 : 65280);
            lamp->SetOffColor(0);
            lamp->SetLEDON(i != 1);
            auto* lampName = new CStaticEx(this, 30 + i, QRect(360 + i * 46, 46, 36, 16), lampNames[i],
                                           Qt::AlignCenter);
            lampName->SetTextSize(12);
        }

        auto* group = new CStaticFrameEx(this, 40, QRect(8, 120, 250, 122), "Mode");
        group->SetTextSize(14);
        const char* modes[] = {"LSB", "USB", "CW", "FM", "AM", "FSK"};
        for (int i = 0; i < 6; ++i) {
            auto* b = new CCButtonEx(this, 50 + i, QRect(18 + (i % 3) * 78, 142 + (i / 3) * 30, 72, 24), modes[i]);
            if (i == 1) {
                b->SetBackColor(0x0000C000);
                b->SetTextBold(1);
            }
        }
        auto* b1 = new CButtonEx(this, 60, QRect(18, 206, 72, 26), "M.IN");
        b1->SetForeColor(0x00800000);
        auto* b2 = new CButtonEx(this, 61, QRect(96, 206, 72, 26), "TX");
        b2->SetBackColor(0x008080FF);
        auto* b3 = new CButtonEx(this, 62, QRect(174, 206, 30, 26));
        b3->LoadIcon(meterIcon());
        auto* disabled = new CCButtonEx(this, 63, QRect(210, 206, 40, 26), "SAT");
        disabled->setEnabled(false);

        auto* entry = new CStaticFrameEx(this, 70, QRect(266, 120, 246, 122), "Quick Memory");
        entry->SetTextSize(14);
        entry->SetForeColor(0x00800000);
        auto* edit = new CEditEx(this, 71, QRect(276, 144, 140, 24));
        edit->setText("CQ DX de QX9");
        edit->SetTextSize(15);
        auto* edit2 = new CEditEx(this, 72, QRect(276, 174, 140, 24));
        edit2->setText("7.050.00");
        edit2->SetBackColor(0x00C0FFFF);
        edit2->SetTextBold(1);
        auto* meter = new CStaticMeterEx(this, 73, QRect(276, 208, 226, 10));
        meter->SetForeColor(255);
        meter->ViewMeter(18);
        auto* backLabel = new CStaticEx(this, 74, QRect(424, 144, 78, 54), "SUB\nOFF", Qt::AlignCenter);
        backLabel->SetBackColor(0);
        backLabel->SetForeColor(0x0000FF00);
        backLabel->SetTextSize(16);
        backLabel->SetTextBold(1);
    }
};

TEST(KestrinGallery, EveryKindDrawsAndThePictureIsSaved) {
    Gallery gallery;
    const QImage image = gallery.grab().toImage();
    ASSERT_FALSE(image.isNull());
    for (QWidget* child : gallery.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        const QImage part = child->grab().toImage();
        const QColor first = part.pixelColor(0, 0);
        bool varied = false;
        for (int y = 0; y < part.height() && !varied; ++y) {
            for (int x = 0; x < part.width() && !varied; ++x) {
                varied = part.pixelColor(x, y) != first;
            }
        }
        EXPECT_TRUE(varied) << "control " << dynamic_cast<CKestrinControl*>(child)->controlId()
                            << " drew a single flat colour";
    }
    EXPECT_TRUE(image.save(QStringLiteral(KESTRIN_GALLERY_PNG)));
}

} // namespace
