// frmMain as the Qt runtime draws it: size, colors, fonts, captions and icon, checked on the
// rendered window. Runs at scale factor 1 and 2 (QT_SCALE_FACTOR), and on a 144 dpi screen
// with the toolkit's scaling off, where the layout itself must grow and no caption may clip.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QTest>

#include "qt_driven_runtime.h"
#include "runtime_harness.h"
#include "test_random.h"
#include "window/frm_main.h"
#include "window/frm_main_layout.h"

namespace tolvane::window {
namespace {

QColor Color(runtime::Color c) {
  return QColor(runtime::RedOf(c), runtime::GreenOf(c), runtime::BlueOf(c));
}

class Rendered : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    app_ = new App;
    app_->runtime.Start(app_->runtime.LastForm());
    QWidget& window = app_->runtime.Window();
    window.activateWindow();
    (void)QTest::qWaitForWindowExposed(&window);
    image_ = new QImage(window.grab().toImage());
  }
  static void TearDownTestSuite() {
    delete image_;
    delete app_;
  }

  struct App {
    testing::SeededSource random{2026};
    testing::FixedInstance instance;
    testing::QtDrivenRuntime runtime{{random, instance}};
    frmMain form{runtime};
  };

  static QWidget& Window() { return app_->runtime.Window(); }
  static QWidget* At(std::size_t slot) { return app_->runtime.WidgetAt(slot); }
  static const runtime::ControlLayout& LayoutOf(std::size_t slot) {
    return FrmMainLayout().controls[slot];
  }
  // The color drawn at a point given in the window's logical pixels.
  static QColor Pixel(QPoint logical) {
    const double ratio = image_->devicePixelRatio();
    return image_->pixelColor(
        QPoint(static_cast<int>(logical.x() * ratio), static_cast<int>(logical.y() * ratio)));
  }
  static QPoint InWindow(std::size_t slot, QPoint local) {
    return At(slot)->mapTo(&Window(), local);
  }

  static App* app_;
  static QImage* image_;
};

Rendered::App* Rendered::app_ = nullptr;
QImage* Rendered::image_ = nullptr;

TEST_F(Rendered, ClientAreaAndTitleAreFixed) {
  EXPECT_EQ(Window().windowTitle(), "Tolvane");
  EXPECT_FALSE(Window().windowIcon().isNull());
  // 6765 x 6045 twips: 451 x 403 at 96 dpi, 677 x 605 at 144 with the toolkit's scaling off.
  const int dpi = qRound(QApplication::primaryScreen()->logicalDotsPerInchY());
  ASSERT_TRUE(dpi == 96 || dpi == 144) << dpi;
  const QSize client = dpi == 96 ? QSize(451, 403) : QSize(677, 605);
  EXPECT_EQ(Window().size(), client);
  EXPECT_EQ(Window().minimumSize(), Window().maximumSize());
  const double ratio = QApplication::primaryScreen()->devicePixelRatio();
  EXPECT_EQ(image_->size(), client * ratio);
}

TEST_F(Rendered, BackgroundsAreLightGreyAndFieldsVeryLightGrey) {
  const QColor panel = Color(kPanelGrey);
  const QColor field = Color(kFieldGrey);
  // Points from the layout: the middle of the gap between the frames, and inside the options
  // frame halfway between its edge and its controls, level with the length row.
  const int gap = (At(ctl::frOptions)->geometry().bottom() + 1 + At(ctl::frResults)->y()) / 2;
  const QRect lengthRow = At(ctl::lblSize)->geometry();
  EXPECT_EQ(Pixel({2, 2}), panel) << "window";
  EXPECT_EQ(Pixel({Window().width() / 2, gap}), panel) << "between the frames";
  EXPECT_EQ(Pixel(InWindow(ctl::frOptions, {lengthRow.x() / 2, lengthRow.center().y()})), panel)
      << "options frame";
  // Beside each text: halfway between where it ends and where its field ends.
  const auto advance = [](QWidget* w, const QString& text) {
    return QFontMetrics(w->font()).horizontalAdvance(text);
  };
  auto* label = static_cast<QLabel*>(At(ctl::lblA));
  EXPECT_EQ(Pixel(InWindow(ctl::lblA, {(label->width() - advance(label, label->text())) / 2,
                                       label->height() / 2})),
            panel)
      << "label, left of its right-aligned text";
  auto* box = static_cast<QCheckBox*>(At(ctl::chA));
  QStyleOptionButton boxOption;
  boxOption.initFrom(box);
  const QRect caption = box->style()->subElementRect(QStyle::SE_CheckBoxContents, &boxOption, box);
  const int captionEnd = caption.left() + advance(box, box->text());
  EXPECT_EQ(Pixel(InWindow(ctl::chA, {(captionEnd + box->width()) / 2, box->height() / 2})), panel)
      << "check box, right of its caption";
  for (int i = 1; i <= 10; ++i) {
    auto* result = static_cast<QLineEdit*>(At(ctl::txtResults(i)));
    const int textEnd = result->contentsRect().left() + advance(result, result->text());
    EXPECT_EQ(Pixel(InWindow(ctl::txtResults(i),
                             {(textEnd + result->width()) / 2, result->height() / 2})),
              field)
        << "result box " << i;
  }
  for (std::size_t slot : {ctl::cmbSizeA, ctl::cmbSizeB}) {
    auto* list = static_cast<QComboBox*>(At(slot));
    QStyleOptionComboBox listOption;
    listOption.initFrom(list);
    const QRect edit = list->style()->subControlRect(QStyle::CC_ComboBox, &listOption,
                                                     QStyle::SC_ComboBoxEditField, list);
    const int textEnd = edit.left() + advance(list, list->currentText());
    EXPECT_EQ(Pixel(InWindow(slot, {(textEnd + edit.right()) / 2, edit.center().y()})), field)
        << LayoutOf(slot).name;
  }
}

// Counts the pixels inside a widget that pass a test.
template <typename Test>
int CountPixels(const QImage& image, const QRect& logical, Test test) {
  const double ratio = image.devicePixelRatio();
  const QRect r(logical.topLeft() * ratio, logical.size() * ratio);
  int n = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) n += test(image.pixelColor(x, y));
  return n;
}

QRect WindowRect(QWidget* widget, QWidget* window) {
  return QRect(widget->mapTo(window, QPoint()), widget->size());
}

TEST_F(Rendered, OnlyTheInfoLineIsDarkRedAndTheRestIsBlack) {
  const QColor red = Color(kWarnColor);
  const auto isRed = [&](const QColor& c) { return c == red; };
  // Text is antialiased: thin black strokes blend with the grey, so look for dark neutral ink.
  const auto isReddish = [](const QColor& c) { return c.red() > c.green() + 40; };
  const auto isBlack = [](const QColor& c) {
    return c.red() < 0x40 && c.red() == c.green() && c.green() == c.blue();
  };
  EXPECT_GT(CountPixels(*image_, WindowRect(At(ctl::lblInfo), &Window()), isRed), 100);
  const QRect above(0, 0, Window().width(), At(ctl::lblInfo)->y());
  EXPECT_EQ(CountPixels(*image_, above, isReddish), 0);
  for (std::size_t slot : {ctl::lblA, ctl::lblD, ctl::lblSize, ctl::chB, ctl::chF}) {
    EXPECT_GT(CountPixels(*image_, WindowRect(At(slot), &Window()), isBlack), 10)
        << LayoutOf(slot).name;
  }
}

// A warning reddens a check box's caption; its box and tick keep the toolkit's colours.
TEST_F(Rendered, AWarningReddensTheCaptionButNotTheTick) {
  auto* box = static_cast<QCheckBox*>(At(ctl::chE));
  const auto isReddish = [](const QColor& c) { return c.red() > c.green() + 40; };
  box->click();  // Cyrillic capitals on: the warning
  ASSERT_TRUE(box->isChecked());
  const QImage drawn = box->grab().toImage();
  QStyleOptionButton option;
  option.initFrom(box);
  const QRect tick = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
  const QRect caption = box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box);
  EXPECT_GT(CountPixels(drawn, caption, isReddish), 10);
  EXPECT_EQ(CountPixels(drawn, tick, isReddish), 0);
  box->click();  // as it was, for the other tests
}

// The font drawn, whatever the system has: Calibri or Carlito, its metric twin, at 9 points,
// bold for the note only.
TEST_F(Rendered, FontIsCalibriNinePointOrItsMetricTwin) {
  for (std::size_t slot : std::initializer_list<std::size_t>{
           ctl::lblA, ctl::chA, ctl::frOptions, ctl::txtResults(1), ctl::cmbSizeA, ctl::lblInfo}) {
    const QFontInfo drawn(At(slot)->font());
    EXPECT_TRUE(drawn.family() == "Calibri" || drawn.family() == "Carlito") << LayoutOf(slot).name;
    EXPECT_EQ(drawn.pointSize(), 9) << LayoutOf(slot).name;
    EXPECT_EQ(drawn.bold(), slot == ctl::lblInfo) << LayoutOf(slot).name;
  }
}

// Every caption is shown whole: the set labels, the check boxes and the note.
TEST_F(Rendered, NoCaptionIsClipped) {
  for (std::size_t slot :
       {ctl::lblA, ctl::lblB, ctl::lblC, ctl::lblD, ctl::lblE, ctl::lblF, ctl::lblSize, ctl::chA,
        ctl::chB, ctl::chC, ctl::chD, ctl::chE, ctl::chF, ctl::lblInfo}) {
    EXPECT_LE(At(slot)->sizeHint().width(), At(slot)->width()) << LayoutOf(slot).name;
  }
}

}  // namespace
}  // namespace tolvane::window
