#pragma once
// TForm1login: the borderless start-up picture with the version label. It waits one to two
// seconds when created (until the clock's whole second has advanced twice), and a click on it
// closes it.

#include <QWidget>

namespace vistello::app {

class TForm1login final : public QWidget {
    Q_OBJECT
public:
    // waitOnCreate is false in tests, which need no pause.
    explicit TForm1login(bool waitOnCreate = true);

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

} // namespace vistello::app
