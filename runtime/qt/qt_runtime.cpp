#include "runtime/qt/qt_runtime.h"

#include <QAbstractEventDispatcher>
#include <QLibraryInfo>
#include <QLocale>
#include <QStyleFactory>
#include <QTranslator>
#include <stdexcept>

#include "runtime/qt/qt_accessible.h"
#include "runtime/qt/qt_clipboard.h"

namespace tolvane::runtime {

QtRuntime::QtRuntime(std::string instanceName, RandomSource* random, ProgramInfo program)
    : instance_(std::move(instanceName)), random_(random) {
  if (QApplication::instance() == nullptr) {
    ownApp_ = std::make_unique<QApplication>(argc_, argv_);
  }
  if (!program.name.empty()) {
    QCoreApplication::setApplicationName(
        QString::fromUtf8(program.name.data(), program.name.size()));
    QCoreApplication::setApplicationVersion(
        QString::fromUtf8(program.version.data(), program.version.size()));
  }
  // The whole interface is Russian, so the toolkit's own texts (the text boxes' context menu)
  // are too, whatever the user's locale.
  translator_ = std::make_unique<QTranslator>();
  if (translator_->load(QLocale(QLocale::Russian), "qtbase", "_",
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(translator_.get());
  }
  InstallNamedListAccessibility();
  clipboardHint_ = std::make_unique<QObject>();
  MarkCopiesAsSecret(*clipboardHint_);
  // The same look on every desktop.
  QApplication::setStyle(QStyleFactory::create("Fusion"));
  if (random_ == nullptr) {
    systemRandom_ = std::make_unique<SystemRandomSource>();
    random_ = systemRandom_.get();
    // Whatever randomness a handler left unused is wiped before the loop waits for input.
    wipeOnIdle_ = std::make_unique<QObject>();
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock,
                     wipeOnIdle_.get(), [source = systemRandom_.get()] { source->Wipe(); });
  }
}

QtRuntime::~QtRuntime() = default;

bool QtRuntime::PrevInstance() {
  return instance_.AnotherIsRunning();
}

RandomSource& QtRuntime::Random() {
  return *random_;
}

void QtRuntime::End() {
  if (ended_) return;
  ended_ = true;  // from here on no event reaches the logic
  for (auto& form : forms_) {
    form->StopTimers();
    form->Window().hide();
  }
  QCoreApplication::exit(0);
}

Form& QtRuntime::CreateForm(const FormSpec& layout, FormEvents& events) {
  forms_.push_back(std::make_unique<QtForm>(layout, events, ended_));
  return *forms_.back();
}

QtForm& QtRuntime::LastForm() {
  if (forms_.empty()) throw std::logic_error("no form yet");
  return *forms_.back();
}

QtForm& QtRuntime::Own(Form& form) {
  for (auto& owned : forms_) {
    if (owned.get() == &form) return *owned;
  }
  throw std::logic_error("the form was not created by this runtime");
}

void QtRuntime::Start(Form& form) {
  QtForm& qtForm = Own(form);
  qtForm.port().Load();
  if (!ended_) qtForm.Show();
}

int QtRuntime::Run(Form& form) {
  Start(form);
  if (ended_) return 0;
  return QApplication::exec();
}

}  // namespace tolvane::runtime
