#pragma once
// View of the start-up window: a picture, the three bus scan labels and the window's timer.
#include "startup/frmSplash.h"

#include <QLabel>
#include <QTimer>
#include <QWidget>

class SplashView : public QWidget {
    Q_OBJECT
  public:
    explicit SplashView(frmSplash& form, QWidget* parent = nullptr);

    // Shows the form's state again: labels, mouse pointer and timer.
    void sync();
    // Loads the form with the size of the screen the window is on.
    void load();

  protected:
    void keyPressEvent(QKeyEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

  private:
    frmSplash& form_;
    QLabel* label1_;
    QLabel* label2_;
    QLabel* label3_;
    QTimer timer_;
};
