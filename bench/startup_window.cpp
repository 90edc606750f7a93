// SPDX-License-Identifier: GPL-3.0-or-later
// Time to a first painted window, built twice: as the desktop program's own
// start-up (KESTRO_STARTUP_MAIN) and as a bare Qt main window with a menu and
// six buttons, the floor it is measured against. Each run shows its window,
// lets it paint, and ends; startup.py times the processes from outside.
#include <QApplication>
#include <QGridLayout>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>

#ifdef KESTRO_STARTUP_MAIN
#include "app/frmMain.h"
#include "platform/QtServices.h"

namespace {
// The start-up notice waits for a click; here it is answered at once.
class AnswerOk final : public kestro::platform::MessageBoxService {
public:
    using MessageBoxService::Show;
    kestro::base::MessageResult Show(QWidget*, const QString&, const QString&, kestro::base::MessageIcon,
                                     kestro::base::MessageButtons, kestro::base::MessageResult) override {
        return kestro::base::MessageResult::Ok;
    }
};
}  // namespace
#endif

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
#ifdef KESTRO_STARTUP_MAIN
    QApplication::setApplicationName(QStringLiteral("Kestro Utils"));
    AnswerOk messages;
    kestro::platform::QtFileDialogs files;
    kestro::platform::QtSettingsStore settings;
    kestro::platform::QtProcessLauncher processes;
    kestro::platform::QtClock clock;
    kestro::base::MemoryRegistryBackend registry;
    kestro::platform::Services services{messages, files, settings, processes, clock, registry};
    kestro::base::MemoryRegistryBackend locations;
    kestro::app::frmMain window(services, kestro::app::DesktopEnvironment(locations));
    if (!window.Form_Load()) return 1;
#else
    QMainWindow window;
    QMenu* file = window.menuBar()->addMenu(QStringLiteral("&File"));
    for (const char* item : {"&Open...", "&Options...", "&Quit"}) file->addAction(QString::fromLatin1(item));
    window.menuBar()->addMenu(QStringLiteral("&Help"))->addAction(QStringLiteral("&About..."));
    auto* page = new QWidget(&window);
    auto* grid = new QGridLayout(page);
    for (int i = 0; i < 6; ++i) grid->addWidget(new QPushButton(QStringLiteral("Button %1").arg(i + 1)), i % 3, i / 3);
    window.setCentralWidget(page);
#endif
    window.show();
    QApplication::processEvents();
    window.grab();  // the window's pixels exist
    return 0;
}
