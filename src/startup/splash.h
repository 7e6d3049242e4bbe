// Ini: the splash window shown for 1.8 s before the start window.
#pragma once

#include <QWidget>

class Splash : public QWidget {
    Q_OBJECT
public:
    // The splash takes the start window's size and is centred on the screen.
    explicit Splash(QWidget* startWindow);

    static constexpr int shownMs = 1800;

    // Shows the splash; after shownMs the start window is shown and the splash hidden.
    void start();

signals:
    void finished();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void showStartWindow();

    QWidget* startWindow_;
};
