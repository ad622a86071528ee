#pragma once
// TForm1login: the borderless start-up picture with the product's name and the version label.
// It is shown at once and stays on screen through the start-up wait of one to two seconds
// (until the clock's whole second has advanced twice) and the main window's creation; a click
// on it closes it.

#include "app/application/product_name.h"

#include <QWidget>

#include <functional>

namespace vistello::app {

class TForm1login final : public QWidget {
    Q_OBJECT
  public:
    // A clock in whole seconds; the wait reads it between its steps.
    using SecondsClock = std::function<qint64()>;

    TForm1login();

    // Shows and paints the splash, then waits until `clock` has advanced by two whole seconds,
    // keeping the splash painted and its click working meanwhile; a click ends the wait.
    void showAndWait(const SecondsClock& clock = wallClockSeconds);
    static qint64 wallClockSeconds();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
};

} // namespace vistello::app
