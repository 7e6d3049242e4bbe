// SwitchBox: a check box that mirrors a switch held by the datalogger. Pressing it asks
// for the change (switchRequested) instead of toggling: the handler writes the new state
// and shows what the datalogger answers.
#pragma once

#include <QCheckBox>

class SwitchBox : public QCheckBox {
    Q_OBJECT
public:
    explicit SwitchBox(const QString& text, QWidget* parent = nullptr);

    // Shows the datalogger's answer: 0 (and "%%" or any text that is not a number)
    // clears the box, any other number ticks it.
    void showField(const QString& field);

signals:
    // A mouse button or the space bar was pressed on the box, before any change.
    void switchRequested();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
};
