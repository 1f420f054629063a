#include "runtime/qt/qt_runtime.h"

#include <QAbstractEventDispatcher>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QStyleFactory>
#include <algorithm>

#include "runtime/qt/qt_accessible.h"
#include "runtime/qt/qt_clipboard.h"
#include "runtime/qt/qt_startup_notice.h"

namespace tolvane::runtime {

QtRuntime::QtRuntime(Services services, ProgramInfo program)
    : ToolkitRuntime(services), startupId_(qgetenv("DESKTOP_STARTUP_ID")) {
  // The toolkit takes the start-up ID from the environment as it starts; it is kept here for
  // a start that ends without a window.
  if (QApplication::instance() == nullptr) {
    ownApp_ = std::make_unique<QApplication>(argc_, argv_);
  }
  if (!program.name.empty()) {
    QCoreApplication::setApplicationName(
        QString::fromUtf8(program.name.data(), program.name.size()));
    QCoreApplication::setApplicationVersion(
        QString::fromUtf8(program.version.data(), program.version.size()));
  }
  if (!program.desktopId.empty()) {
    // The Wayland app_id; docks match it, and the X11 class, with the launcher.
    QGuiApplication::setDesktopFileName(
        QString::fromUtf8(program.desktopId.data(), program.desktopId.size()));
  }
  // The whole interface is Russian, so the toolkit's own texts (the text boxes' context menu)
  // are too, whatever the user's locale.
  translator_ = std::make_unique<QTranslator>();
  if (translator_->load(QLocale(QLocale::Russian), "qtbase", "_",
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(translator_.get());
  }
  InstallAccessibility();
  clipboardHint_ = std::make_unique<QObject>();
  MarkCopiesAsSecret(*clipboardHint_);
  // The same look on every desktop.
  QApplication::setStyle(QStyleFactory::create("Fusion"));
  // Whatever randomness a handler left unused is discarded before the loop waits for input.
  discardOnIdle_ = std::make_unique<QObject>();
  QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock,
                   discardOnIdle_.get(), [this] { Random().Discard(); });
}

QtRuntime::~QtRuntime() {
  DestroyForms();  // widgets before the application that owns their resources
}

std::unique_ptr<ToolkitForm> QtRuntime::MakeForm(const FormLayout& layout, FormEvents& events,
                                                 const bool& ended, EventPort::FailHandler fail) {
  return std::make_unique<QtForm>(layout, events, ended, std::move(fail));
}

void QtRuntime::Loop() {
  looping_ = true;
  QApplication::exec();
  looping_ = false;
}

void QtRuntime::Quit() {
  const bool shown = std::any_of(Forms().begin(), Forms().end(), [](const auto& form) {
    return static_cast<const QtForm&>(*form).EverShown();
  });
  if (!shown) CompleteStartupNotice(startupId_);  // a window that maps says it by itself
  // Only a running loop is told to end: told before it runs, Qt would end every event loop
  // started later at once, a message box's included.
  if (looping_) QCoreApplication::exit(ExitStatus());
}

void QtRuntime::ShowFailure(const std::string& message) {
  QMessageBox box(QMessageBox::Critical, QStringLiteral("Tolvane"), QString::fromStdString(message),
                  QMessageBox::Ok);
  box.exec();
}

}  // namespace tolvane::runtime
