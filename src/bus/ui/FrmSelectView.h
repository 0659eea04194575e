#pragma once
#include "bus/FrmSelect.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

// The view of the connection dialog "Seleccionar" and its ID configuration panel.
class FrmSelectView : public QDialog {
    Q_OBJECT
  public:
    explicit FrmSelectView(FrmSelect& frm, QWidget* parent = nullptr);
    // Shows the dialog's state again.
    void sync();

  protected:
    void closeEvent(QCloseEvent* e) override;
    void reject() override;

  private:
    void afterEvent();
    QGroupBox* frame(const Frame& f, QWidget* parent);
    QComboBox* combo(ComboBox& c, QWidget* parent, std::function<void()> after);

    FrmSelect& frm_;
    QGroupBox *frame10_, *frame1_, *frame9_, *frame2_, *frame3_, *frame11_, *frame6_, *frame7_, *frame13_,
        *frame8_;
    std::array<QGroupBox*, 2> frame12_{}, frame4_{};
    QPushButton *command3_, *command17_;
    std::array<QRadioButton*, 4> option1_{};
    std::array<QRadioButton*, 2> option3_{};
    std::array<QCheckBox*, 2> check1_{};
    QComboBox *combo1_, *combo2_, *combo4_, *combo5_;
    std::array<QComboBox*, 20> combo3_{};
    std::array<QLabel*, 20> label1_{};
    std::array<QLabel*, 2> label2_{};
    QLabel* label3_;
    std::array<QPushButton*, 2> command1_{}, command2_{};
    std::vector<std::pair<QComboBox*, ComboBox*>> combos_;
};
