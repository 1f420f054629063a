#include "runtime/qt/qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

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

}  // namespace

void MarkCopiesAsSecret(QObject& context) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  QObject::connect(clipboard, &QClipboard::changed, &context, [clipboard](QClipboard::Mode mode) {
    const QMimeData* data = clipboard->mimeData(mode);
    if (!Owns(*clipboard, mode) || data == nullptr || !data->hasText() ||
        data->hasFormat(kPasswordManagerHint)) {
      return;
    }
    auto* marked = new QMimeData;
    for (const QString& format : data->formats()) marked->setData(format, data->data(format));
    marked->setData(kPasswordManagerHint, "secret");
    clipboard->setMimeData(marked, mode);  // raises changed() again, now with the hint
  });
}

}  // namespace tolvane::runtime
