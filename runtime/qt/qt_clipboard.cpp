#include "runtime/qt/qt_clipboard.h"

#include <string.h>  // explicit_bzero

#include <QClipboard>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMimeData>
#include <cstdlib>
#include <utility>
#include <vector>

namespace tolvane::runtime {
namespace {

bool Owns(const QClipboard& clipboard, QClipboard::Mode mode) {
  switch (mode) {
    case QClipboard::Clipboard:
      return clipboard.ownsClipboard();
    case QClipboard::Selection:
      return clipboard.ownsSelection();
    case QClipboard::FindBuffer:
      return clipboard.ownsFindBuffer();
  }
  return false;
}

class SecretCopy;
// While the process serves a copy unseen: the copy and the status the program ends with.
SecretCopy* served = nullptr;
int servedStatus = 0;

// Every format the toolkit offered for a copy, plus the hint, in bytes held here alone: each
// reader gets a copy of its own, so the held bytes are never shared and are overwritten when
// the toolkit lets go of the copy (another program took the clipboard, or it was cleared).
class SecretCopy final : public QMimeData {
 public:
  explicit SecretCopy(const QMimeData& copied) {
    for (const QString& format : copied.formats()) Hold(format, copied.data(format));
    Hold(QString::fromLatin1(kPasswordManagerHint), "secret");
  }
  ~SecretCopy() override {
    Wipe();
    if (served == this) served = nullptr;
  }
  void Wipe() {
    for (auto& [format, bytes] : held_) explicit_bzero(bytes.data(), bytes.size());
  }

  QStringList formats() const override {
    QStringList formats;
    for (const auto& [format, bytes] : held_) formats.push_back(format);
    return formats;
  }
  bool hasFormat(const QString& format) const override { return Find(format) != nullptr; }

 protected:
  QVariant retrieveData(const QString& format, QMetaType) const override {
    const QByteArray* bytes = Find(format);
    if (bytes == nullptr) return {};
    return QByteArray(bytes->constData(), bytes->size());
  }

 private:
  void Hold(const QString& format, const QByteArray& bytes) {
    held_.emplace_back(format, QByteArray(bytes.constData(), bytes.size()));
  }
  const QByteArray* Find(const QString& format) const {
    for (const auto& [name, bytes] : held_) {
      if (name == format) return &bytes;
    }
    return nullptr;
  }

  std::vector<std::pair<QString, QByteArray>> held_;
};

SecretCopy* OwnedSecretCopy() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard->ownsClipboard()) return nullptr;
  return dynamic_cast<SecretCopy*>(const_cast<QMimeData*>(clipboard->mimeData()));
}

// When the display goes, the toolkit warns and ends the process itself with status 1. For a
// process that serves a copy unseen that is its normal end: no word, the copy overwritten,
// and the program's own status.
void EndServingWithTheDisplay() {
  if (served == nullptr) return;
  served->Wipe();
  std::_Exit(servedStatus);
}
void Silent(QtMsgType, const QMessageLogContext&, const QString&) {}

}  // namespace

void MarkCopiesAsSecret(QObject& context) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  QObject::connect(clipboard, &QClipboard::changed, &context, [clipboard](QClipboard::Mode mode) {
    const QMimeData* data = clipboard->mimeData(mode);
    if (!Owns(*clipboard, mode) || data == nullptr || !data->hasText() ||
        data->hasFormat(kPasswordManagerHint)) {
      return;
    }
    clipboard->setMimeData(new SecretCopy(*data), mode);  // changed() again, now with the hint
  });
}

bool OwnsSecretCopy() {
  return OwnedSecretCopy() != nullptr;
}

void ServeSecretCopy(int status) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard->ownsSelection()) clipboard->clear(QClipboard::Selection);
  served = OwnedSecretCopy();
  if (served == nullptr) return;
  servedStatus = status;
  std::atexit(EndServingWithTheDisplay);
  const QtMessageHandler previous = qInstallMessageHandler(Silent);
  QEventLoop serving;
  QObject::connect(clipboard, &QClipboard::changed, &serving, [&](QClipboard::Mode mode) {
    if (mode == QClipboard::Clipboard && !clipboard->ownsClipboard()) serving.quit();
  });
  serving.exec();
  qInstallMessageHandler(previous);
  // Some toolkit plugins keep a cancelled copy until they end: it is overwritten now.
  if (served != nullptr) served->Wipe();
  served = nullptr;
}

}  // namespace tolvane::runtime
