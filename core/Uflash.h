#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;
class QTimer;

// The splash window shown while the long-lived windows are created: the
// splash picture with a small progress bar that fills in steps of 5 and starts
// again from empty. It only moves while events are dispatched.
class TfrmFlash : public QWidget {
    Q_OBJECT
public:
    explicit TfrmFlash(QWidget* parent = nullptr);

    // Shows the window and paints it before returning, so it is visible even
    // though no event loop runs yet.
    void showImmediately();

public slots:
    // One timer tick: 100 goes back to 0, anything else grows by 5.
    void Timer1Timer();

private:
    QLabel* picture_;
    QProgressBar* ProgressBar1;
    QTimer* Timer1;
};
