#pragma once

#include <QDialog>

class QFrame;
class QKeyEvent;
class QLabel;
class QPaintEvent;
class QPlainTextEdit;
class QPushButton;
class QShowEvent;

namespace marlovin {

// The About window: product name, version, licence and credits beside the banner picture. It is
// shown modally from the main window and built afresh for every opening, so nothing (scroll
// position, selection, focus) survives a closing. Enter and Esc both press the OK button; the
// close box closes it without the button. It reads and changes no game state.
class frmInfo : public QDialog {
    Q_OBJECT
  public:
    explicit frmInfo(QWidget* owner = nullptr);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void Form_Load();
    void Command1_Click();

    // Declared bottom of the stacking order first, the order they are created in.
    QWidget* Image1;
    QFrame* Line1;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label5;
    QLabel* Label6;
    QLabel* Label7;
    QLabel* Label8;
    QLabel* Label9;
    QLabel* Label3;
    QLabel* Label4;
    QPlainTextEdit* Text1;
    QPushButton* Command1;
};

}  // namespace marlovin
