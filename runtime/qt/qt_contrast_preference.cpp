#include "runtime/qt/qt_contrast_preference.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QMap>
#include <QVariantMap>

namespace tolvane::runtime {
namespace {

constexpr char kPortal[] = "org.freedesktop.portal.Desktop";
constexpr char kPortalPath[] = "/org/freedesktop/portal/desktop";
constexpr char kSettings[] = "org.freedesktop.portal.Settings";
constexpr char kAppearance[] = "org.freedesktop.appearance";
constexpr char kContrast[] = "contrast";

}  // namespace

ContrastPreference::ContrastPreference(std::function<void(bool)> told) : told_(std::move(told)) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return;
  // Only the portal's own signals: the bus tells the sender, and Qt matches it to the name.
  bus.connect(kPortal, kPortalPath, kSettings, QStringLiteral("SettingChanged"), this,
              SLOT(SettingChanged(QString, QString, QDBusVariant)));
  // ReadAll is in every version of the interface, and its answer is never wrapped twice.
  QDBusMessage read =
      QDBusMessage::createMethodCall(kPortal, kPortalPath, kSettings, QStringLiteral("ReadAll"));
  read << QStringList{QString::fromLatin1(kAppearance)};
  auto* answer = new QDBusPendingCallWatcher(bus.asyncCall(read), this);
  connect(answer, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
    w->deleteLater();
    const QDBusMessage reply = w->reply();
    if (changed_ || reply.type() != QDBusMessage::ReplyMessage || reply.signature() != "a{sa{sv}}")
      return;
    QMap<QString, QVariantMap> groups;
    reply.arguments().at(0).value<QDBusArgument>() >> groups;
    Take(groups.value(kAppearance).value(kContrast));
  });
}

void ContrastPreference::SettingChanged(const QString& group, const QString& key,
                                        const QDBusVariant& value) {
  if (group != kAppearance || key != kContrast) return;
  changed_ = true;
  Take(value.variant());
}

// An unsigned 1 and nothing else: whatever another value or type means, it is no request.
void ContrastPreference::Take(const QVariant& value) {
  high_ = value.typeId() == QMetaType::UInt && value.toUInt() == 1;
  if (told_) told_(high_);
}

}  // namespace tolvane::runtime
