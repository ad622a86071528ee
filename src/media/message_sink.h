#pragma once
// Where the picture readers send the messages meant for the user. The window program shows
// each one in a plain message box with an OK button, the command-line tool writes it to
// stderr, and tests collect them. A reader never decides how a message is shown.

#include <QString>
#include <QStringList>

namespace vistello::media {

class MessageSink {
  public:
    virtual ~MessageSink() = default;
    // Shows one message and returns when the user has seen it.
    virtual void showMessage(const QString& text) = 0;
};

// Writes each message as one UTF-8 line on stderr.
class StderrMessageSink final : public MessageSink {
  public:
    void showMessage(const QString& text) override;
};

// Keeps the messages in order; for tests, fuzzing and callers that show them later.
class MessageList final : public MessageSink {
  public:
    void showMessage(const QString& text) override { messages.append(text); }
    QStringList messages;
};

} // namespace vistello::media
