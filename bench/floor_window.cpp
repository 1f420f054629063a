// The floor for start-up and memory: a bare Qt 6 window with the same 29 controls as
// Tolvane's (a timer, two frames, six check boxes, two lists of 50 entries, ten line edits,
// eight labels) and nothing else: no style, colors, fonts, icon or logic.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle("Floor");
  window.setFixedSize(451, 403);
  QTimer timer(&window);
  auto* options = new QGroupBox("Options", &window);
  options->setGeometry(6, 6, 439, 163);
  auto* results = new QGroupBox("Results", &window);
  results->setGeometry(6, 174, 439, 205);
  for (int i = 0; i < 6; ++i) {
    (new QCheckBox(QString("Box %1").arg(i), &window))->setGeometry(282, 18 + 18 * i, 157, 15);
    (new QLabel(QString("Label %1").arg(i), options))->setGeometry(6, 18 + 18 * i, 265, 19);
  }
  for (int i = 0; i < 2; ++i) {
    auto* list = new QComboBox(options);
    for (int n = 50; n >= 1; --n) list->addItem(QString::number(n));
    list->setGeometry(276 + 66 * i, 130, 61, 22);
  }
  for (int i = 0; i < 10; ++i) {
    (new QLineEdit(QString("line %1").arg(i), results))->setGeometry(6, 18 + 18 * i, 427, 17);
  }
  (new QLabel("Size", options))->setGeometry(6, 132, 265, 19);
  (new QLabel("Info", &window))->setGeometry(6, 384, 439, 19);
  window.show();
  return QApplication::exec();
}
