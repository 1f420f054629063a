#include "runtime/qt/qt_accessibility_guard.h"

#include <QAccessible>
#include <QAccessibleEditableTextInterface>
#include <QAccessibleTableInterface>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QGuiApplication>
#include <QHash>
#include <QSet>
#include <QTimer>
#include <QXmlStreamReader>
#include <algorithm>
#include <optional>

#include "runtime/qt/qt_accessible_text.h"

namespace tolvane::runtime {
namespace {

// Where and on which connection the toolkit's bridge serves the accessibility bus.
const QString kBus = QStringLiteral("a11y");
const QString kBridgePath = QStringLiteral("/org/a11y/atspi/accessible");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kText = QStringLiteral("org.a11y.atspi.Text");
const QString kEditableText = QStringLiteral("org.a11y.atspi.EditableText");
const QString kTable = QStringLiteral("org.a11y.atspi.Table");

// AT-SPI methods the bridge may answer without declaring them, with their arguments: screen
// readers' libraries ask for a node's interfaces so, and properties may be read as methods.
const QHash<QString, QString> kUndeclared = {
    {QStringLiteral("org.a11y.atspi.Accessible.GetInterfaces"), {}},
    {QStringLiteral("org.a11y.atspi.Accessible.GetName"), {}},
    {QStringLiteral("org.a11y.atspi.Accessible.GetDescription"), {}},
    {QStringLiteral("org.a11y.atspi.Accessible.GetParent"), {}},
    {QStringLiteral("org.a11y.atspi.Accessible.GetChildCount"), {}},
    {QStringLiteral("org.a11y.atspi.Text.GetCaretOffset"), {}},
    {QStringLiteral("org.a11y.atspi.Text.GetCharacterCount"), {}},
    {QStringLiteral("org.a11y.atspi.Text.GetStringAtOffset"), QStringLiteral("iu")},
    {QStringLiteral("org.a11y.atspi.Text.ScrollSubstringTo"), QStringLiteral("iiu")},
    {QStringLiteral("org.a11y.atspi.Text.ScrollSubstringToPoint"), QStringLiteral("iiuii")},
    {QStringLiteral("org.a11y.atspi.Component.ScrollTo"), QStringLiteral("u")},
    {QStringLiteral("org.a11y.atspi.Component.ScrollToPoint"), QStringLiteral("uii")},
};

// AT-SPI's coordinate types and clip types.
enum Coordinates : uint { kScreen = 0, kWindow = 1, kParent = 2 };
enum Clip : uint { kClipNone = 0, kClipMin = 1, kClipMax = 2, kClipBoth = 3 };

// A range of text as GetBoundedRanges gives it: (iisv).
struct BoundedRange {
  int start = 0;
  int end = 0;
  QString text;
};
QDBusArgument& operator<<(QDBusArgument& out, const BoundedRange& range) {
  out.beginStructure();
  out << range.start << range.end << range.text << QDBusVariant(QString());
  out.endStructure();
  return out;
}
const QDBusArgument& operator>>(const QDBusArgument& in, BoundedRange& range) {
  QDBusVariant data;
  in.beginStructure();
  in >> range.start >> range.end >> range.text >> data;
  in.endStructure();
  return in;
}

}  // namespace
}  // namespace tolvane::runtime

Q_DECLARE_METATYPE(tolvane::runtime::BoundedRange)

namespace tolvane::runtime {
namespace {

// What the bridge declares of a node: its methods with their arguments, its properties.
struct Declared {
  QHash<QString, QString> methods;  // "Interface.Method": the arguments' signature
  QHash<QString, QStringList> argumentNames;
  QSet<QString> readable, writable;  // "Interface.Property"
};

// The bridge gives a node's interfaces side by side, without the node around them.
Declared Parse(const QString& introspection) {
  Declared declared;
  QXmlStreamReader xml(QLatin1String("<node>") + introspection + QLatin1String("</node>"));
  QString interface, method, arguments;
  QStringList names;
  while (!xml.atEnd()) {
    xml.readNext();
    const auto attribute = [&](const char* name) {
      return xml.attributes().value(QLatin1String(name)).toString();
    };
    if (xml.isStartElement() && xml.name() == QLatin1String("interface")) {
      interface = attribute("name");
    } else if (xml.isStartElement() && xml.name() == QLatin1String("method")) {
      method = interface + u'.' + attribute("name");
      arguments.clear();
      names.clear();
    } else if (xml.isStartElement() && xml.name() == QLatin1String("arg") && !method.isEmpty() &&
               attribute("direction") != QLatin1String("out")) {
      arguments += attribute("type");
      names.append(attribute("name"));
    } else if (xml.isEndElement() && xml.name() == QLatin1String("method")) {
      declared.methods.insert(method, arguments);
      declared.argumentNames.insert(method, names);
      method.clear();
    } else if (xml.isStartElement() && xml.name() == QLatin1String("property")) {
      const QString name = interface + u'.' + attribute("name");
      const QString access = attribute("access");
      if (access.contains(QLatin1String("read"))) declared.readable.insert(name);
      if (access.contains(QLatin1String("write"))) declared.writable.insert(name);
    }
  }
  return declared;
}

// The node a path names, as the bridge names them: the application, or an interface's id.
QAccessibleInterface* NodeAt(const QString& path) {
  const QString id = path.section(u'/', -1);
  if (id == QLatin1String("root")) return QAccessible::queryAccessibleInterface(qApp);
  bool ok = false;
  const uint number = id.toUInt(&ok);
  return ok ? QAccessible::accessibleInterface(number) : nullptr;
}

// A rectangle on screen in the caller's coordinates: relative to the node's window or its
// parent, as the bridge gives them.
std::optional<QRect> InCoordinates(QAccessibleInterface& node, QRect rect, uint coordinates) {
  QAccessibleInterface* relativeTo = nullptr;
  if (coordinates == kWindow) {
    const QAccessibleInterface* app = QAccessible::queryAccessibleInterface(qApp);
    relativeTo = &node;
    while (relativeTo->parent() != nullptr && relativeTo->parent() != app &&
           relativeTo->role() != QAccessible::Window && relativeTo->role() != QAccessible::Dialog)
      relativeTo = relativeTo->parent();
  } else if (coordinates == kParent) {
    relativeTo = node.parent();
  } else if (coordinates != kScreen) {
    return std::nullopt;
  }
  if (relativeTo != nullptr) rect.translate(-relativeTo->rect().topLeft());
  return rect;
}

// Whether a character's extent on one axis, [low, high), passes the clip type within the
// box's, [boxLow, boxHigh). In 64 bits: the caller's box may reach past the int range.
bool Passes(qint64 low, qint64 high, qint64 boxLow, qint64 boxHigh, uint clip) {
  const bool overlaps = low < boxHigh && high > boxLow;
  switch (clip) {
    case kClipMin:
      return overlaps && low >= boxLow;
    case kClipMax:
      return overlaps && high <= boxHigh;
    case kClipBoth:
      return low >= boxLow && high <= boxHigh;
    default:
      return overlaps;
  }
}

class BridgeGuard final : public QDBusVirtualObject {
 public:
  explicit BridgeGuard(QDBusVirtualObject& bridge) : QDBusVirtualObject(&bridge), bridge_(bridge) {}

  QString introspect(const QString& path) const override { return bridge_.introspect(path); }

  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
    const QString interface = message.interface();
    // Introspection and Peer are the bus library's own, once the bridge declines them.
    if (message.member() == QLatin1String("Introspect") ||
        interface == QLatin1String("org.freedesktop.DBus.Peer") ||
        interface == QLatin1String("org.freedesktop.DBus.Introspectable")) {
      return bridge_.handleMessage(message, connection);
    }
    const QString refusal = Refusal(message);
    if (!refusal.isEmpty()) {
      connection.send(message.createErrorReply(QDBusError::InvalidArgs, refusal));
      return true;
    }
    QAccessibleInterface* node = NodeAt(message.path());
    const QString method = interface + u'.' + message.member();
    if (node != nullptr && node->textInterface() != nullptr) {
      if (method == kText + QLatin1String(".GetRangeExtents"))
        return Answer(connection, message, RangeExtents(*node, message.arguments()));
      if (method == kText + QLatin1String(".GetBoundedRanges"))
        return Answer(connection, message, BoundedRanges(*node, message.arguments()));
    }
    if (node != nullptr && method == kEditableText + QLatin1String(".InsertText"))
      return Answer(connection, message, InsertText(*node, message.arguments()));
    if (node != nullptr && node->valueInterface() != nullptr &&
        method == QLatin1String("org.a11y.atspi.Value.SetCurrentValue")) {
      node->valueInterface()->setCurrentValue(message.arguments().at(0));
      return Answer(connection, message, QVariantList{});
    }
    if (method == kProperties + QLatin1String(".Set") &&
        message.arguments().at(0) == QLatin1String("org.a11y.atspi.Application")) {
      bridge_.handleMessage(message, connection);  // takes the registry's id, answers nothing
      if (!message.isReplyRequired()) return true;
      return Answer(connection, message, QVariantList{});
    }
    return bridge_.handleMessage(message, connection);
  }

 private:
  // Why the call cannot go on, or nothing when it can.
  QString Refusal(const QDBusMessage& message) {
    const Declared& declared = DeclaredAt(message.path());
    const QString signature = message.signature();
    const QVariantList arguments = message.arguments();
    if (message.interface() == kProperties) {
      const QString name = signature.startsWith(QLatin1String("ss"))
                               ? arguments.at(0).toString() + u'.' + arguments.at(1).toString()
                               : QString();
      if (message.member() == QLatin1String("Get") && signature == QLatin1String("ss") &&
          declared.readable.contains(name))
        return {};
      if (message.member() == QLatin1String("Set") && signature == QLatin1String("ssv") &&
          declared.writable.contains(name))
        return {};
      return QStringLiteral("no such property, or not so");
    }
    const QString method = message.interface() + u'.' + message.member();
    const auto declaredHere = declared.methods.constFind(method);
    const auto undeclared = kUndeclared.constFind(method);
    if (declaredHere == declared.methods.cend() && undeclared == kUndeclared.cend())
      return QStringLiteral("no such method: ") + method;
    const QString& expected = declaredHere != declared.methods.cend() ? *declaredHere : *undeclared;
    if (signature != expected)
      return QStringLiteral("%1 takes (%2), not (%3)").arg(method, expected, signature);
    if (message.interface() == kTable &&
        !CellsInside(NodeAt(message.path()), declared.argumentNames.value(method), arguments))
      return QStringLiteral("no such row, column or cell");
    return {};
  }

  // A table's rows, columns and cells by number, as its arguments are named: the bridge
  // takes them as they come.
  static bool CellsInside(QAccessibleInterface* node, const QStringList& names,
                          const QVariantList& arguments) {
    QAccessibleTableInterface* table = node != nullptr ? node->tableInterface() : nullptr;
    if (table == nullptr) return false;
    for (qsizetype i = 0; i < names.size() && i < arguments.size(); ++i) {
      const int number = arguments.at(i).toInt();
      const int end = names[i] == QLatin1String("row")      ? table->rowCount()
                      : names[i] == QLatin1String("column") ? table->columnCount()
                      : names[i] == QLatin1String("index")  ? node->childCount()
                                                            : number + 1;
      if (number < 0 || number >= end) return false;
    }
    return true;
  }

  const Declared& DeclaredAt(const QString& path) {
    const QString introspection = bridge_.introspect(path);
    auto found = declared_.find(introspection);
    if (found == declared_.end()) found = declared_.insert(introspection, Parse(introspection));
    return *found;
  }

  static bool Answer(const QDBusConnection& connection, const QDBusMessage& message,
                     const std::optional<QVariantList>& reply) {
    connection.send(reply ? message.createReply(*reply)
                          : message.createErrorReply(QDBusError::InvalidArgs,
                                                     QStringLiteral("no such coordinates")));
    return true;
  }

  // The characters of the range that lie in the text, one by one: as many as the text has.
  static std::optional<QVariantList> RangeExtents(QAccessibleInterface& node,
                                                  const QVariantList& arguments) {
    QAccessibleTextInterface& text = *node.textInterface();
    const TextSpan span =
        ClampedSpan(arguments.at(0).toInt(), arguments.at(1).toInt(), text.characterCount());
    if (span.start >= span.end) return QVariantList{-1, -1, 0, 0};
    QRect rect;
    for (int i = span.start; i < span.end; ++i) rect |= text.characterRect(i);
    const auto placed = InCoordinates(node, rect, arguments.at(2).toUInt());
    if (!placed) return std::nullopt;
    return QVariantList{placed->x(), placed->y(), placed->width(), placed->height()};
  }

  // The runs of characters inside the box, each character tried once.
  static std::optional<QVariantList> BoundedRanges(QAccessibleInterface& node,
                                                   const QVariantList& arguments) {
    QAccessibleTextInterface& text = *node.textInterface();
    const qint64 x = arguments.at(0).toInt(), y = arguments.at(1).toInt();
    const qint64 width = std::max(0, arguments.at(2).toInt());
    const qint64 height = std::max(0, arguments.at(3).toInt());
    const uint coordinates = arguments.at(4).toUInt();
    const uint clipX = arguments.at(5).toUInt(), clipY = arguments.at(6).toUInt();
    QList<BoundedRange> ranges;
    for (int i = 0, count = text.characterCount(); i < count; ++i) {
      const auto at = InCoordinates(node, text.characterRect(i), coordinates);
      if (!at) return std::nullopt;
      const bool inside = at->isValid() &&
                          Passes(at->x(), qint64{at->x()} + at->width(), x, x + width, clipX) &&
                          Passes(at->y(), qint64{at->y()} + at->height(), y, y + height, clipY);
      if (!inside) continue;
      if (ranges.isEmpty() || ranges.last().end != i) ranges.append({i, i, {}});
      ranges.last().end = i + 1;
    }
    for (BoundedRange& range : ranges) range.text = text.text(range.start, range.end);
    return QVariantList{QVariant::fromValue(ranges)};
  }

  // The text's first `length` characters (all of them for a length outside it) at the
  // position, which the box's own rule checks.
  static std::optional<QVariantList> InsertText(QAccessibleInterface& node,
                                                const QVariantList& arguments) {
    QAccessibleEditableTextInterface* editable = node.editableTextInterface();
    if (editable == nullptr) return QVariantList{false};
    const QString text = arguments.at(1).toString();
    const int length = arguments.at(2).toInt();
    editable->insertText(arguments.at(0).toInt(),
                         length >= 0 && length < text.size() ? text.left(length) : text);
    return QVariantList{true};
  }

  QDBusVirtualObject& bridge_;
  QHash<QString, Declared> declared_;  // by the bridge's introspection of a node
};

// Puts the guard in front of the bridge once the bridge is on the bus; only once.
void GuardWhenServing() {
  QDBusConnection bus(kBus);
  auto* bridge = qobject_cast<QDBusVirtualObject*>(bus.objectRegisteredAt(kBridgePath));
  if (!bus.isConnected() || bridge == nullptr || dynamic_cast<BridgeGuard*>(bridge)) return;
  auto* guard = new BridgeGuard(*bridge);  // the bridge's child: it lives as long
  bus.unregisterObject(kBridgePath);
  if (!bus.registerVirtualObject(kBridgePath, guard, QDBusConnection::SubPath)) {
    bus.registerVirtualObject(kBridgePath, bridge, QDBusConnection::SubPath);
    delete guard;
  }
}

// The bridge starts serving the bus just after it tells observers that accessibility is on.
class BridgeWatch final : public QAccessible::ActivationObserver {
 public:
  void accessibilityActiveChanged(bool active) override {
    if (active) QTimer::singleShot(0, qApp, GuardWhenServing);
  }
};

}  // namespace

void GuardAccessibilityBridge() {
  static const bool installed = [] {
    qDBusRegisterMetaType<BoundedRange>();
    qDBusRegisterMetaType<QList<BoundedRange>>();
    static BridgeWatch watch;
    QAccessible::installActivationObserver(&watch);
    QTimer::singleShot(0, qApp, GuardWhenServing);  // in case it already serves
    return true;
  }();
  (void)installed;
}

}  // namespace tolvane::runtime
