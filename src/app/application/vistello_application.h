#pragma once
// The application object. Its event dispatch is the program's top-level error handler: an
// error that ends an event handler (such as a store input/output error) is shown in an error
// box, and the program goes on with the state reached.

#include "app/application/user_dialogs.h"

#include <QApplication>
#include <QFont>

namespace vistello::app {

class VistelloApplication final : public QApplication {
  public:
    VistelloApplication(int& argc, char** argv, UserDialogs& dialogs);
    bool notify(QObject* receiver, QEvent* event) override;

  private:
    UserDialogs& dialogs_;
};

// The interface font: 宋体 12 pixels, with the installed Song-style CJK face standing in.
QFont interfaceFont(int pixelSize = 12);

} // namespace vistello::app
