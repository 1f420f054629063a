#include "runtime/qt/qt_runtime.h"

#include <QAbstractEventDispatcher>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QStyleFactory>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "runtime/qt/qt_accessible.h"
#include "runtime/qt/qt_contrast_preference.h"
#include "runtime/qt/qt_display_end.h"
#include "runtime/qt/qt_secret_copy.h"
#include "runtime/system/display.h"

namespace tolvane::runtime {
namespace {

// The toolkit's messages while it starts, held back: when it cannot start it reports a fatal
// error in several lines and aborts. The user gets status 1 instead, with one line when no
// display answers; when one does, the line that the toolkit could not use it, followed by the
// toolkit's own account. On a good start the messages go out as they would have.
struct HeldMessage {
  QtMsgType type;
  const char* category;
  QString text;
};
std::vector<HeldMessage> heldMessages;

const ProgramInfo* starting = nullptr;  // the program whose toolkit is starting

void SayLine(std::string_view line) {
  std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(starting->command.size()),
               starting->command.data(), static_cast<int>(line.size()), line.data());
}

// A fatal error, or a broken display connection after which the toolkit would end the
// process without a word (Wayland's plugin does so), ends the start with the held account.
void HoldWhileStarting(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type != QtFatalMsg && !TellsOfTheDisplaysEnd(text)) {
    heldMessages.push_back({type, context.category, text});
    return;
  }
  if (!system::AnyDisplayAnswers()) {
    SayLine(starting->noDisplay);
  } else {
    SayLine(starting->windowSystemFailed);
    for (const HeldMessage& m : heldMessages) std::fprintf(stderr, "%s\n", qPrintable(m.text));
    std::fprintf(stderr, "%s\n", qPrintable(text));
  }
  std::_Exit(1);
}

std::unique_ptr<QApplication> StartToolkit(int& argc, char** argv, const ProgramInfo& program) {
  starting = &program;
  const QtMessageHandler previous = qInstallMessageHandler(HoldWhileStarting);
  auto app = std::make_unique<QApplication>(argc, argv);
  qInstallMessageHandler(previous);
  for (const HeldMessage& m : std::exchange(heldMessages, {})) {
    qt_message_output(m.type, QMessageLogContext(nullptr, 0, nullptr, m.category), m.text);
  }
  return app;
}

}  // namespace

QtRuntime::QtRuntime(Services services, ProgramInfo program)
    : ToolkitRuntime(services, program),
      command_(program.command.empty() ? "program" : program.command) {
  if (QApplication::instance() == nullptr) ownApp_ = StartToolkit(argc_, argv_, Program());
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
  // The same look on every desktop; where it asks for high contrast, its colours.
  QApplication::setStyle(QStyleFactory::create("Fusion"));
  contrast_ = std::make_unique<ContrastPreference>([this](bool high) {
    for (const auto& form : Forms())
      if (auto* qtForm = dynamic_cast<QtForm*>(form.get())) qtForm->FollowContrast(high);
  });
  // The process ends when the logic or the last unloaded form ends it, on every toolkit.
  QGuiApplication::setQuitOnLastWindowClosed(false);
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
  return std::make_unique<QtForm>(layout, events, ended, std::move(fail), contrast_->High());
}

void QtRuntime::Loop() {
  looping_ = true;
  QApplication::exec();
  looping_ = false;
  // The window has gone. A copy made in it outlives it, as it does where the system keeps
  // copies (Windows); nothing else of the window does, and a new start is a first start.
  if (ExitStatus() != 0 || !HoldsSecretCopy()) return;
  Instance().GiveUp();
  ServeSecretCopy(ExitStatus(), [this] { DestroyForms(); });
}

void QtRuntime::Quit() {
  // Only a running loop is told to end: told before it runs, Qt would end every event loop
  // started later at once, a message box's included.
  if (looping_) QCoreApplication::exit(ExitStatus());
}

void QtRuntime::ShowFailure(const std::string& message) {
  QMessageBox box(QMessageBox::Critical,
                  QString::fromUtf8(Program().name.data(), Program().name.size()),
                  QString::fromStdString(message), QMessageBox::Ok);
  box.exec();
}

}  // namespace tolvane::runtime
