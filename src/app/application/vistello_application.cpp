#include "app/application/vistello_application.h"

#include "app/application/guarded.h"
#include "app/application/ui_texts.h"

#include <QtGlobal>

#include <exception>

namespace vistello::app {

VistelloApplication::VistelloApplication(int& argc, char** argv, UserDialogs& dialogs)
    : QApplication(argc, argv), dialogs_(dialogs) {}

bool VistelloApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        // Only a handler that was not guarded gets here: a fault of the program, told as one.
        const QString text = errorText(error);
        qCritical("vistello: an error reached the event loop unhandled: %s", qUtf8Printable(text));
        dialogs_.showMessage(activeWindow(), QStringLiteral("错误"), internalErrorText(text),
                             MessageIcon::Error);
    }
    return false;
}

QFont interfaceFont(int pixelSize) {
    QFont font;
    font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("宋体"), QStringLiteral("Noto Serif CJK SC"),
                      QStringLiteral("Noto Sans CJK SC")});
    font.setPixelSize(pixelSize);
    return font;
}

} // namespace vistello::app
