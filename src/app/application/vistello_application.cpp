#include "app/application/vistello_application.h"

#include <exception>

namespace vistello::app {

VistelloApplication::VistelloApplication(int& argc, char** argv, UserDialogs& dialogs)
    : QApplication(argc, argv), dialogs_(dialogs) {}

bool VistelloApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        dialogs_.showMessage(activeWindow(), QStringLiteral("错误"), QString::fromUtf8(error.what()),
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
