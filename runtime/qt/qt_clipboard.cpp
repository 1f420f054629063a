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
std::vector<SecretCopy*> liveCopies;  // made, and not yet deleted by the toolkit
int servingStatus = -1;  // while the process serves a copy unseen: the status it ends with

// Every format the toolkit offered for a copy, plus the hint, in bytes held here alone: each
// reader gets a copy of its own, so the held bytes are never shared and can be overwritten,
// as they are once the copy is no longer offered.
class SecretCopy final : public QMimeData {
 public:
  SecretCopy(const QMimeData& copied, QClipboard::Mode mode) : mode_(mode) {
    for (const QString& format : copied.formats()) Hold(format, copied.data(format));
    Hold(QString::fromLatin1(kPasswordManagerHint), "secret");
    liveCopies.push_back(this);
  }
  ~SecretCopy() override {
    Wipe();
    std::erase(liveCopies, this);
  }
  QClipboard::Mode Mode() const { return mode_; }
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

  const QClipboard::Mode mode_;
  std::vector<std::pair<QString, QByteArray>> held_;
};

// A copy that another program's took the place of is overwritten at once: the toolkit's
// Wayland plugin keeps it until the program ends.
void WipeCopiesLetGo(const QClipboard& clipboard) {
  for (SecretCopy* copy : liveCopies) {
    if (!Owns(clipboard, copy->Mode())) copy->Wipe();
  }
}

// When the display goes, the toolkit warns and ends the process itself with status 1. For a
// process that serves a copy unseen that is its normal end: no word, the copy overwritten,
// and the program's own status.
void EndServingWithTheDisplay() {
  if (servingStatus < 0) return;
  for (SecretCopy* copy : liveCopies) copy->Wipe();
  std::_Exit(servingStatus);
}
void Silent(QtMsgType, const QMessageLogContext&, const QString&) {}

}  // namespace

void MarkCopiesAsSecret(QObject& context) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  QObject::connect(clipboard, &QClipboard::changed, &context, [clipboard](QClipboard::Mode mode) {
    WipeCopiesLetGo(*clipboard);
    const QMimeData* data = clipboard->mimeData(mode);
    if (!Owns(*clipboard, mode) || data == nullptr || !data->hasText() ||
        data->hasFormat(kPasswordManagerHint)) {
      return;
    }
    clipboard->setMimeData(new SecretCopy(*data, mode),
                           mode);  // changed() again, now with the hint
  });
}

bool OwnsSecretCopy() {
  const QClipboard* clipboard = QGuiApplication::clipboard();
  return clipboard->ownsClipboard() &&
         dynamic_cast<const SecretCopy*>(clipboard->mimeData()) != nullptr;
}

void ServeSecretCopy(int status) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard->ownsSelection()) clipboard->clear(QClipboard::Selection);
  if (!OwnsSecretCopy()) return;
  servingStatus = status;
  std::atexit(EndServingWithTheDisplay);
  const QtMessageHandler previous = qInstallMessageHandler(Silent);
  QEventLoop serving;
  QObject::connect(clipboard, &QClipboard::changed, &serving, [&](QClipboard::Mode mode) {
    if (mode == QClipboard::Clipboard && !clipboard->ownsClipboard()) serving.quit();
  });
  serving.exec();
  qInstallMessageHandler(previous);
  servingStatus = -1;
}

}  // namespace tolvane::runtime
