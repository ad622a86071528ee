#pragma once
// DialogMessageSink: shows the picture readers' messages as plain message boxes through the
// dialog interface, so window tests collect them like every other message.

#include "app/application/user_dialogs.h"
#include "media/message_sink.h"

namespace vistello::app {

class DialogMessageSink final : public media::MessageSink {
  public:
    DialogMessageSink(UserDialogs& dialogs, QWidget* parent) : dialogs_(dialogs), parent_(parent) {}
    void showMessage(const QString& text) override {
        dialogs_.showMessage(parent_, QStringLiteral("提示"), text, MessageIcon::Information);
    }

  private:
    UserDialogs& dialogs_;
    QWidget* parent_;
};

} // namespace vistello::app
