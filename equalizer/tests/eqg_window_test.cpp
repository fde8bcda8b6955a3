// SPDX-License-Identifier: GPL-3.0-or-later
// The samples window: what it shows at opening, the type list and the
// picture buttons, the pictures drawn from each sample's own taps, the
// confirmation and the keys.
#include "eqg_picture.h"
#include "samples_expected.h"
#include "window_helpers.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QTest>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

namespace {

using namespace testing_tonwell;
using tonwell::CEqgWindow;

class SamplesWindowTest : public testing::Test {
protected:
    void SetUp() override {
        dialogs = std::make_shared<platform::ScriptedDialogs>();
        platform::SetDialogProvider(dialogs);
        RadioEqgView(nullptr);
        window = FindWindow<CEqgWindow>();
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override {
        RadioEqgDestroy();
        platform::SetDialogProvider(nullptr);
    }
    QPushButton* SampleButton(int sample) const { return Child<QPushButton>(window, tonwell::kIdSample1 + sample - 1); }
    QComboBox* Types() const { return Child<QComboBox>(window, tonwell::kIdSampleTypeList); }
    QRadioButton* Rx() const { return Child<QRadioButton>(window, tonwell::kIdSampleRx); }
    QRadioButton* Tx() const { return Child<QRadioButton>(window, tonwell::kIdSampleTx); }
    QPushButton* Write() const { return Child<QPushButton>(window, tonwell::kIdSampleWrite); }
    QPushButton* Close() const { return Child<QPushButton>(window, tonwell::kIdSampleClose); }

    std::shared_ptr<platform::ScriptedDialogs> dialogs;
    CEqgWindow* window = nullptr;
};

TEST_F(SamplesWindowTest, OpensOnTheFirstSampleOfHighBoostForReceive) {
    EXPECT_EQ(window->windowTitle(), "Audio Editor - Samples");
    EXPECT_EQ(window->size(), QSize(704, 321));
    QStringList types;
    for (int i = 0; i < Types()->count(); ++i) types << Types()->itemText(i);
    EXPECT_EQ(types, QStringList({"  High Boost", "  Bass Boost 1", "  Bass Boost 2", "  BEF", "  Etc. 1",
                                  "  Etc. 2", "  Flat"}));
    EXPECT_EQ(Types()->currentIndex(), 0);
    EXPECT_EQ(window->type(), 1);
    EXPECT_EQ(window->sample(), 1);
    EXPECT_TRUE(SampleButton(1)->isChecked());
    EXPECT_TRUE(Rx()->isChecked());
    EXPECT_FALSE(Tx()->isChecked());
    EXPECT_EQ(Rx()->text(), "RX EQ.");
    EXPECT_EQ(Tx()->text(), "TX EQ.");
    EXPECT_EQ(window->pictureIds(), (std::array<int, 5>{3104, 3101, 3102, 3103, 3100}));
    // Every control lies inside the window, none on another.
    std::vector<QRect> placed;
    for (QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->isVisibleTo(window) || child->objectName() == "3064" || child->objectName() == "3032") continue;
        EXPECT_TRUE(window->rect().contains(child->geometry())) << child->objectName().toStdString();
        for (const QRect& other : placed) EXPECT_FALSE(other.intersects(child->geometry())) << child->objectName().toStdString();
        placed.push_back(child->geometry());
    }
}

TEST_F(SamplesWindowTest, ChangingTheTypeLoadsItsPicturesAndSelectsSampleOne) {
    SampleButton(4)->click();
    EXPECT_EQ(window->sample(), 4);
    EXPECT_FALSE(SampleButton(1)->isChecked());
    Types()->setCurrentIndex(3);
    EXPECT_EQ(window->type(), 4);
    EXPECT_EQ(window->sample(), 1);
    EXPECT_EQ(window->pictureIds(), (std::array<int, 5>{3084, 3081, 3082, 3083, 3080}));
    SampleButton(5)->click();
    Types()->setCurrentIndex(6);
    EXPECT_EQ(window->sample(), 1);
    EXPECT_EQ(window->pictureIds(), (std::array<int, 5>{3099, 3096, 3097, 3098, 3095}));
}

TEST_F(SamplesWindowTest, EachButtonShowsThePictureOfItsSample) {
    for (int type = 1; type <= 7; ++type) {
        Types()->setCurrentIndex(type - 1);
        for (int sample = 1; sample <= 5; ++sample) {
            const QImage expected =
                tonwell::SamplePicture(tonwell::SampleTapText(type, sample), type).convertToFormat(QImage::Format_RGB32);
            const QImage shown = SampleButton(sample)->icon().pixmap(expected.size()).toImage().convertToFormat(QImage::Format_RGB32);
            EXPECT_EQ(shown, expected) << type << "/" << sample;
            EXPECT_EQ(SampleButton(sample)->iconSize(), QSize(216, 129));
        }
    }
}

TEST_F(SamplesWindowTest, CancelInTheQuestionSendsNothingAndTheQuestionNamesTheEqualiser) {
    dialogs->answers = {platform::IdCancel, platform::IdCancel};
    Write()->click();
    Tx()->click();
    Write()->click();
    ASSERT_EQ(dialogs->messages.size(), 2u);
    EXPECT_EQ(dialogs->messages[0].text, "Set to RX Filter OK?");
    EXPECT_EQ(dialogs->messages[1].text, "Set to TX Filter OK?");
    EXPECT_EQ(dialogs->messages[1].caption, "Audio Editor Sample");
    EXPECT_EQ(dialogs->messages[1].flags, platform::MbOkCancel | platform::MbIconQuestion | platform::MbDefButton2);
}

TEST_F(SamplesWindowTest, EnterWritesUnlessCloseHasTheFocus) {
    dialogs->answers = {platform::IdCancel};
    Types()->setFocus();
    QTest::keyClick(Types(), Qt::Key_Return);
    EXPECT_EQ(dialogs->messages.size(), 1u);
    EXPECT_TRUE(window->isVisible());
    Close()->setFocus();
    QTest::keyClick(Close(), Qt::Key_Return);
    EXPECT_EQ(dialogs->messages.size(), 1u);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(SamplesWindowTest, CloseHidesAndKeepsTheChoice) {
    Types()->setCurrentIndex(2);
    SampleButton(3)->click();
    Tx()->click();
    Close()->click();
    EXPECT_FALSE(window->isVisible());
    RadioEqgView(nullptr);
    EXPECT_EQ(FindWindow<CEqgWindow>(), window);
    EXPECT_EQ(window->type(), 3);
    EXPECT_EQ(window->sample(), 3);
    EXPECT_TRUE(Tx()->isChecked());
}

// ------------------------------------------------------------ pictures

// The level of the taps at `hz`, computed here as a direct DFT.
double DirectDb(std::string_view text, double hz) {
    double re = 0, im = 0;
    for (int k = 0; k < 32; ++k) {
        int v = std::stoi(std::string(text.substr(static_cast<std::size_t>(4 * k), 4)), nullptr, 16);
        if (v >= 32768) v -= 65536;
        const double phase = 2.0 * std::numbers::pi * hz * k / 12000.0;
        re += v / 32768.0 * std::cos(phase);
        im -= v / 32768.0 * std::sin(phase);
    }
    return 10.0 * std::log10(re * re + im * im);
}

bool Dark(QRgb pixel) { return qRed(pixel) < 110 && qGreen(pixel) < 110 && qBlue(pixel) < 110; }

// The picture's curve passes the level of the taps in each column checked:
// some dark pixel lies within two pixels of where the level belongs.
struct CurveCase {
    int type;
    int sample;
};
class PictureCurve : public testing::TestWithParam<CurveCase> {};

TEST_P(PictureCurve, FollowsTheResponseOfItsTaps) {
    const auto [type, sample] = GetParam();
    const std::string_view text = tonwell::SampleTapText(type, sample);
    const QImage picture = tonwell::SamplePicture(text, type);
    const tonwell::PictureAxes axes = tonwell::PictureAxesFor(type);
    int checked = 0;
    for (int column = 4; column < axes.width - 4; column += 7) {
        // Frequency and level positions worked out here from the axes' ends.
        const double share = static_cast<double>(column) / axes.width;
        const double hz = axes.logarithmic ? 10.0 * std::pow(500.0, share) : 5000.0 * share;
        const double db = DirectDb(text, hz);
        if (db > axes.topDb - 1 || db < axes.bottomDb + 1) continue; // held at an edge
        const double y = axes.top + axes.height * (axes.topDb - db) / (axes.topDb - axes.bottomDb);
        // Where the curve is steep it crosses many rows in a column: only the
        // gentle parts are checked to the pixel.
        const double next = DirectDb(text, axes.logarithmic ? 10.0 * std::pow(500.0, share + 1.0 / axes.width)
                                                            : 5000.0 * (share + 1.0 / axes.width));
        if (std::abs(next - db) * axes.height / (axes.topDb - axes.bottomDb) > 3) continue;
        bool found = false;
        for (int dy = -2; dy <= 2 && !found; ++dy) {
            const int py = static_cast<int>(std::lround(y)) + dy;
            if (py >= 0 && py < picture.height()) found = Dark(picture.pixel(axes.left + column, py));
        }
        EXPECT_TRUE(found) << "column " << column << " (" << hz << " Hz, " << db << " dB, y " << y << ")";
        ++checked;
    }
    EXPECT_GT(checked, 10);
}

INSTANTIATE_TEST_SUITE_P(Samples, PictureCurve,
                         testing::Values(CurveCase{1, 1}, CurveCase{1, 5}, CurveCase{2, 3}, CurveCase{3, 1},
                                         CurveCase{4, 1}, CurveCase{4, 3}, CurveCase{5, 2}, CurveCase{6, 3},
                                         CurveCase{7, 1}, CurveCase{7, 5}),
                         [](const auto& p) {
                             return "Type" + std::to_string(p.param.type) + "Sample" + std::to_string(p.param.sample);
                         });

TEST(SamplePicture, SizeColourAndBackground) {
    const QImage picture = tonwell::SamplePicture(tonwell::SampleTapText(1, 1), 1);
    EXPECT_EQ(picture.size(), QSize(216, 129));
    EXPECT_EQ(picture.format(), QImage::Format_RGB888);
    EXPECT_EQ(picture.depth(), 24);
    EXPECT_EQ(picture.pixel(1, 1), qRgb(255, 192, 128));
    EXPECT_EQ(picture.pixel(214, 2), qRgb(255, 192, 128));
}

TEST(SamplePicture, AnotherTapTextDrawsAnotherCurve) {
    const std::string original(tonwell::SampleTapText(7, 1));
    std::string changed = original;
    changed.replace(60, 8, "7FFF7FFF"); // two taps near the centre at full scale
    const QImage a = tonwell::SamplePicture(original, 7);
    const QImage b = tonwell::SamplePicture(changed, 7);
    EXPECT_NE(a, b);
    // The same text draws the same picture.
    EXPECT_EQ(a, tonwell::SamplePicture(original, 7));
}

TEST(SamplePicture, TextThatIsNoTapTextDrawsNoCurve) {
    const QImage picture = tonwell::SamplePicture("not taps", 1);
    const tonwell::PictureAxes axes = tonwell::PictureAxesFor(1);
    int dark = 0;
    for (int y = axes.top + 2; y < axes.top + axes.height - 2; ++y) {
        for (int x = axes.left + 2; x < axes.left + axes.width - 2; ++x) dark += Dark(picture.pixel(x, y)) ? 1 : 0;
    }
    EXPECT_EQ(dark, 0);
    const QImage flat = tonwell::SamplePicture(tonwell::SampleTapText(7, 1), 7);
    int curve = 0;
    for (int y = axes.top + 2; y < axes.top + axes.height - 2; ++y) {
        for (int x = axes.left + 2; x < axes.left + axes.width - 2; ++x) curve += Dark(flat.pixel(x, y)) ? 1 : 0;
    }
    EXPECT_GT(curve, axes.width);
}

} // namespace
