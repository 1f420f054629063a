// The window under a dark desktop theme, set as a desktop sets it: qt6ct's own "darker" scheme
// in the test's HOME (with_dark_theme.sh), on X11 and under a Wayland compositor. What the
// toolkit draws inside the window reads as on a light desktop: measured from the window's
// pixels, with every place taken from the layout, as WCAG 2.1 measures contrast. Until the
// desktop asks for high contrast (its portal, on the test's own session bus): then the window
// takes the desktop's colours.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVirtualObject>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QTest>
#include <cmath>
#include <map>
#include <vector>

#include "qt_driven_runtime.h"
#include "runtime/qt/qt_contrast_preference.h"
#include "runtime_harness.h"
#include "test_random.h"
#include "window/frm_main.h"
#include "window/frm_main_layout.h"

namespace tolvane::window {
namespace {

double Luminance(QRgb c) {
  const auto channel = [](int v) {
    const double s = v / 255.0;
    return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
}
double Contrast(QRgb a, QRgb b) {
  const double x = Luminance(a), y = Luminance(b);
  return (std::max(x, y) + 0.05) / (std::min(x, y) + 0.05);
}

// In a region of an image: the colour most of it has, and the contrast of the pixel that stands
// out most from it (a glyph's, a tick's, an arrow's).
struct Measured {
  QRgb ground = 0;
  double contrast = 1;
};
Measured Measure(const QImage& image, const QRect& region) {
  std::map<QRgb, int> counts;
  const QRect inside = region & image.rect();
  for (int y = inside.top(); y <= inside.bottom(); ++y)
    for (int x = inside.left(); x <= inside.right(); ++x) ++counts[image.pixel(x, y) | 0xFF000000];
  Measured m;
  int most = 0;
  for (const auto& [color, count] : counts) {
    if (count > most) std::tie(most, m.ground) = std::tie(count, color);
  }
  for (const auto& [color, count] : counts)
    m.contrast = std::max(m.contrast, Contrast(color, m.ground));
  return m;
}

// The desktop portal's settings on a connection of its own to the session bus, as the desktop
// serves them: the appearance group with the contrast given, or none (a portal older than
// the setting, Debian 12's).
class FakePortal final : public QDBusVirtualObject {
 public:
  explicit FakePortal(QVariant contrast) : contrast_(std::move(contrast)) {
    qDBusRegisterMetaType<QMap<QString, QVariantMap>>();
    bus_.registerVirtualObject(kPath, this);
    if (!bus_.registerService(QStringLiteral("org.freedesktop.portal.Desktop")))
      ADD_FAILURE() << "no portal on a session bus of the test's own (dbus-run-session)";
  }
  ~FakePortal() override { QDBusConnection::disconnectFromBus(bus_.name()); }

  // Tells a change of a setting of the appearance group.
  void Tell(const QString& key, const QVariant& value) {
    QDBusMessage changed = QDBusMessage::createSignal(
        kPath, QStringLiteral("org.freedesktop.portal.Settings"), QStringLiteral("SettingChanged"));
    changed << QStringLiteral("org.freedesktop.appearance") << key
            << QVariant::fromValue(QDBusVariant(value));
    bus_.send(changed);
  }

  QString introspect(const QString&) const override { return {}; }
  bool handleMessage(const QDBusMessage& call, const QDBusConnection& connection) override {
    if (call.member() != QLatin1String("ReadAll")) return false;
    QMap<QString, QVariantMap> groups;
    if (contrast_.isValid())
      groups[QStringLiteral("org.freedesktop.appearance")]["contrast"] = contrast_;
    return connection.send(call.createReply(QVariant::fromValue(groups)));
  }

 private:
  static constexpr char kPath[] = "/org/freedesktop/portal/desktop";
  const QVariant contrast_;
  QDBusConnection bus_ = QDBusConnection::connectToBus(
      QDBusConnection::SessionBus, QStringLiteral("portal%1").arg(++connections));
  static inline int connections = 0;
};

class DarkTheme : public ::testing::Test {
 protected:
  explicit DarkTheme(QVariant contrast = {}) : portal(std::move(contrast)) {}
  void SetUp() override {
    runtime.Start(runtime.LastForm());
    runtime.Window().activateWindow();  // no window manager gives it the keyboard on Xvfb
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&runtime.Window()));
  }
  QWidget* At(std::size_t slot) { return runtime.WidgetAt(slot); }
  bool Active() {
    return QTest::qWaitFor([&] { return runtime.Window().isActiveWindow(); }, 30000);
  }
  // The widget as drawn in the window, with a region of it given in its own coordinates.
  QImage Drawn(QWidget& widget) { return widget.grab().toImage(); }
  QRect Scaled(const QImage& image, const QWidget& widget, QRect r) {
    const double scale = image.width() / static_cast<double>(widget.width());
    return QRect(std::floor(r.x() * scale), std::floor(r.y() * scale), std::ceil(r.width() * scale),
                 std::ceil(r.height() * scale));
  }

  FakePortal portal;
  testing::SeededSource random{38};
  testing::FixedInstance instance;
  testing::QtDrivenRuntime runtime{{random, instance}};
  frmMain form{runtime};
};

// Without a dark desktop palette the checks below would prove nothing.
TEST_F(DarkTheme, TheDesktopsPaletteIsDark) {
  EXPECT_LT(QApplication::palette().color(QPalette::Window).lightness(), 100);
  EXPECT_LT(QApplication::palette().color(QPalette::Base).lightness(), 100);
}

// Every text at least 4.5 : 1 against its background; the note's designed dark red on the
// designed grey is 3.6 : 1 on every desktop, light or dark, and is held to 3 : 1.
TEST_F(DarkTheme, EveryTextReads) {
  for (std::size_t slot = 0; slot < FrmMainLayout().controls.size(); ++slot) {
    QWidget* widget = At(slot);
    if (widget == nullptr || qobject_cast<QCheckBox*>(widget) || widget->children().size() > 3)
      continue;  // check boxes below; a frame's own text is its title, measured there
    const QImage image = Drawn(*widget);
    QRect text = widget->contentsRect();
    if (auto* list = qobject_cast<QComboBox*>(widget)) {
      QStyleOptionComboBox option;
      option.initFrom(list);
      text = list->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                           QStyle::SC_ComboBoxEditField, list);
    }
    const bool red = FrmMainLayout().controls[slot].foreColor != runtime::kBlack;
    EXPECT_GE(Measure(image, Scaled(image, *widget, text)).contrast, red ? 3.0 : 4.5)
        << widget->objectName().toStdString();
  }
  for (std::size_t slot : {ctl::chA, ctl::chB, ctl::chC, ctl::chD, ctl::chE, ctl::chF}) {
    auto& box = *static_cast<QCheckBox*>(At(slot));
    QStyleOptionButton option;
    option.initFrom(&box);
    const QRect caption = box.style()->subElementRect(QStyle::SE_CheckBoxContents, &option, &box);
    const QImage image = Drawn(box);
    EXPECT_GE(Measure(image, Scaled(image, box, caption)).contrast, 4.5)
        << box.objectName().toStdString();
  }
}

// A check box's tick against its box and an arrow against its button at least 3 : 1, and a
// checked box told from an unchecked one.
TEST_F(DarkTheme, TicksAndArrowsStandOut) {
  auto& digits = *static_cast<QCheckBox*>(At(ctl::chA));
  QStyleOptionButton option;
  option.initFrom(&digits);
  const QRect square =
      digits.style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, &digits);
  ASSERT_TRUE(digits.isChecked());
  const QImage checked = Drawn(digits);
  const Measured tick = Measure(checked, Scaled(checked, digits, square.adjusted(2, 2, -2, -2)));
  EXPECT_GE(tick.contrast, 3.0);
  digits.setChecked(false);
  const QImage unchecked = Drawn(digits);
  const Measured empty =
      Measure(unchecked, Scaled(unchecked, digits, square.adjusted(2, 2, -2, -2)));
  EXPECT_LT(empty.contrast, 1.5) << "an unchecked box holds no tick";
  digits.setChecked(true);

  for (std::size_t slot : {ctl::cmbSizeA, ctl::cmbSizeB}) {
    auto& list = *static_cast<QComboBox*>(At(slot));
    QStyleOptionComboBox combo;
    combo.initFrom(&list);
    const QRect arrow =
        list.style()->subControlRect(QStyle::CC_ComboBox, &combo, QStyle::SC_ComboBoxArrow, &list);
    const QImage image = Drawn(list);
    EXPECT_GE(Measure(image, Scaled(image, list, arrow)).contrast, 3.0)
        << list.objectName().toStdString();
  }
}

// The focus frame of each kind of control, as Tab brings the focus, at least 3 : 1 against
// what surrounds it: the pixels that change as the focus comes, against the colour they had.
TEST_F(DarkTheme, TheFocusFrameStandsOut) {
  ASSERT_TRUE(Active()) << "the window has the keyboard";
  const auto tabTo = [&](QWidget& widget) {
    for (int i = 0; i < 40 && !widget.hasFocus(); ++i) {
      QWidget* focus = runtime.Window().focusWidget();
      QTest::keyClick(focus != nullptr ? focus : &runtime.Window(), Qt::Key_Tab);
    }
    return widget.hasFocus();
  };
  for (std::size_t slot :
       {std::size_t{ctl::txtResults(1)}, std::size_t{ctl::cmbSizeA}, std::size_t{ctl::chA}}) {
    QWidget& widget = *At(slot);
    ASSERT_TRUE(tabTo(*At(slot == ctl::chA ? ctl::cmbSizeB : ctl::chA)));
    const QImage without = Drawn(widget);
    ASSERT_TRUE(tabTo(widget));
    const QImage with = Drawn(widget);
    double strongest = 1;
    for (int y = 0; y < with.height(); ++y) {
      for (int x = 0; x < with.width(); ++x) {
        if (with.pixel(x, y) != without.pixel(x, y))
          strongest = std::max(strongest, Contrast(with.pixel(x, y), without.pixel(x, y)));
      }
    }
    EXPECT_GE(strongest, 3.0) << widget.objectName().toStdString();
  }
}

// What the program hears of the desktop's wish: an unsigned 1 asks for high contrast; any
// other value, type or none does not. A change is followed, and only the contrast setting's.
TEST(ContrastPreference, OnlyAnUnsignedOneAsksAndItsChangesAreFollowed) {
  const std::vector<std::pair<QVariant, bool>> cases = {
      {QVariant(1u), true}, {QVariant(0u), false},  {QVariant(2u), false},
      {QVariant(1), false}, {QVariant("1"), false}, {QVariant(), false}};
  for (const auto& [value, high] : cases) {
    FakePortal portal(value);
    std::vector<bool> told;
    runtime::ContrastPreference preference([&](bool h) { told.push_back(h); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return told.size() == 1; }, 10000));
    EXPECT_EQ(preference.High(), high) << value.toString().toStdString();
    portal.Tell(QStringLiteral("color-scheme"), 1u);  // another setting: nothing to hear
    portal.Tell(QStringLiteral("contrast"), high ? 0u : 1u);
    ASSERT_TRUE(QTest::qWaitFor([&] { return told.size() >= 2; }, 10000));
    EXPECT_EQ(told, (std::vector<bool>{high, !high}));
  }
}

class HighContrast : public DarkTheme {
 protected:
  HighContrast() : DarkTheme(1u) {}
  // The window's surface as drawn, and each control's colours, as the high-contrast setting
  // gives them: the desktop's, or the designed.
  bool Shows(bool desktops) {
    const QPalette desktop = QApplication::palette();
    const QRgb surface =
        (desktops ? desktop.color(QPalette::Window) : runtime::ToQColor(FrmMainLayout().backColor))
            .rgb();
    const QImage drawn = Drawn(runtime.Window());
    if (Measure(drawn, drawn.rect()).ground != surface) return false;
    for (std::size_t slot = 0; slot < FrmMainLayout().controls.size(); ++slot) {
      const runtime::ControlLayout& control = FrmMainLayout().controls[slot];
      QWidget* widget = At(slot);
      if (widget == nullptr) continue;
      const bool field = qobject_cast<QLineEdit*>(widget) || qobject_cast<QComboBox*>(widget);
      const runtime::Color fore = control.kind == runtime::ControlKind::CheckBox
                                      ? runtime.LastForm().CheckBoxAt(slot).ForeColor()
                                      : control.foreColor;
      const QColor text = !desktops                 ? runtime::ToQColor(fore)
                          : fore != runtime::kBlack ? desktop.color(QPalette::Link)
                          : field                   ? desktop.color(QPalette::Text)
                                                    : desktop.color(QPalette::WindowText);
      const QColor back = !desktops ? runtime::ToQColor(control.backColor)
                                    : desktop.color(field ? QPalette::Base : QPalette::Window);
      const QPalette& own = widget->palette();
      if (own.color(field ? QPalette::Text : QPalette::WindowText) != text ||
          own.color(field ? QPalette::Base : QPalette::Window) != back)
        return false;
    }
    return true;
  }
};

// While the desktop asks for high contrast the window takes its colours, the note and a
// warning caption its link colour; when it stops asking, the designed colours come back.
TEST_F(HighContrast, TheWindowTakesTheDesktopsColoursWhileItAsks) {
  static_cast<QCheckBox*>(At(ctl::chE))->click();  // Cyrillic capitals on: a warning caption
  ASSERT_NE(runtime.LastForm().CheckBoxAt(ctl::chE).ForeColor(), runtime::kBlack);
  EXPECT_TRUE(QTest::qWaitFor([&] { return Shows(true); }, 10000));
  portal.Tell(QStringLiteral("contrast"), 0u);
  EXPECT_TRUE(QTest::qWaitFor([&] { return Shows(false); }, 10000));
}

}  // namespace
}  // namespace tolvane::window
