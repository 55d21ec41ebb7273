// mensajes: the program's own message box. Every notice and every yes-or-no
// question goes through it.
#pragma once

#include <QDialog>
#include <QImage>
#include <QRect>
#include <QString>

namespace tarvelis {

struct GameState;

enum ButtonSet { kNotice = 1, kQuestion = 2 };

class Mensajes : public QDialog {
 public:
  Mensajes(GameState& state, const QString& title, const QString& text, int picture, int buttons,
           QWidget* parent = nullptr);

  // The on-screen rectangles of the buttons, for the tests.
  QRect SalirRect() const { return salir_; }
  QRect SiRect() const { return si_; }
  QRect NoRect() const { return no_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Layout();
  void Answer(bool yes);

  GameState& state_;
  QString title_;
  QString text_;
  int picture_;
  int buttons_;
  QRect pictureRect_, titleRect_, textRect_, salir_, si_, no_;
  double scale_ = 1.0;  // window pixels per dialog pixel
  int height_ = 0;      // in dialog pixels
};

// The game dialogs' button: a green rounded picture with its label centred in
// white bold, grey when it cannot be pressed now; the message dialog, the score
// report, the history and the saved games share it.
void DrawDialogButton(QImage& image, const QRect& rect, const QString& label, bool usable = true);

// Shows a message modally over `parent` (or the active window) and returns when
// it closes. For a question, returns the answer (closing it otherwise is a
// no); a notice returns true. A message still open is closed first.
bool ShowMessage(GameState& state, const QString& title, const QString& text, int picture,
                 int buttons, QWidget* parent = nullptr);

}  // namespace tarvelis
