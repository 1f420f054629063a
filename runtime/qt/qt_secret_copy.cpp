// A password copied from one of the window's boxes, from the copy to the end of the process.
//
// Made: whenever the program puts text on the clipboard or the selection, the toolkit's data
// is replaced by a SecretCopy: every format the toolkit offered plus the hint "secret", in
// bytes held here alone. Each reader gets a copy of its own, so the held bytes are never
// shared and can be overwritten.
//
// Let go: as soon as the clipboard no longer offers a copy (another program's took its place),
// its bytes are overwritten. The toolkit deletes it later (X11 at once, Wayland only at the
// end of the process), and its deletion overwrites them too.
//
// Served: on Linux nothing keeps a program's copy once the program ends. When the window has
// closed while the clipboard holds a copy, the runtime calls ServeSecretCopy: the ends below
// are the copy's own from then on, the selection (middle-click paste) is given up, the window
// and everything of it are destroyed, the memory it used is given back, and the process waits
// unseen, using no processor time, until one of these ends it:
// - another program takes the clipboard, or the compositor cancels the copy;
// - SIGTERM, SIGINT or SIGHUP (a logout, a kill);
// - the display's end, which the toolkit announces before it ends the process itself.
// Each way the copy's bytes are overwritten and the process ends with the status the window
// logic gave. No-one is left to read the toolkit's messages meanwhile: they are dropped.
#include "runtime/qt/qt_secret_copy.h"

#include <fcntl.h>
#include <malloc.h>  // malloc_trim
#include <signal.h>
#include <string.h>  // explicit_bzero
#include <sys/mman.h>
#include <unistd.h>

#include <QClipboard>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMimeData>
#include <QSocketNotifier>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "runtime/qt/qt_display_end.h"

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

void WipeCopiesLetGo(const QClipboard& clipboard) {
  for (SecretCopy* copy : liveCopies) {
    if (!Owns(clipboard, copy->Mode())) copy->Wipe();
  }
}

void WipeAllCopies() {
  for (SecretCopy* copy : liveCopies) copy->Wipe();
}

// The window's memory, given back before a wait that may last the whole session: the freed
// heap, and the pages the process read from files (the libraries' code, fonts, the font and
// locale caches), which the kernel reads in again should serving need them. Only mappings
// that hold nothing but a file's own pages are let go: one written to (relocated data, say)
// keeps its pages.
void GiveBackTheWindowsMemory() {
  malloc_trim(0);
  struct Mapping {
    std::uintptr_t start = 0, end = 0;
    bool filesPagesOnly = false;
  };
  std::vector<Mapping> mappings;
  std::ifstream smaps("/proc/self/smaps");
  std::string line;
  while (std::getline(smaps, line)) {
    unsigned long start = 0, end = 0;
    char permissions[5] = {};
    int pathAt = 0;
    if (std::sscanf(line.c_str(), "%lx-%lx %4s %*s %*s %*s %n", &start, &end, permissions,
                    &pathAt) == 3) {
      const bool readOnlyFile = permissions[1] != 'w' && pathAt > 0 &&
                                static_cast<std::size_t>(pathAt) < line.size() &&
                                line[pathAt] == '/';
      mappings.push_back({start, end, readOnlyFile});
    } else if (line.starts_with("Anonymous:") && !mappings.empty()) {
      unsigned long kilobytes = 1;
      std::sscanf(line.c_str(), "Anonymous: %lu", &kilobytes);
      if (kilobytes != 0) mappings.back().filesPagesOnly = false;
    }
  }
  for (const Mapping& m : mappings) {
    if (m.filesPagesOnly) madvise(reinterpret_cast<void*>(m.start), m.end - m.start, MADV_DONTNEED);
  }
}

// Serving's ends other than the clipboard's: signals, and the display.
int servingStatus = 0;
int signalPipe[2] = {-1, -1};
constexpr std::array kEndingSignals{SIGTERM, SIGINT, SIGHUP};

void OnEndingSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = write(signalPipe[1], &byte, 1);
}

// Everything the toolkit says while serving is dropped, but that the display has gone: then
// serving ends here, before the toolkit ends the process its own way.
void WhileServing(QtMsgType, const QMessageLogContext&, const QString& text) {
  if (!TellsOfTheDisplaysEnd(text)) return;
  WipeAllCopies();
  std::_Exit(servingStatus);
}

// While it lives: the ending signals quit the loop, and the toolkit's messages go to
// WhileServing. Everything is as before once it goes.
class ServingEnds {
 public:
  ServingEnds(QEventLoop& serving, int status) {
    servingStatus = status;
    previousHandler_ = qInstallMessageHandler(WhileServing);
    if (pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;  // serving ends another way
    notifier_ = std::make_unique<QSocketNotifier>(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, &serving, &QEventLoop::quit);
    struct sigaction action {};
    action.sa_handler = OnEndingSignal;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < kEndingSignals.size(); ++i)
      sigaction(kEndingSignals[i], &action, &previousActions_[i]);
  }
  ~ServingEnds() {
    if (notifier_) {
      for (std::size_t i = 0; i < kEndingSignals.size(); ++i)
        sigaction(kEndingSignals[i], &previousActions_[i], nullptr);
      notifier_.reset();
      close(signalPipe[0]);
      close(signalPipe[1]);
      signalPipe[0] = signalPipe[1] = -1;
    }
    qInstallMessageHandler(previousHandler_);
  }
  ServingEnds(const ServingEnds&) = delete;
  ServingEnds& operator=(const ServingEnds&) = delete;

 private:
  QtMessageHandler previousHandler_;
  std::unique_ptr<QSocketNotifier> notifier_;
  std::array<struct sigaction, kEndingSignals.size()> previousActions_{};
};

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

bool HoldsSecretCopy() {
  const QClipboard* clipboard = QGuiApplication::clipboard();
  return clipboard->ownsClipboard() &&
         dynamic_cast<const SecretCopy*>(clipboard->mimeData()) != nullptr;
}

void ServeSecretCopy(int status, const std::function<void()>& forgetWindow) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!HoldsSecretCopy()) return;
  QEventLoop serving;
  QObject::connect(clipboard, &QClipboard::changed, &serving, [&](QClipboard::Mode mode) {
    if (mode == QClipboard::Clipboard && !clipboard->ownsClipboard()) serving.quit();
  });
  {
    const ServingEnds ends(serving, status);  // from here on, however serving ends
    if (clipboard->ownsSelection()) clipboard->clear(QClipboard::Selection);
    forgetWindow();
    GiveBackTheWindowsMemory();
    serving.exec();
  }
  WipeAllCopies();
}

}  // namespace tolvane::runtime
