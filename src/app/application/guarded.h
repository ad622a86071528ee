#pragma once
// The windows' one catch boundary. Qt does not carry exceptions through its event dispatch, so
// no exception may leave a slot, an event filter or a drop handler. Each window connects its
// handlers through guardedSlot (or runs a handler's work through guarded): an exception the
// work lets out ends the handler there and is shown in the same error box everywhere, titled
// 错误 and worded by errorText. The work itself keeps throwing: the store's rollbacks and
// UndoCommands::changeStore rely on an exception ending the change.

#include "app/application/user_dialogs.h"

#include <QString>

#include <exception>
#include <utility>

class QWidget;

namespace vistello::app {

// The words for an error that ended a handler: a store::StoreError as ui_texts words it, any
// other exception its what() read as UTF-8 (the program's own messages are Chinese UTF-8).
QString errorText(const std::exception& error);

// The error box: title 错误, errorText, the error icon, over `parent`.
void showError(QWidget* parent, UserDialogs& dialogs, const std::exception& error);

// Runs `work`; an exception it throws is shown over `parent` and stops there. True when the
// work ran to its end.
template <class Work> bool guarded(QWidget* parent, UserDialogs& dialogs, Work&& work) {
    try {
        std::forward<Work>(work)();
        return true;
    } catch (const std::exception& error) {
        showError(parent, dialogs, error);
    }
    return false;
}

// A functor for QObject::connect that calls `handler` on `receiver` through guarded. The
// receiver is the connection's context object, so the functor never outlives it; `parent`
// must live as long (it is the receiver's window).
template <class Receiver, class... Args>
auto guardedSlot(QWidget* parent, UserDialogs& dialogs, Receiver* receiver,
                 void (Receiver::*handler)(Args...)) {
    return [parent, &dialogs, receiver, handler](Args... args) {
        guarded(parent, dialogs, [&] { (receiver->*handler)(std::forward<Args>(args)...); });
    };
}

} // namespace vistello::app
