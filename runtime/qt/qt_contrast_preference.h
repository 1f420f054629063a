#pragma once

#include <QDBusVariant>
#include <QObject>
#include <QString>
#include <functional>

namespace tolvane::runtime {

// Whether the desktop asks for high contrast: the desktop portal's appearance setting
// "contrast" (1: higher contrast), asked for as the program starts, without waiting for the
// answer, and followed while it runs. Each value the portal tells is handed on. Without a
// portal, or with one that does not know the setting (before xdg-desktop-portal 1.18), the
// desktop asks for nothing.
class ContrastPreference final : public QObject {
  Q_OBJECT

 public:
  explicit ContrastPreference(std::function<void(bool high)> told);
  bool High() const { return high_; }

 private slots:
  void SettingChanged(const QString& group, const QString& key, const QDBusVariant& value);

 private:
  void Take(const QVariant& value);

  std::function<void(bool)> told_;
  bool high_ = false;
  bool changed_ = false;  // a change came before the answer, which then tells an older value
};

}  // namespace tolvane::runtime
