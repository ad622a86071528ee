// The window program: splash, main window, message loop.

#include "app/application/qt_translations.h"
#include "app/application/skin.h"
#include "app/application/splash_window.h"
#include "app/application/user_dialogs.h"
#include "app/application/vistello_application.h"
#include "app/main_window/main_window.h"
#include "store/album_store.h"
#include "store/root_path.h"

int main(int argc, char** argv) {
    using namespace vistello;
    app::QtUserDialogs dialogs;
    app::VistelloApplication application(argc, argv, dialogs);
    application.setApplicationName(QStringLiteral("vistello"));
    application.setFont(app::interfaceFont());
    app::applySkin(application);
    application.setWindowIcon(app::programIcon());

    app::installQtChineseTranslations(application);

    // The splash stays on screen through the wait and the main window's creation.
    auto splash = std::make_unique<app::TForm1login>();
    splash->showAndWait();

    store::AlbumStore albums(store::defaultRootPath());
    app::TFrmMain mainWindow(albums, dialogs);
    splash.reset();
    mainWindow.show();
    return application.exec();
}
