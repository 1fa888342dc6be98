// The yardstick of the program's start: a bare Qt main window with a
// toolbar and the eight tabs of the main window, shown, grabbed into a
// picture after the same 300 ms wait as the program's --screenshot, and
// closed. Timed as a whole process beside the program, e.g.
//   QT_QPA_PLATFORM=offscreen /usr/bin/time -f %e build/bench/bench_bare_window --screenshot bare.png
//   QT_QPA_PLATFORM=offscreen /usr/bin/time -f %e build/app/aerolith --screenshot window.png
// (the program's store must hold a locale choice, so that no first-start
// question waits). What the program adds to the yardstick is its own start:
// the catalogue, the first selection and the Selection tab's contents.
// Goal: no slower than before the selection form (about 100 ms over the
// yardstick in December 2026).

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QStringList arguments = QApplication::arguments();
  QMainWindow window;
  QToolBar* toolbar = window.addToolBar(QStringLiteral("Commands"));
  for (const char* command : {"New", "Open", "Save", "Report", "Preferences", "About", "Exit"})
    toolbar->addAction(QString::fromLatin1(command));
  auto* pages = new QTabWidget(&window);
  for (const char* page : {"Selection", "Psychrometrics", "Results", "Database", "Fan Characteristics",
                           "Exchange Efficiencies", "Efficiency Corrections", "Configuration"})
    pages->addTab(new QLabel(QString::fromLatin1(page)), QString::fromLatin1(page));
  window.setCentralWidget(pages);
  window.resize(1264, 701);
  window.show();
  const qsizetype shot = arguments.indexOf(QStringLiteral("--screenshot"));
  if (shot < 0 || shot + 1 >= arguments.size()) return QApplication::exec();
  const QString file = arguments.at(shot + 1);
  QTimer::singleShot(300, &window, [&window, file] {
    window.grab().save(file);
    QApplication::quit();
  });
  return QApplication::exec();
}
