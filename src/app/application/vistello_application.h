#pragma once
// The application object. Every window catches the errors of its own handlers (guarded.h), so
// no exception should reach the event dispatch. notify stays as the last net for a handler
// that was left unguarded: it logs the error and shows it as a fault of the program, and the
// program goes on with the state reached (every list file is rewritten whole or not at all,
// so what is on disk is consistent), rather than ending the user's session.

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
